#pragma once

namespace talveros::platform {

// ICMP echo requests with a chosen time-to-live, for the route trace.
class IcmpEcho {
public:
    virtual ~IcmpEcho() = default;
};

} // namespace talveros::platform
