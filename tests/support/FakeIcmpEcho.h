#pragma once

#include "platform/IcmpEcho.h"

namespace talveros::test {

class FakeIcmpEcho final : public platform::IcmpEcho {
public:
};

} // namespace talveros::test
