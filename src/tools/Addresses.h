#pragma once

#include <QString>

// Every address the tools reach, in one place. Changing site means changing these.
namespace talveros::tools::addresses {

// The network's public web site: the route trace goes there, and the web browser tab
// shows a page of it.
inline QString networkSiteHost() { return QStringLiteral("www.kordam.nl"); }
inline QString networkPage() { return QStringLiteral("http://www.kordam.nl/netwerk/index.html"); }

inline QString searchEngine() { return QStringLiteral("http://www.google.nl/"); }

// The database administration page and the server it runs on.
inline QString administrationHost() { return QStringLiteral("db.kordam.nl"); }
inline QString administrationPage()
{
    return QStringLiteral("http://") + administrationHost()
        + QStringLiteral("/phpmyadmin/index.php?target=index.php&lang=nl-iso-8859-1&convcharset=iso-8859-1"
                         "&token=5c0e7a91d3b84f26a9e1c47d2b60f83e");
}

// The network's mailbox: recipient, copy and blind copy of every mail started here.
inline QString mailbox() { return QStringLiteral("administratie@kordam.nl"); }

} // namespace talveros::tools::addresses
