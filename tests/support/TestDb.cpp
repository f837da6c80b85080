#include "support/TestDb.h"

#include "data/Connection.h"
#include "data/KeptConnections.h"
#include "data/RowWriter.h"

#include <QProcess>

#include <future>
#include <QtTest>

namespace talveros::test {

using data::Connection;
using data::Database;

void useTestServer()
{
    const int port = qEnvironmentVariableIntValue("TALVEROS_TEST_DB_PORT");
    data::overrideServerForTests(QStringLiteral("127.0.0.1"), port > 0 ? port : 3306);
}

AsAdmin::AsAdmin()
    : m_before(data::overrideAccountForTests({QString::fromLatin1(kAdminUser), QString::fromLatin1(kAdminPassword)}))
{
}

AsAdmin::~AsAdmin() { data::overrideAccountForTests(m_before); }

void execute(Database db, const QString &sql)
{
    AsAdmin admin;
    Connection conn(db);
    conn.execute(sql.toUtf8());
}

void resetTable(Database db, const QString &table)
{
    execute(db, QStringLiteral("TRUNCATE TABLE ") + QString::fromUtf8(data::rowwriter::quotedName(table)));
}

void insertRows(Database db, const QString &table, const QStringList &columns, const std::vector<Row> &rows)
{
    AsAdmin admin;
    Connection conn(db);
    QByteArray names, marks;
    for (const QString &c : columns) {
        names += (names.isEmpty() ? "" : ",") + data::rowwriter::quotedName(c);
        marks += marks.isEmpty() ? "?" : ",?";
    }
    const QByteArray sql = "INSERT INTO " + data::rowwriter::quotedName(table) + " (" + names + ") VALUES (" + marks + ")";
    for (const Row &row : rows) {
        std::vector<data::SqlValue> params;
        for (const auto &v : row)
            params.push_back(v ? data::SqlValue(v->toUtf8()) : std::nullopt);
        conn.execute(sql, params);
    }
}

std::vector<Row> tableRows(Database db, const QString &table, const QStringList &columns)
{
    AsAdmin admin;
    Connection conn(db);
    QByteArray names;
    for (const QString &c : columns)
        names += (names.isEmpty() ? "" : ",") + data::rowwriter::quotedName(c);
    const data::RowStore store = conn.query("SELECT " + names + " FROM " + data::rowwriter::quotedName(table));
    std::vector<Row> rows;
    for (size_t r = 0; r < store.rowCount(); ++r) {
        Row row;
        for (int c = 0; c < store.columnCount(); ++c)
            row.push_back(store.isNull(r, c) ? std::nullopt : std::optional<QString>(store.text(r, c)));
        rows.push_back(row);
    }
    return rows;
}

void setAdministrators(const std::vector<Row> &rows)
{
    resetTable(Database::Main, tables::kAdmins);
    insertRows(Database::Main, tables::kAdmins, {QStringLiteral("LOGIN"), QStringLiteral("PASWOORD")}, rows);
}

QStringList column(const QString &table, const QString &name, Database db)
{
    QStringList values;
    for (const Row &row : tableRows(db, table, {name}))
        values << row[0].value_or(QStringLiteral("<NULL>"));
    return values;
}

int runningOnServer(const QString &pattern)
{
    return std::async(std::launch::async, [pattern] {
               Connection conn(Database::Main);
               return conn.query("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE INFO LIKE ?",
                                 {pattern.toUtf8()})
                   .text(0, 0)
                   .toInt();
           })
        .get();
}

namespace {
void runDbScript(const QString &verb)
{
    const QString script = qEnvironmentVariable("TALVEROS_DB_SCRIPT");
    QStringList args{verb, qEnvironmentVariable("TALVEROS_TEST_DB_DIR")};
    if (verb == QLatin1String("start"))
        args << QString::number(data::serverPort());
    QProcess p;
    p.start(script, args);
    QVERIFY2(p.waitForFinished(60000), "db.sh did not finish");
    QVERIFY2(p.exitCode() == 0, qPrintable(QString::fromUtf8(p.readAllStandardError())));
}
} // namespace

// Connections kept from before the stop are gone with it; a program meets that only
// after a restart within a second of its last exchange, a check at once.
void stopServer()
{
    runDbScript(QStringLiteral("stop"));
    data::kept::closeAll();
}
void startServer() { runDbScript(QStringLiteral("start")); }

} // namespace talveros::test
