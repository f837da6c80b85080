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

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Talveros"));
    QApplication::setApplicationVersion(QStringLiteral(TALVEROS_VERSION));

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
    if (control.requested())
        return control.exitCode();
    splash.show();
    const int status = QApplication::exec();
    return control.requested() ? control.exitCode() : status;
}
