#include "tools/RouteTrace.h"

#include "tools/ToolTexts.h"

namespace talveros::tools {

QByteArray echoData() { return QByteArray(32, 'a'); }

namespace {

void traceBox(platform::Dialogs &dialogs, const QString &text)
{
    dialogs.message(text, traceTitle(), platform::Icon::None, platform::Buttons::Ok);
}

// Ends the use of the network service however the trace ends.
struct ServiceInUse {
    platform::IcmpEcho &icmp;
    platform::Dialogs &dialogs;
    ~ServiceInUse()
    {
        if (!icmp.cleanup())
            dialogs.message(traceCleanupFailed(), QString::fromLatin1(platform::kAppTitle),
                            platform::Icon::Exclamation, platform::Buttons::Ok);
    }
};

struct HandleOpen {
    platform::IcmpEcho &icmp;
    ~HandleOpen() { icmp.close(); }
};

} // namespace

void traceRoute(platform::IcmpEcho &icmp, platform::Dialogs &dialogs, const QString &host, const TraceOutput &output)
{
    if (!icmp.startup()) {
        traceBox(dialogs, traceSocketsNotStarted());
        return;
    }
    ServiceInUse service{icmp, dialogs};

    // Sending to an address made up for a name that was not found would trace the
    // route to somewhere else entirely.
    const std::optional<std::uint32_t> target = icmp.resolve(host);
    if (!target) {
        traceBox(dialogs, traceHostNotFound(host));
        return;
    }
    if (!icmp.open()) {
        traceBox(dialogs, traceNoHandle());
        return;
    }
    HandleOpen handle{icmp};

    QString text = traceHeader(host);
    output.show(text);
    const QByteArray data = echoData();
    QString previous;
    QString answering;
    for (int timeToLive = kFirstTimeToLive; timeToLive <= kLastTimeToLive; ++timeToLive) {
        if (const auto reply = icmp.echo(*target, timeToLive, data, kReplyWaitMs)) {
            answering = dottedAddress(reply->address);
            text += hopLine(timeToLive, reply->roundTripMs, answering);
            output.show(text);
        }
        if (!output.betweenHops())
            return;
        if (answering == previous) {
            text += traceClosing(host);
            output.show(text);
            return;
        }
        previous = answering;
    }
}

} // namespace talveros::tools
