#pragma once

#include "platform/IcmpEcho.h"

#include <cstdint>

namespace talveros::platform {

// Echo requests over a Linux ICMP socket. A datagram ("ping") socket needs no
// privilege where net.ipv4.ping_group_range admits the caller's group; otherwise a raw
// socket, which needs root or CAP_NET_RAW. Either way the time-to-live is set per
// request and a router's Time Exceeded counts as that router's answer.
class LinuxIcmpEcho final : public IcmpEcho {
public:
    enum class Socket { Any, Datagram, Raw };

    explicit LinuxIcmpEcho(Socket allowed = Socket::Any) : m_allowed(allowed) {}
    ~LinuxIcmpEcho() override;
    LinuxIcmpEcho(const LinuxIcmpEcho &) = delete;
    LinuxIcmpEcho &operator=(const LinuxIcmpEcho &) = delete;

    bool startup() override { return true; }
    std::optional<std::uint32_t> resolve(const QString &host) override;
    bool open() override;
    std::optional<EchoReply> echo(std::uint32_t address, int timeToLive, const QByteArray &data,
                                  int waitMs) override;
    void close() override;
    bool cleanup() override { return true; }

    // Which kind the open handle is; Any while none is open.
    Socket openKind() const { return m_kind; }

private:
    std::optional<EchoReply> awaitDatagram(std::uint32_t address, std::uint16_t sequence, long long sentAtMs,
                                           long long deadlineMs);
    std::optional<EchoReply> awaitRaw(std::uint32_t address, std::uint16_t sequence, long long sentAtMs,
                                      long long deadlineMs);

    Socket m_allowed;
    Socket m_kind = Socket::Any;
    int m_fd = -1;
    std::uint16_t m_identifier = 0;
    std::uint16_t m_sequence = 0;
};

} // namespace talveros::platform
