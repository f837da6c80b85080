#pragma once

#include "platform/Sound.h"

namespace talveros::test {

class FakeSound final : public platform::Sound {
public:
};

} // namespace talveros::test
