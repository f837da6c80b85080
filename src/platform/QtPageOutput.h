#pragma once

#include "platform/PageOutput.h"

namespace talveros::platform {

class QtPageOutput final : public PageOutput {
public:
};

} // namespace talveros::platform
