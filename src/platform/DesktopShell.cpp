#include "platform/DesktopShell.h"

#include <QProcess>

namespace talveros::platform {

bool DesktopShell::open(const QString &address)
{
    auto *opener = new QProcess;
    opener->setProgram(m_opener);
    opener->setArguments({address});
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    opener->start();
    if (!opener->waitForStarted()) {
        delete opener;
        return false;
    }
    // The opener normally hands the address on and ends at once; its exit code tells
    // whether a program took it.
    if (opener->waitForFinished(m_verdictMs)) {
        const bool opened = opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
        delete opener;
        return opened;
    }
    // Deleting a running QProcess kills it, and with it the mail program: let it end
    // on its own.
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    return true;
}

} // namespace talveros::platform
