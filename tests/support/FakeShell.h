#pragma once

#include "platform/Shell.h"

namespace talveros::test {

class FakeShell final : public platform::Shell {
public:
};

} // namespace talveros::test
