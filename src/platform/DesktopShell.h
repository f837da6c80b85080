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
    explicit DesktopShell(QString opener = QStringLiteral("xdg-open")) : m_opener(std::move(opener)) {}
    bool open(const QString &address) override;

private:
    QString m_opener;
};

} // namespace talveros::platform
