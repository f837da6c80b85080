#include "tools/ToolTexts.h"

#include <QUrl>

namespace talveros::tools {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}

QString mailtoAddress(const QString &mailbox, const QString &subject, const QString &body)
{
    QString encodedBody = body;
    encodedBody.replace(kCrLf, QStringLiteral("%0D%0A"));
    return QStringLiteral("mailto:") + mailbox + QStringLiteral("?cc=") + mailbox + QStringLiteral("&bcc=") + mailbox
        + QStringLiteral("&subject=") + subject + QStringLiteral("&body=") + encodedBody;
}

QString mailSubject() { return QStringLiteral("Betreft: "); }
QString mailBody() { return QStringLiteral("TESTMAIL"); }
QString mailNotOpened()
{
    return QStringLiteral("De e-mail kon niet worden geopend: op deze computer is geen e-mailprogramma "
                          "ingesteld voor mailto-adressen.");
}

QString traceTitle() { return QStringLiteral("Torlan TraceRT Demo"); }

QString traceHeader(const QString &host)
{
    return kCrLf + kCrLf + QStringLiteral(" Tracing Route naar ") + host + QStringLiteral(":") + kCrLf + kCrLf;
}

QString traceClosing(const QString &host)
{
    return kCrLf + QStringLiteral(" Trace Route naar ") + host + QStringLiteral(" Compleet");
}

QString hopTime(std::uint32_t roundTripMs)
{
    if (roundTripMs > 1200)
        return QStringLiteral("***");
    return QString::number(roundTripMs + 1000).right(3) + QStringLiteral(" ms");
}

QString hopBar(std::uint32_t roundTripMs) { return QString(int(qMin<std::uint32_t>(roundTripMs, 20)), u'#'); }

QString hopLine(int timeToLive, std::uint32_t roundTripMs, const QString &address)
{
    const QChar tab = u'\t';
    return QStringLiteral(" Hop #") + tab + QString::number(timeToLive) + tab + hopTime(roundTripMs) + tab + address
        + tab + hopBar(roundTripMs) + kCrLf;
}

QString dottedAddress(std::uint32_t address)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg((address >> 16) & 0xff)
        .arg((address >> 8) & 0xff)
        .arg(address & 0xff);
}

QString traceSocketsNotStarted() { return QStringLiteral(" Unable to initialize the Windows Sockets"); }
QString traceNoHandle() { return QStringLiteral("Unable to Open an Icmp File Handle"); }
QString traceHostNotFound(const QString &host)
{
    return QStringLiteral("De naam ") + host
        + QStringLiteral(" is niet gevonden (geen naamserver bereikbaar, of de naam bestaat niet). "
                         "De route is niet gecontroleerd.");
}
QString traceCleanupFailed() { return QStringLiteral(" Windows Sockets error occurred during Cleanup."); }

QString administrationPrompt(const QString &host)
{
    return QStringLiteral("Type Uw paswoord") + kCrLf + kCrLf + QStringLiteral("om toegang te verkrijgen tot PHP Myadmin.")
        + kCrLf + kCrLf + QStringLiteral("MySQL client version: 4.1.21") + kCrLf + host + QStringLiteral(" via TCP/IP");
}

QString administrationCode() { return QStringLiteral("pelmira"); }
bool opensAsWebPage(const QString &site)
{
    // Read as WebView::navigate reads it, so what is checked is what the engine gets.
    const QUrl url(site);
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        && !url.host().isEmpty();
}

QString siteNotOpened(const QString &site)
{
    return QStringLiteral("De website \"%1\" wordt niet geopend: alleen webadressen die beginnen met http:// of "
                          "https:// worden als webpagina getoond.")
        .arg(site);
}

QString administrationRefused() { return QStringLiteral("Verkeerd paswoord, U heeft geen toehang tot de database!"); }

} // namespace talveros::tools
