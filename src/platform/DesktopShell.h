#pragma once

#include "platform/Shell.h"

#include <QString>

#include <utility>

namespace talveros::platform {

// Opens addresses through the freedesktop opener. The address is passed as one
// argument, untouched: QUrl-based openers would re-encode it (a blank becomes %20),
// and the receiving program must see the address as it was built.
class DesktopShell final : public Shell {
public:
    // An opener still running after `verdictMs` is taken to have opened the address:
    // some run the mail program in the foreground instead of handing it on.
    explicit DesktopShell(QString opener = QStringLiteral("xdg-open"), int verdictMs = 4000)
        : m_opener(std::move(opener)), m_verdictMs(verdictMs)
    {
    }
    void open(const QString &address, Verdict verdict) override;

private:
    QString m_opener;
    int m_verdictMs;
};

} // namespace talveros::platform
