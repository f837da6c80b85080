#include "signin/LoginLog.h"

#include "data/Session.h"

namespace talveros::signin {

QString trimAtNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

QString readUserName(const platform::Workstation &workstation, WorkstationInfo &info)
{
    const std::optional<QString> account = workstation.accountName();
    if (!account)
        return {};
    info.userName = trimAtNul(*account);
    return info.userName;
}

void readBoardInfo(const platform::Workstation &workstation, WorkstationInfo &info)
{
    for (const platform::BoardRecord &board : workstation.boards()) {
        if (board.product)
            info.boardType = *board.product;
        if (board.manufacturer)
            info.boardMaker = *board.manufacturer;
    }
}

void readNetworkAdapter(const platform::Workstation &workstation, WorkstationInfo &info)
{
    for (const platform::AdapterRecord &adapter : workstation.adapters()) {
        if (!adapter.manufacturer || *adapter.manufacturer == QLatin1String("Microsoft"))
            continue;
        if (adapter.macAddress)
            info.adapterAddress = *adapter.macAddress;
        if (adapter.description)
            info.adapterDescription = *adapter.description;
    }
}

QString loginDateTimeText(const QDateTime &at, const QString &dateSeparator, const QString &timeFormat)
{
    const QDate d = at.date();
    return QString::number(d.year()).rightJustified(4, u'0') + dateSeparator
        + QString::number(d.month()).rightJustified(2, u'0') + dateSeparator
        + QString::number(d.day()).rightJustified(2, u'0') + QStringLiteral("   ") + at.time().toString(timeFormat);
}

void writeLoginLog(platform::Services &services, WorkstationInfo &info)
{
    readBoardInfo(services.workstation, info);
    readNetworkAdapter(services.workstation, info);
    readUserName(services.workstation, info);
    info.dateTime = loginDateTimeText(services.clock.now(), services.workstation.dateSeparator(),
                                      services.workstation.timeFormat());
    // Only adds: the log grows with every sign-in for years, and none of it is read.
    data::Session session;
    session.add(QStringLiteral("LOGINadministrator"),
                {{QStringLiteral("DATUMTIJD"), info.dateTime.toUtf8()},
                 {QStringLiteral("PCnaam"), info.userName.toUtf8()},
                 {QStringLiteral("LOGINnaam"), QByteArrayLiteral("Administrator")},
                 {QStringLiteral("NETWERKkaart"), info.adapterDescription.toUtf8()},
                 {QStringLiteral("NETWERKadres"), info.adapterAddress.toUtf8()},
                 {QStringLiteral("MBmerk"), info.boardMaker.toUtf8()},
                 {QStringLiteral("MBtype"), info.boardType.toUtf8()},
                 {QStringLiteral("Afdrukapparaat"), info.printerName.toUtf8()}});
    session.close();
}

bool selectPrinter(platform::Printers &printers, const QString &deviceName)
{
    for (const QString &name : printers.installed()) {
        if (name == deviceName) {
            printers.use(name);
            return true;
        }
    }
    return false;
}

} // namespace talveros::signin
