#pragma once

#include "platform/Dialogs.h"
#include "platform/IcmpEcho.h"

#include <QString>

#include <functional>

namespace talveros::tools {

// Where a trace writes and how it lets the window live between hops.
struct TraceOutput {
    // The whole text of the trace so far, each time it grows.
    std::function<void(const QString &text)> show;
    // Runs between hops; false ends the trace at once without its closing line (the
    // window has gone).
    std::function<bool()> betweenHops;
};

inline constexpr int kFirstTimeToLive = 1;
inline constexpr int kLastTimeToLive = 255;
inline constexpr int kReplyWaitMs = 2400;
QByteArray echoData(); // 32 times "a"

// Traces the route to `host` with echo requests of rising time-to-live, one hop line
// per answer. It ends at the first request without an answer, or when an answer comes
// from the same address as the one before (one hop after the target answered). Every
// failure is shown in a box; the output is touched only once the handle is open.
void traceRoute(platform::IcmpEcho &icmp, platform::Dialogs &dialogs, const QString &host, const TraceOutput &output);

} // namespace talveros::tools
