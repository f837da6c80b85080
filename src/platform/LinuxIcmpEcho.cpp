#include "platform/LinuxIcmpEcho.h"

#include <arpa/inet.h>
#include <linux/errqueue.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

namespace talveros::platform {

namespace {

constexpr std::size_t kIcmpHeader = 8;
constexpr std::size_t kMaxPacket = 65536;

long long nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::uint16_t checksum(const unsigned char *bytes, std::size_t length)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < length; i += 2)
        sum += std::uint32_t(bytes[i]) << 8 | bytes[i + 1];
    if (length % 2)
        sum += std::uint32_t(bytes[length - 1]) << 8;
    while (sum >> 16)
        sum = (sum & 0xffff) + (sum >> 16);
    return std::uint16_t(~sum);
}

std::uint16_t read16(const unsigned char *p) { return std::uint16_t(p[0] << 8 | p[1]); }

// What a received packet means for the request waiting for its answer.
enum class Verdict { Unrelated, Answer, Refused };

// Waits until the socket has something to read (or an error queued), or the deadline
// passes. False on the deadline.
bool waitReadable(int fd, long long deadlineMs, short &revents)
{
    for (;;) {
        const long long left = deadlineMs - nowMs();
        if (left <= 0)
            return false;
        pollfd p{fd, POLLIN, 0};
        const int n = ::poll(&p, 1, int(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        revents = p.revents;
        return true;
    }
}

} // namespace

LinuxIcmpEcho::~LinuxIcmpEcho() { close(); }

std::optional<std::uint32_t> LinuxIcmpEcho::resolve(const QString &host)
{
    if (host.isEmpty() || host.contains(QChar(0)))
        return std::nullopt;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo *found = nullptr;
    if (::getaddrinfo(host.toUtf8().constData(), nullptr, &hints, &found) != 0 || !found)
        return std::nullopt;
    const auto *in = reinterpret_cast<const sockaddr_in *>(found->ai_addr);
    const std::uint32_t address = ntohl(in->sin_addr.s_addr);
    ::freeaddrinfo(found);
    return address;
}

bool LinuxIcmpEcho::open()
{
    close();
    if (m_allowed != Socket::Raw) {
        m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
        const int on = 1;
        if (m_fd >= 0 && ::setsockopt(m_fd, SOL_IP, IP_RECVERR, &on, sizeof on) == 0) {
            m_kind = Socket::Datagram;
            return true;
        }
        close();
    }
    if (m_allowed != Socket::Datagram) {
        m_fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (m_fd >= 0) {
            // A raw socket sees every ICMP packet that reaches the machine; only
            // replies, unreachables and expired time-to-live concern a trace.
            // (linux/icmp.h's filter, which clashes with the libc headers: one bit
            // per type, a set bit drops the type.)
            constexpr int kIcmpFilter = 1;
            const std::uint32_t dropped =
                ~((1U << ICMP_ECHOREPLY) | (1U << ICMP_DEST_UNREACH) | (1U << ICMP_TIME_EXCEEDED));
            ::setsockopt(m_fd, SOL_RAW, kIcmpFilter, &dropped, sizeof dropped);
            m_kind = Socket::Raw;
            // Several traces may run on one machine; the identifier tells their
            // replies apart.
            m_identifier = std::uint16_t((::getpid() ^ (nowMs() << 4)) & 0xffff);
            return true;
        }
    }
    return false;
}

void LinuxIcmpEcho::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_kind = Socket::Any;
}

std::optional<EchoReply> LinuxIcmpEcho::echo(std::uint32_t address, int timeToLive, const QByteArray &data,
                                             int waitMs)
{
    if (m_fd < 0 || timeToLive < 1 || timeToLive > 255 || std::size_t(data.size()) > kMaxPacket - 100)
        return std::nullopt;
    const int ttl = timeToLive;
    if (::setsockopt(m_fd, SOL_IP, IP_TTL, &ttl, sizeof ttl) != 0)
        return std::nullopt;

    const std::uint16_t sequence = ++m_sequence;
    std::vector<unsigned char> packet(kIcmpHeader + std::size_t(data.size()));
    packet[0] = ICMP_ECHO;
    packet[1] = 0;
    // A datagram socket puts in its own identifier and checksum.
    packet[4] = std::uint8_t(m_identifier >> 8);
    packet[5] = std::uint8_t(m_identifier);
    packet[6] = std::uint8_t(sequence >> 8);
    packet[7] = std::uint8_t(sequence);
    std::memcpy(packet.data() + kIcmpHeader, data.constData(), std::size_t(data.size()));
    const std::uint16_t sum = checksum(packet.data(), packet.size());
    packet[2] = std::uint8_t(sum >> 8);
    packet[3] = std::uint8_t(sum);

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(address);
    const long long sentAt = nowMs();
    if (::sendto(m_fd, packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr *>(&to), sizeof to) < 0)
        return std::nullopt;
    const long long deadline = sentAt + waitMs;
    return m_kind == Socket::Datagram ? awaitDatagram(address, sequence, sentAt, deadline)
                                      : awaitRaw(address, sequence, sentAt, deadline);
}

