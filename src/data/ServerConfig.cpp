#include "data/ServerConfig.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

namespace talveros::data {

namespace {

bool isIpv4(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString &p : parts) {
        if (p.isEmpty() || p.size() > 3)
            return false;
        for (QChar c : p)
            if (!c.isDigit() || c.unicode() > 127)
                return false;
        if (p.toInt() > 255)
            return false;
    }
    return true;
}

bool isIpv6(const QString &text)
{
    if (text.count(QLatin1Char(':')) < 2)
        return false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F') || u == ':' || u == '.'))
            return false;
    }
    return true;
}

// Letters, digits and hyphens in labels of at most 63: nothing that could end the
// driver's "server=" value and add a key of its own.
bool isHostName(const QString &text)
{
    if (text.size() > 253)
        return false;
    bool allNumeric = true;
    for (const QString &label : text.split(QLatin1Char('.'))) {
        if (label.isEmpty() || label.size() > 63 || label.startsWith(QLatin1Char('-'))
            || label.endsWith(QLatin1Char('-')))
            return false;
        for (QChar c : label) {
            const char16_t u = c.unicode();
            const bool digit = u >= '0' && u <= '9';
            if (!(digit || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '-'))
                return false;
            allNumeric = allNumeric && digit;
        }
    }
    // "300.1.1.1" is neither a name nor an address.
    return !allNumeric;
}

std::optional<TlsMode> tlsMode(const QString &value)
{
    static const QHash<QString, TlsMode> modes{{QStringLiteral("off"), TlsMode::Off},
                                               {QStringLiteral("preferred"), TlsMode::Preferred},
                                               {QStringLiteral("required"), TlsMode::Required},
                                               {QStringLiteral("verify"), TlsMode::Verify}};
    const auto it = modes.constFind(value.toLower());
    return it == modes.constEnd() ? std::nullopt : std::optional<TlsMode>(*it);
}

ServerConfig failed(ServerConfig config, int line, const QString &message)
{
    config.error = ServerConfigError{line, message};
    return config;
}

} // namespace

ServerConfig parseServerConfig(const QString &text, const ServerSettings &defaults)
{
    ServerConfig config;
    config.settings = defaults;
    QHash<QString, int> seen;
    int tlsLine = 0;
    QString tlsValue;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const int number = i + 1;
        QString line = lines[i];
        if (i == 0 && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        const qsizetype hash = line.indexOf(QLatin1Char('#'));
        if (hash >= 0)
            line.truncate(hash);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            return failed(config, number,
                          QStringLiteral("\"%1\" is geen instelling; verwacht wordt sleutel = waarde.").arg(line));
        const QString key = line.left(eq).trimmed().toLower();
        const QString value = line.mid(eq + 1).trimmed();
        if (key != QLatin1String("address") && key != QLatin1String("port") && key != QLatin1String("tls")
            && key != QLatin1String("ca"))
            return failed(config, number,
                          QStringLiteral("onbekende sleutel \"%1\"; bekend zijn address, port, tls en ca.")
                              .arg(line.left(eq).trimmed()));
        if (seen.contains(key))
            return failed(config, number,
                          QStringLiteral("%1 staat al op regel %2; elke sleutel mag één keer voorkomen.")
                              .arg(key)
                              .arg(seen.value(key)));
        seen.insert(key, number);
        if (value.isEmpty())
            return failed(config, number, QStringLiteral("%1 heeft geen waarde.").arg(key));

        if (key == QLatin1String("address")) {
            if (!isIpv4(value) && !isIpv6(value) && !isHostName(value))
                return failed(config, number, QStringLiteral("\"%1\" is geen hostnaam of IP-adres.").arg(value));
            config.settings.address = value;
            config.settings.addressOrigin = SettingOrigin::ServerFile;
        } else if (key == QLatin1String("port")) {
            bool ok = value.size() <= 5;
            for (QChar c : value)
                ok = ok && c.unicode() >= '0' && c.unicode() <= '9';
            const int port = ok ? value.toInt() : 0;
            if (port < 1 || port > 65535)
                return failed(config, number,
                              QStringLiteral("\"%1\" is geen poortnummer (1 tot en met 65535).").arg(value));
            config.settings.port = port;
            config.settings.portOrigin = SettingOrigin::ServerFile;
        } else if (key == QLatin1String("tls")) {
            const std::optional<TlsMode> mode = tlsMode(value);
            if (!mode)
                return failed(config, number,
                              QStringLiteral("\"%1\" is geen waarde voor tls; kies off, preferred, required of verify.")
                                  .arg(value));
            config.settings.tls = *mode;
            tlsLine = number;
            tlsValue = value;
        } else {
            if (!value.startsWith(QLatin1Char('/')))
                return failed(config, number,
                              QStringLiteral("ca moet een volledig pad zijn, beginnend met /: \"%1\".").arg(value));
            if (value.contains(QLatin1Char('{')) || value.contains(QLatin1Char('}')))
                return failed(config, number,
                              QStringLiteral("het pad \"%1\" bevat een accolade, die de verbinding niet kan "
                                             "doorgeven.")
                                  .arg(value));
            config.settings.caFile = value;
            config.caLine = number;
        }
    }
    if (config.settings.tls == TlsMode::Verify && config.settings.caFile.isEmpty())
        return failed(config, tlsLine,
                      QStringLiteral("tls = verify heeft ca nodig: het PEM-bestand met de certificaatautoriteit "
                                     "van de server."));
    if (config.settings.tls != TlsMode::Verify && !config.settings.caFile.isEmpty())
        return failed(config, config.caLine,
                      QStringLiteral("ca wordt alleen gebruikt met tls = verify, en tls is hier %1.")
                          .arg(tlsLine ? tlsValue : QStringLiteral("niet gezet (preferred)")));
    return config;
}

ServerConfig readServerConfig(const QString &path, const ServerSettings &defaults)
{
    ServerConfig config;
    config.settings = defaults;
    QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return config;
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        return failed(config, 0,
                      info.isDir() ? QStringLiteral("Het is een map, geen bestand.")
                                   : QStringLiteral("Het bestand kan niet worden gelezen (%1).").arg(file.errorString()));
    config = parseServerConfig(QString::fromUtf8(file.readAll()), defaults);
    if (config.error || config.settings.caFile.isEmpty())
        return config;
    QFile ca(config.settings.caFile);
    if (QFileInfo(ca.fileName()).isDir() || !ca.open(QIODevice::ReadOnly))
        return failed(config, config.caLine,
                      QStringLiteral("het bestand \"%1\" kan niet worden gelezen.").arg(config.settings.caFile));
    if (!ca.read(1 << 20).contains("-----BEGIN CERTIFICATE-----"))
        return failed(config, config.caLine,
                      QStringLiteral("\"%1\" bevat geen certificaat in PEM-vorm.").arg(config.settings.caFile));
    return config;
}

QString serverConfigErrorText(const QString &path, const ServerConfigError &error)
{
    const QString where = error.line > 0 ? QStringLiteral("Regel %1: ").arg(error.line) : QString();
    return QStringLiteral("Talveros start niet: de instellingen van de databaseserver in %1 zijn niet bruikbaar.\n\n"
                          "%2%3\n\nDe beheerder van deze computer kan het bestand verbeteren; Talveros verandert "
                          "het nooit zelf.")
        .arg(path, where, error.message);
}

} // namespace talveros::data
