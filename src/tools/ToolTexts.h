#pragma once

#include <QString>

#include <cstdint>

// The exact texts of the mail, route-trace and web-page tools.
namespace talveros::tools {

// The mailto: address with the network's mailbox as recipient, copy and blind copy.
// Nothing in it is encoded except the line breaks of the body.
QString mailtoAddress(const QString &mailbox, const QString &subject, const QString &body);
QString mailSubject();
QString mailBody();
QString mailNotOpened();

// Route trace.
QString traceTitle();
QString traceHeader(const QString &host);
QString traceClosing(const QString &host);
// " Hop #", tab, time-to-live, tab, time text, tab, address, tab, bar, CR LF.
QString hopLine(int timeToLive, std::uint32_t roundTripMs, const QString &address);
// 5 → "005 ms"; above 1200 ms "***".
QString hopTime(std::uint32_t roundTripMs);
// One "#" per millisecond, at most 20.
QString hopBar(std::uint32_t roundTripMs);
QString dottedAddress(std::uint32_t address);
QString traceSocketsNotStarted();
QString traceNoHandle();
QString traceHostNotFound(const QString &host);
QString traceCleanupFailed();

// A web site stored with a consultant or client goes to the web view only when it is an
// http or https address with a host, as the view itself reads it: the engine would as
// readily show a local file, run a script or a page carried in the address itself, and an
// address without a scheme shows nothing at all.
bool opensAsWebPage(const QString &site);
QString siteNotOpened(const QString &site);

// Database administration page.
QString administrationPrompt(const QString &host);
QString administrationCode();
QString administrationRefused();

} // namespace talveros::tools
