#pragma once

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
} // namespace settings

// The server address is a build-time constant. The port is the server's default; the
// test harness alone may move both to a private server of its own.
QString serverAddress();
int serverPort();
void overrideServerForTests(const QString &address, int port);

// "driver=...;server=...;uid=...;pwd=...;database=...;option=16387" followed by the
// time-out keys, the character set (and a port key only when the port is not the
// default one), and the statement that makes the session's reads causal on a cluster.
QString connectionString(Database db);

QString databaseName(Database db);

} // namespace talveros::data
