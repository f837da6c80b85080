#pragma once

#include "platform/Shell.h"

#include <QStringList>

namespace talveros::test {

// Records every address handed to the desktop; `opens` says what the desktop answers.
class FakeShell final : public platform::Shell {
public:
    bool open(const QString &address) override
    {
        opened << address;
        return opens;
    }

    QStringList opened;
    bool opens = true;
};

} // namespace talveros::test
