#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace talveros::platform {

// One answer to an echo request: from the target itself, or from the router on the
// way whose time-to-live ran out.
struct EchoReply {
    std::uint32_t address = 0; // IPv4, host byte order
    std::uint32_t roundTripMs = 0;
};

// ICMP echo requests with a chosen time-to-live, for the route trace. The steps follow
// the life of a trace: start the network service, resolve the target, open a handle,
// send requests, close the handle, end the service. Each may fail on its own, and the
// trace reports each failure differently.
class IcmpEcho {
public:
    virtual ~IcmpEcho() = default;

    // False when the network service cannot be started.
    virtual bool startup() = 0;
    // The first IPv4 address of the host; none when the name is not found.
    virtual std::optional<std::uint32_t> resolve(const QString &host) = 0;
    // False when no handle for echo requests can be had.
    virtual bool open() = 0;
    // Sends one request carrying `data` and waits at most `waitMs` for its answer.
    // None when nothing answered in time or the answer was an error other than an
    // expired time-to-live (unreachable, and the like).
    virtual std::optional<EchoReply> echo(std::uint32_t address, int timeToLive, const QByteArray &data,
                                          int waitMs) = 0;
    virtual void close() = 0;
    // False when the network service could not be ended cleanly.
    virtual bool cleanup() = 0;
};

} // namespace talveros::platform
