#include "data/ConnectionSettings.h"

#ifndef TALVEROS_DB_SERVER
#define TALVEROS_DB_SERVER "127.0.0.1"
#endif

namespace talveros::data {

namespace {
constexpr int kDefaultPort = 3306;
QString g_server = QStringLiteral(TALVEROS_DB_SERVER);
int g_port = kDefaultPort;

QString appendedKeys()
{
    QString keys = QStringLiteral(";CONN_TIMEOUT=%1;READ_TIMEOUT=%2;WRITE_TIMEOUT=%3;CHARSET=%4")
                       .arg(settings::kConnectTimeoutSeconds)
                       .arg(settings::kReadTimeoutSeconds)
                       .arg(settings::kWriteTimeoutSeconds)
                       .arg(QLatin1String(settings::kCharacterSet));
    if (g_port != kDefaultPort)
        keys += QStringLiteral(";port=%1").arg(g_port);
    // On a cluster every read, update and delete of this session first waits until the
    // node it reaches has applied what the other nodes committed before it: lists rebuilt
    // after a write show that write, and an edit of a row just read finds it, whichever
    // node took each. A server outside a cluster ignores the setting.
    keys += QStringLiteral(";INITSTMT={SET SESSION wsrep_sync_wait = 3}");
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
