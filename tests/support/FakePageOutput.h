#pragma once

#include "platform/PageOutput.h"

namespace talveros::test {

class FakePageOutput final : public platform::PageOutput {
public:
};

} // namespace talveros::test
