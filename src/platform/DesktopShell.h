#pragma once

#include "platform/Shell.h"

namespace talveros::platform {

class DesktopShell final : public Shell {
public:
};

} // namespace talveros::platform
