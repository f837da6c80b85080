#include "platform/DesktopShell.h"

#include <QProcess>

namespace talveros::platform {

namespace {
// The opener normally hands the address on and ends at once; its exit code tells
// whether a program took it. Some openers run the mail program in the foreground
// instead: after this long we take the running opener as a success and leave it be.
constexpr int kOpenerVerdictMs = 4000;
} // namespace

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
    if (opener->waitForFinished(kOpenerVerdictMs)) {
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
