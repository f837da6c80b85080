#pragma once

#include "platform/IcmpEcho.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace talveros::test {

// Answers echo requests from a script and records what was asked of it.
class FakeIcmpEcho final : public platform::IcmpEcho {
public:
    struct Request {
        std::uint32_t address;
        int timeToLive;
        QByteArray data;
        int waitMs;
    };

    bool startup() override
    {
        ++startups;
        return starts;
    }
    std::optional<std::uint32_t> resolve(const QString &host) override
    {
        resolved << host;
        return resolvesTo;
    }
    bool open() override
    {
        ++opens;
        return opensHandle;
    }
    std::optional<platform::EchoReply> echo(std::uint32_t address, int timeToLive, const QByteArray &data,
                                            int waitMs) override
    {
        requests.push_back({address, timeToLive, data, waitMs});
        if (duringRequest)
            duringRequest();
        if (replies.empty())
            return std::nullopt;
        const auto reply = replies.front();
        replies.pop_front();
        return reply;
    }
    void close() override { ++closes; }
    bool cleanup() override
    {
        ++cleanups;
        return cleansUp;
    }

    // The scripted answers, one per request; an empty optional is a request that got
    // no answer, and running out means no answer from then on.
    std::deque<std::optional<platform::EchoReply>> replies;
    bool starts = true;
    std::optional<std::uint32_t> resolvesTo = 0x0A000001; // 10.0.0.1
    bool opensHandle = true;
    bool cleansUp = true;
    std::function<void()> duringRequest; // e.g. a second click while a request waits

    int startups = 0, opens = 0, closes = 0, cleanups = 0;
    QStringList resolved;
    std::vector<Request> requests;
};

} // namespace talveros::test
