#pragma once

#include "data/ConnectionSettings.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace talveros::test {

// Points the data layer at the private test server the test fixture started.
void useTestServer();

// The private servers' administrative account (db/private_admin.sql). The network's
// server has no such account: the program's own may do only what the program does.
inline constexpr auto kAdminUser = "talveros_admin";
inline constexpr auto kAdminPassword = "private-only";

// While it lives, the connections this thread opens sign in as the administrative
// account: for a test's own set-up and checks, and for what the network's other programs
// would do, never for what the program itself does. The helpers below use it.
class AsAdmin {
public:
    AsAdmin();
    ~AsAdmin();
    AsAdmin(const AsAdmin &) = delete;
    AsAdmin &operator=(const AsAdmin &) = delete;

private:
    data::Account m_before;
};

using Row = std::vector<std::optional<QString>>;

// A stored text, for rows written with insertRows.
inline std::optional<QString> s(const QString &text) { return text; }

namespace tables {
inline const QString kConsultants = QStringLiteral("TALVERO_consultants");
inline const QString kClients = QStringLiteral("TALVERO_opdrachtgevers");
inline const QString kProjects = QStringLiteral("TALVERO_projecten");
inline const QString kProjectData = QStringLiteral("TALVERO_PROJECT_DATA");
inline const QString kMessages = QStringLiteral("TALVERO_berichten");
inline const QString kDeclarations = QStringLiteral("Declaraties");
inline const QString kAdmins = QStringLiteral("TALVERO_ADMINISTRATOR");
} // namespace tables

// The table helpers run as the administrative account.
// Empties a table (generated numbers start at 1 again).
void resetTable(data::Database db, const QString &table);
void insertRows(data::Database db, const QString &table, const QStringList &columns, const std::vector<Row> &rows);
// Every row as the server holds it, in the server's order.
std::vector<Row> tableRows(data::Database db, const QString &table, const QStringList &columns);
// One column of every row, in the server's order, NULL as "<NULL>".
QStringList column(const QString &table, const QString &name, data::Database db = data::Database::Main);
void execute(data::Database db, const QString &sql);
// Replaces the administrators who may sign in, as LOGIN and PASWOORD.
void setAdministrators(const std::vector<Row> &rows);

// How many statements the server is running whose text is LIKE `pattern`; asked on a
// thread of its own, so that it may be asked while a call waits under a wait hook.
int runningOnServer(const QString &pattern);

// Stops and starts the test server, for tests of what happens while it is gone.
void stopServer();
void startServer();

} // namespace talveros::test
