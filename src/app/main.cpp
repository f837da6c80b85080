#include "data/KeptConnections.h"
#include "data/ServerConfig.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/DesktopShell.h"
#include "platform/LinuxIcmpEcho.h"
#include "platform/LinuxSound.h"
#include "platform/LinuxWorkstation.h"
#include "platform/QtAppControl.h"
#include "platform/QtPageOutput.h"
#include "platform/QtPrinters.h"
#include "platform/ServerWaitWindow.h"
#include "platform/Services.h"
#include "signin/Form1Host.h"
#include "signin/frmSplash.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace talveros;

namespace {
constexpr int kExitServerConfigUnusable = 3;
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Talveros"));
    QApplication::setApplicationVersion(QStringLiteral(TALVEROS_VERSION));
    // Ties the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("nl.kordam.talveros"));

    // Dutch texts on the standard buttons ("&Ja", "&Nee").
    QTranslator qtbase;
    if (qtbase.load(QLocale(QLocale::Dutch, QLocale::Netherlands), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtbase);
    // Outside a desktop session no icon theme is named; the pictures come from Adwaita.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));

    platform::ServerWaitWindow serverWait;
    platform::WaitHookScope waiting(&serverWait);

    platform::WidgetDialogs dialogs;
    // The deployment's server is settled before anything could reach a server at all.
    const QString configPath = QString::fromLatin1(data::kServerConfigPath);
    const data::ServerConfig config = data::readServerConfig(configPath, data::defaultServer());
    if (config.error) {
        dialogs.message(data::serverConfigErrorText(configPath, *config.error), QString::fromLatin1(platform::kAppTitle),
                        platform::Icon::Critical, platform::Buttons::Ok);
        return kExitServerConfigUnusable;
    }
    data::useServer(config.settings);

    platform::SystemClock clock;
    platform::QtPrinters printers;
    platform::LinuxWorkstation workstation;
    platform::QtAppControl control;
    platform::LinuxSound sound;
    platform::DesktopShell shell;
    platform::LinuxIcmpEcho icmp;
    platform::QtPageOutput pages;
    platform::Services services{dialogs, clock, printers, workstation, control, sound, shell, icmp, pages};

    signin::WorkstationInfo info;
    signin::Form1Host host(services);
    signin::frmSplash splash(services, info, host);
    splash.load();
    int status = 0;
    if (!control.requested()) {
        splash.show();
        status = QApplication::exec();
    }
    // The server learns at once that the program's sessions are over.
    data::kept::closeAll();
    return control.requested() ? control.exitCode() : status;
}