std::optional<EchoReply> LinuxIcmpEcho::awaitDatagram(std::uint32_t, std::uint16_t sequence, long long sentAtMs,
                                                      long long deadlineMs)
{
    std::vector<unsigned char> buffer(kMaxPacket);
    short revents = 0;
    while (waitReadable(m_fd, deadlineMs, revents)) {
        if (revents & POLLERR) {
            // A router's or the target's error about one of our requests: the
            // request as we sent it comes back, the sender is in the error record.
            char control[512];
            sockaddr_in offenderName{};
            iovec io{buffer.data(), buffer.size()};
            msghdr message{};
            message.msg_name = &offenderName;
            message.msg_namelen = sizeof offenderName;
            message.msg_iov = &io;
            message.msg_iovlen = 1;
            message.msg_control = control;
            message.msg_controllen = sizeof control;
            const ssize_t n = ::recvmsg(m_fd, &message, MSG_ERRQUEUE | MSG_DONTWAIT);
            if (n < 0)
                continue;
            if (n >= ssize_t(kIcmpHeader) && read16(buffer.data() + 6) != sequence)
                continue; // about an earlier request that we gave up on
            for (cmsghdr *c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
                if (c->cmsg_level != SOL_IP || c->cmsg_type != IP_RECVERR)
                    continue;
                sock_extended_err error;
                std::memcpy(&error, CMSG_DATA(c), sizeof error);
                if (error.ee_origin != SO_EE_ORIGIN_ICMP)
                    return std::nullopt;
                if (error.ee_type != ICMP_TIME_EXCEEDED)
                    return std::nullopt;
                sockaddr_in offender;
                std::memcpy(&offender, SO_EE_OFFENDER(reinterpret_cast<sock_extended_err *>(CMSG_DATA(c))),
                            sizeof offender);
                return EchoReply{ntohl(offender.sin_addr.s_addr), std::uint32_t(nowMs() - sentAtMs)};
            }
            continue;
        }
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t n = ::recvfrom(m_fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                     reinterpret_cast<sockaddr *>(&from), &fromLength);
        if (n < ssize_t(kIcmpHeader))
            continue;
        if (buffer[0] == ICMP_ECHOREPLY && read16(buffer.data() + 6) == sequence)
            return EchoReply{ntohl(from.sin_addr.s_addr), std::uint32_t(nowMs() - sentAtMs)};
    }
    return std::nullopt;
}

std::optional<EchoReply> LinuxIcmpEcho::awaitRaw(std::uint32_t, std::uint16_t sequence, long long sentAtMs,
                                                 long long deadlineMs)
{
    std::vector<unsigned char> buffer(kMaxPacket);
    short revents = 0;
    while (waitReadable(m_fd, deadlineMs, revents)) {
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t n = ::recvfrom(m_fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                     reinterpret_cast<sockaddr *>(&from), &fromLength);
        if (n < 20)
            continue;
        const std::size_t length = std::size_t(n);
        const std::size_t headerLength = std::size_t(buffer[0] & 0x0f) * 4;
        if (headerLength < 20 || length < headerLength + kIcmpHeader)
            continue;
        const unsigned char *icmp = buffer.data() + headerLength;
        const std::size_t icmpLength = length - headerLength;
        Verdict verdict = Verdict::Unrelated;
        if (icmp[0] == ICMP_ECHOREPLY) {
            if (read16(icmp + 4) == m_identifier && read16(icmp + 6) == sequence)
                verdict = Verdict::Answer;
        } else if (icmp[0] == ICMP_TIME_EXCEEDED || icmp[0] == ICMP_DEST_UNREACH) {
            // The error quotes the IP header and the first eight bytes of our request.
            const unsigned char *quoted = icmp + kIcmpHeader;
            const std::size_t quotedLength = icmpLength - kIcmpHeader;
            if (quotedLength < 20)
                continue;
            const std::size_t quotedHeader = std::size_t(quoted[0] & 0x0f) * 4;
            if (quotedHeader < 20 || quotedLength < quotedHeader + kIcmpHeader || quoted[9] != IPPROTO_ICMP)
                continue;
            const unsigned char *request = quoted + quotedHeader;
            if (request[0] == ICMP_ECHO && read16(request + 4) == m_identifier && read16(request + 6) == sequence)
                verdict = icmp[0] == ICMP_TIME_EXCEEDED ? Verdict::Answer : Verdict::Refused;
        }
        if (verdict == Verdict::Refused)
            return std::nullopt;
        if (verdict == Verdict::Answer)
            return EchoReply{ntohl(from.sin_addr.s_addr), std::uint32_t(nowMs() - sentAtMs)};
    }
    return std::nullopt;
}

} // namespace talveros::platform
