#pragma once

#include "platform/Sound.h"

namespace talveros::platform {

class LinuxSound final : public Sound {
public:
};

} // namespace talveros::platform
