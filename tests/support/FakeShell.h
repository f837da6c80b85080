#pragma once

#include "platform/Shell.h"

#include <QStringList>

namespace talveros::test {

// Records every address handed to the desktop; `opens` says what the desktop answers.
class FakeShell final : public platform::Shell {
public:
    void open(const QString &address, Verdict verdict) override
    {
        opened << address;
        verdict(opens);
    }

    QStringList opened;
    bool opens = true;
};

} // namespace talveros::test
