#include "data/ConnectionSettings.h"

#include "data/DbError.h"
#include "data/ServerConfig.h"

#include <algorithm>
#include <iterator>

#include <atomic>
#include <utility>

#ifndef TALVEROS_DB_SERVER
#define TALVEROS_DB_SERVER "127.0.0.1"
#endif

namespace talveros::data {

namespace {
int g_timeouts[3] = {settings::kConnectTimeoutSeconds, settings::kReadTimeoutSeconds, settings::kWriteTimeoutSeconds};
// CR_SSL_CONNECTION_ERROR: every TLS failure of the driver, whatever its cause.
constexpr int kTlsFailure = 2026;
// What the driver reports when no server answered: nothing listens at the port, the name
// is unknown, or the connection went silent or was lost before the server said anything
// (CR_CONNECTION_ERROR, CR_CONN_HOST_ERROR, CR_UNKNOWN_HOST, CR_SERVER_GONE_ERROR,
// CR_SERVER_LOST, CR_SERVER_LOST_EXTENDED).
constexpr int kNoServerAnswered[] = {2002, 2003, 2005, 2006, 2013, 2055};

ServerSettings g_server = defaultServer();
std::atomic<bool> g_causalReads{true};
thread_local Account t_account;

QString tlsKeys()
{
    switch (g_server.tls) {
    case TlsMode::Off:
        return {};
    case TlsMode::Preferred:
    case TlsMode::Required:
        // The driver's FORCETLS asks for TLS but goes on in clear text when the server
        // offers none; Required checks the session afterwards.
        return QStringLiteral(";FORCETLS=1");
    case TlsMode::Verify:
        // The braces carry any path; the configuration refuses one with a brace in it.
        return QStringLiteral(";FORCETLS=1;SSLVERIFY=1;SSLCA={%1}").arg(g_server.caFile);
    }
    return {};
}

QString appendedKeys()
{
    QString keys = QStringLiteral(";CONN_TIMEOUT=%1;READ_TIMEOUT=%2;WRITE_TIMEOUT=%3;CHARSET=%4")
                       .arg(g_timeouts[0])
                       .arg(g_timeouts[1])
                       .arg(g_timeouts[2])
                       .arg(QLatin1String(settings::kCharacterSet));
    if (g_server.port != settings::kDefaultPort)
        keys += QStringLiteral(";port=%1").arg(g_server.port);
    // On a cluster every read, update and delete of this session first waits until the
    // node it reaches has applied what the other nodes committed before it: lists rebuilt
    // after a write show that write, and an edit of a row just read finds it, whichever
    // node took each. A server of the same family outside a cluster ignores the setting;
    // one without it refuses it, and then it is left out.
    if (g_causalReads)
        keys += QStringLiteral(";INITSTMT={SET SESSION wsrep_sync_wait = 3}");
    return keys + tlsKeys();
}

QString serverName(const ServerSettings &server)
{
    if (server.port == settings::kDefaultPort)
        return server.address;
    return QStringLiteral("%1 (poort %2)").arg(server.address).arg(server.port);
}

QString noTlsOffered(const ServerSettings &server)
{
    return QStringLiteral("Verbinding geweigerd: de databaseserver %1 biedt geen versleutelde verbinding (TLS) aan, "
                          "en deze computer eist die (tls = %2).")
        .arg(serverName(server),
             server.tls == TlsMode::Verify ? QStringLiteral("verify") : QStringLiteral("required"));
}

bool noServerAnswered(const QString &sqlState, int nativeCode, const QString &driverText)
{
    if (std::find(std::begin(kNoServerAnswered), std::end(kNoServerAnswered), nativeCode)
        != std::end(kNoServerAnswered))
        return true;
    // A time-out or a failure without the server's number came from the driver's side of
    // the wire; so did a failure it could not describe at all.
    if (nativeCode == 0)
        return sqlState == QLatin1String("08001") || sqlState == QLatin1String("08S01")
            || sqlState == QLatin1String("HYT00") || sqlState == QLatin1String("HYT01") || driverText.isEmpty();
    return false;
}

QString noServerAnsweredText(const ServerSettings &server, const QString &driverText)
{
    const QString file = QString::fromLatin1(kServerConfigPath);
    const bool addressInFile = server.addressOrigin == SettingOrigin::ServerFile;
    const bool portInFile = server.portOrigin == SettingOrigin::ServerFile;
    QString origin;
    if (addressInFile && portInFile)
        origin = QStringLiteral("adres en poort uit %1").arg(file);
    else if (addressInFile)
        origin = QStringLiteral("adres uit %1, poort volgens de ingebouwde standaardinstelling").arg(file);
    else if (portInFile)
        origin = QStringLiteral("poort uit %1, adres volgens de ingebouwde standaardinstelling").arg(file);
    else
        origin = QStringLiteral("ingebouwde standaardinstelling; een ander adres hoort in %1").arg(file);
    QString text = QStringLiteral("De databaseserver is niet te bereiken op adres %1, poort %2 (%3).")
                       .arg(server.address, QString::number(server.port), origin);
    if (!driverText.isEmpty())
        text += QStringLiteral("\n\nMelding van het stuurprogramma: ") + driverText;
    return text;
}
} // namespace

ServerSettings defaultServer()
{
    ServerSettings s;
    s.address = QStringLiteral(TALVEROS_DB_SERVER);
    return s;
}

const ServerSettings &server() { return g_server; }
bool encryptionRequired() { return g_server.tls == TlsMode::Required; }

DbError unencryptedSessionRefused()
{
    return DbError(ErrorKind::Unreachable, QStringLiteral("08004"), kTlsFailure, noTlsOffered(g_server));
}
bool causalReads() { return g_causalReads; }
void setCausalReads(bool on) { g_causalReads = on; }
void useServer(const ServerSettings &settings) { g_server = settings; }
QString serverAddress() { return g_server.address; }
int serverPort() { return g_server.port; }

void overrideServerForTests(const QString &address, int port)
{
    g_server.address = address;
    g_server.port = port;
}

Account overrideAccountForTests(const Account &account) { return std::exchange(t_account, account); }

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
    const bool own = t_account.user.isEmpty();
    return QStringLiteral("driver=%1;server=%2;uid=%3;pwd=%4;database=%5;option=%6")
               .arg(QLatin1String(settings::kDriver), g_server.address,
                    own ? QLatin1String(settings::kUser) : t_account.user,
                    own ? QLatin1String(settings::kPassword) : t_account.password, databaseName(db),
                    QLatin1String(settings::kOption))
        + appendedKeys();
}

