#include "platform/DesktopShell.h"

#include <QProcess>
#include <QTimer>

#include <memory>

namespace talveros::platform {

void DesktopShell::open(const QString &address, Verdict verdict)
{
    auto *opener = new QProcess;
    opener->setProgram(m_opener);
    opener->setArguments({address});
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());

    // The first of: the opener could not start, it ended (its exit code tells whether
    // a program took the address), or it is still running when the time is up.
    auto pending = std::make_shared<Verdict>(std::move(verdict));
    auto decide = [pending](bool opened) {
        if (*pending)
            std::exchange(*pending, nullptr)(opened);
    };
    auto *deadline = new QTimer(opener);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, opener, [decide] { decide(true); });
    QObject::connect(opener, &QProcess::errorOccurred, opener, [opener, decide](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            decide(false);
            opener->deleteLater();
        }
    });
    // Deleting a running QProcess kills it, and with it a mail program some openers run
    // in the foreground: it is let go only once it has ended on its own.
    QObject::connect(opener, &QProcess::finished, opener, [opener, decide](int exitCode, QProcess::ExitStatus status) {
        decide(status == QProcess::NormalExit && exitCode == 0);
        opener->deleteLater();
    });
    deadline->start(m_verdictMs);
    opener->start();
}

} // namespace talveros::platform
