#include "data/ConnectionSettings.h"

#ifndef TALVEROS_DB_SERVER
#define TALVEROS_DB_SERVER "127.0.0.1"
#endif

namespace talveros::data {

namespace {
constexpr int kDefaultPort = 3306;
QString g_server = QStringLiteral(TALVEROS_DB_SERVER);
int g_port = kDefaultPort;
int g_timeouts[3] = {settings::kConnectTimeoutSeconds, settings::kReadTimeoutSeconds, settings::kWriteTimeoutSeconds};

QString appendedKeys()
{
    QString keys = QStringLiteral(";CONN_TIMEOUT=%1;READ_TIMEOUT=%2;WRITE_TIMEOUT=%3;CHARSET=%4")
                       .arg(g_timeouts[0])
                       .arg(g_timeouts[1])
                       .arg(g_timeouts[2])
                       .arg(QLatin1String(settings::kCharacterSet));
    if (g_port != kDefaultPort)
        keys += QStringLiteral(";port=%1").arg(g_port);
    return keys;
}
} // namespace

QString serverAddress() { return g_server; }
int serverPort() { return g_port; }

void overrideServerForTests(const QString &address, int port)
{
    g_server = address;
    g_port = port;
}

void overrideTimeoutsForTests(int connectSeconds, int readSeconds, int writeSeconds)
{
    g_timeouts[0] = connectSeconds;
    g_timeouts[1] = readSeconds;
    g_timeouts[2] = writeSeconds;
}

QString databaseName(Database db)
{
    return QString::fromLatin1(db == Database::Main ? settings::kMainDatabase : settings::kDeclarationsDatabase);
}

QString connectionString(Database db)
{
    return QStringLiteral("driver=%1;server=%2;uid=%3;pwd=%4;database=%5;option=%6")
               .arg(QLatin1String(settings::kDriver), g_server, QLatin1String(settings::kUser),
                    QLatin1String(settings::kPassword), databaseName(db), QLatin1String(settings::kOption))
        + appendedKeys();
}

} // namespace talveros::data
