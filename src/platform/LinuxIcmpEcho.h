#pragma once

#include "platform/IcmpEcho.h"

namespace talveros::platform {

class LinuxIcmpEcho final : public IcmpEcho {
public:
};

} // namespace talveros::platform
