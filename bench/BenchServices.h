#pragma once

#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Clock.h"
#include "platform/DesktopShell.h"
#include "platform/Dialogs.h"
#include "platform/LinuxIcmpEcho.h"
#include "platform/LinuxSound.h"
#include "platform/QtAppControl.h"
#include "platform/QtPageOutput.h"
#include "platform/Services.h"
#include "platform/Workstation.h"

namespace talveros::bench {

// Round trips so far on the benchmarks' link, as the relay counts them (BENCH_ROUNDTRIPS,
// bench/server.sh); -1 without a relay.
inline long roundTrips()
{
    const char *file = std::getenv("BENCH_ROUNDTRIPS");
    if (!file)
        return -1;
    long trips = -1;
    if (FILE *f = std::fopen(file, "r")) {
        if (std::fscanf(f, "%ld", &trips) != 1)
            trips = -1;
        std::fclose(f);
    }
    return trips;
}

// "  N round trips" since `from`, for the end of a line; nothing without a relay.
inline std::string tripsSince(long from)
{
    const long now = roundTrips();
    return from < 0 || now < 0 ? std::string() : "  " + std::to_string(now - from) + " round trips";
}

// Answers Yes and notes when it did; the next box after that is the result, shown once
// the action is done: `elapsed` seconds later.
class TimingDialogs final : public platform::Dialogs {
public:
    platform::Answer message(const QString &text, const QString &, platform::Icon, platform::Buttons buttons) override
    {
        if (buttons == platform::Buttons::YesNo) {
            timer.start();
            return platform::Answer::Yes;
        }
        elapsed = double(timer.nsecsElapsed()) / 1e9;
        last = text;
        return platform::Answer::Ok;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return std::nullopt; }

    QElapsedTimer timer;
    double elapsed = 0;
    QString last;
};

// A measured action that shows a box has failed: the box is printed and the run ends.
class NoBoxes final : public platform::Dialogs {
public:
    platform::Answer message(const QString &text, const QString &, platform::Icon, platform::Buttons) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        std::exit(1);
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return std::nullopt; }
};

class NoPrinters final : public platform::Printers {
public:
    QStringList installed() const override { return {}; }
    QString defaultPrinter() const override { return {}; }
    void use(const QString &) override {}
};

class QuietWorkstation final : public platform::Workstation {
public:
    std::optional<QString> accountName() const override { return QStringLiteral("bench"); }
    std::vector<platform::BoardRecord> boards() const override { return {}; }
    std::vector<platform::AdapterRecord> adapters() const override { return {}; }
    QString dateSeparator() const override { return QStringLiteral("/"); }
    QString timeFormat() const override { return QStringLiteral("HH:mm:ss"); }
};

// The workstation as a benchmark's main window sees it: no printers and a fixed
// account, so that nothing outside the measured action varies; the services a measured
// action never calls are the real ones. The boxes are the benchmark's own.
struct BenchServices {
    explicit BenchServices(platform::Dialogs &dialogs)
        : services{dialogs, clock, printers, workstation, control, sound, shell, icmp, pages}
    {
    }

    platform::SystemClock clock;
    NoPrinters printers;
    QuietWorkstation workstation;
    platform::QtAppControl control;
    platform::LinuxSound sound;
    platform::DesktopShell shell;
    platform::LinuxIcmpEcho icmp;
    platform::QtPageOutput pages;
    platform::Services services;
};

} // namespace talveros::bench