QByteArray connectionKey(Database db)
{
    return connectionString(db).toUtf8() + ";tls=" + QByteArray::number(int(g_server.tls));
}

QString connectFailureText(const ServerSettings &server, const QString &sqlState, int nativeCode,
                           const QString &driverText)
{
    if (nativeCode != kTlsFailure || server.tls == TlsMode::Off) {
        if (noServerAnswered(sqlState, nativeCode, driverText))
            return noServerAnsweredText(server, driverText);
        return driverText;
    }
    // The driver's own words are the only thing that tells a server without TLS from a
    // certificate that does not match; they are kept below for whoever looks further.
    const QString detail = QStringLiteral("\n\nMelding van het stuurprogramma: %1").arg(driverText);
    if (driverText.contains(QLatin1String("does not support"), Qt::CaseInsensitive))
        return noTlsOffered(server) + detail;
    if (server.tls == TlsMode::Verify)
        return QStringLiteral("Verbinding geweigerd: het certificaat van de databaseserver %1 is niet ondertekend door "
                              "de certificaatautoriteit in %2, of staat niet op naam van %3 (tls = verify).")
                   .arg(serverName(server), server.caFile, server.address)
            + detail;
    return QStringLiteral("De versleutelde verbinding met de databaseserver %1 kwam niet tot stand.")
               .arg(serverName(server))
        + detail;
}

} // namespace talveros::data
