#pragma once

#include "data/DbError.h"

#include <QString>

namespace talveros::data {

enum class Database { Main, Declarations };

namespace settings {
inline constexpr auto kDriver = "{MySQL ODBC 3.51 Driver}";
inline constexpr auto kUser = "kordamrg";
inline constexpr auto kPassword = "t7oKmaxu";
inline constexpr auto kMainDatabase = "kordamrg_KORDAMdata";
inline constexpr auto kDeclarationsDatabase = "kordamrg_KORDAMdeclaraties";
inline constexpr auto kOption = "16387";
// A server that accepts the connection and then stays silent would otherwise hang the
// driver for ever; these bound every wait so it reaches the user as a data error.
inline constexpr int kConnectTimeoutSeconds = 10;
inline constexpr int kReadTimeoutSeconds = 60;
inline constexpr int kWriteTimeoutSeconds = 60;
// Text travels as UTF-8 both ways whatever the driver or the server would pick by
// default (the server's default character set, the workstation's locale), so a value
// is stored and compared byte for byte as the program holds it.
inline constexpr auto kCharacterSet = "utf8mb4";
inline constexpr int kDefaultPort = 3306;
} // namespace settings

// How a session is protected on the wire.
enum class TlsMode {
    Off,       // never encrypted
    Preferred, // encrypted whenever the server offers it
    Required,  // a server that does not offer it is refused
    Verify,    // required, and the certificate must be signed by caFile and name the address
};

// Where an address or a port came from. The deployment's file names only the keys it
// sets; every other one keeps the value the program was built with.
enum class SettingOrigin { BuiltIn, ServerFile };

struct ServerSettings {
    QString address;
    int port = settings::kDefaultPort;
    TlsMode tls = TlsMode::Preferred;
    QString caFile; // PEM, only with Verify
    SettingOrigin addressOrigin = SettingOrigin::BuiltIn;
    SettingOrigin portOrigin = SettingOrigin::BuiltIn;
};

// The compiled-in address, the server's default port, encryption when offered.
ServerSettings defaultServer();

// The server every connection goes to: the defaults, unless start-up read a deployment's
// settings; the test harness alone may move it to a private server of its own.
const ServerSettings &server();
void useServer(const ServerSettings &settings);
QString serverAddress();
int serverPort();
// Moves address and port only; the encryption mode stays as it was.
void overrideServerForTests(const QString &address, int port);
// Short waits, so that tests of a server that stops answering end in seconds.
void overrideTimeoutsForTests(int connectSeconds, int readSeconds, int writeSeconds);

// The account a connection signs in with. An empty user is the program's own.
struct Account {
    QString user;
    QString password;
};
// Connections opened by the calling thread afterwards sign in as `account` (empty: the
// program's own again); returns what the thread used before. For a test harness's own
// set-up on a private server, which the program's account may not do. Only the calling
// thread changes: whatever the program runs on its own threads keeps its own account.
Account overrideAccountForTests(const Account &account);

// "driver=...;server=...;uid=...;pwd=...;database=...;option=16387" followed by the
// time-out keys, the character set, a port key only when the port is not the default
// one, the statement that makes the session's reads causal on a cluster, and the
// driver's TLS keys of the encryption mode.
QString connectionString(Database db);

QString databaseName(Database db);

// What a kept connection is kept under: the connection string and what the program
// checks of a session beyond it (encryption required), so that no change of server or
// settings reuses one opened under others.
QByteArray connectionKey(Database db);

// Whether sessions make their reads causal on a cluster (wsrep_sync_wait). On by
// default; switched off for the rest of the program by the first connection that the
// server refuses it (a server without the cluster software's variables, such as MySQL).
bool causalReads();
void setCausalReads(bool on);

// What the administrator is told when opening a connection to the server of the given
// settings failed. A server that could not be reached is named with the address and port
// tried and where each came from, so that whoever reads it knows what to correct and
// where; a refusal by the encryption the settings ask for says which refusal it was.
// The driver's own description follows both; anything else is the driver's words alone.
QString connectFailureText(const ServerSettings &server, const QString &sqlState, int nativeCode,
                           const QString &driverText);

// Under Required the driver itself goes on in clear text when the server offers no TLS,
// so a fresh session is asked whether it is encrypted before anything else is sent.
bool encryptionRequired();
// What refuses one that is not.
DbError unencryptedSessionRefused();

} // namespace talveros::data
