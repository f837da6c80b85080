// One row's work on tables that grow with the years: a sign-in (credential check and
// login-log row) and a sign-off (one consultant row), each the real action driven as
// the administrator drives it. Prints the median and best of RUNS in seconds; the run
// script compares a small table with a large one in the same run.
//
//   bench_keyed signin|signoff|edit|baseline PORT [RUNS]
//
// With a relay counting them (bench/server.sh), each line ends with the median round trips.
#include "BenchServices.h"

#include "LeanFetch.h"
#include "data/BoundSource.h"
#include "data/ConnectionSettings.h"
#include "data/KeptConnections.h"
#include "mainwindow/Form1.h"
#include "signin/MainWindowHost.h"
#include "signin/frmSplash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <cstdlib>
#include <vector>

using namespace talveros;

namespace {

// Sign-off ends the program; here it only counts, so that it can be measured again.
class CountingControl final : public platform::AppControl {
public:
    void quit(int) override { ++quits; }
    int quits = 0;
};

class NoMainWindow final : public signin::MainWindowHost {
public:
    bool showPrinters(const QStringList &, int) override { return false; }
    void showMainWindow() override { ++shown; }
    int shown = 0;
};

struct Measured {
    std::vector<double> seconds;
    std::vector<long> trips;
};

// Each run's seconds and round trips, sorted; `before` runs untimed ahead of each run.
template <class Before, class Action>
Measured timed(int runs, Before &&before, Action &&action)
{
    Measured m;
    for (int run = 0; run < runs; ++run) {
        before();
        const long trips = bench::roundTrips();
        QElapsedTimer timer;
        timer.start();
        action();
        m.seconds.push_back(double(timer.nsecsElapsed()) / 1e9);
        m.trips.push_back(trips < 0 ? -1 : bench::roundTrips() - trips);
    }
    std::sort(m.seconds.begin(), m.seconds.end());
    std::sort(m.trips.begin(), m.trips.end());
    return m;
}

// What the administrator does between two actions: long enough for a kept connection
// to be asked whether it is still alive before the next write.
void betweenActions() { QThread::msleep(1200); }

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s signin|signoff|edit|baseline PORT [RUNS]\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QByteArray mode = argv[1];
    data::overrideServerForTests(QStringLiteral("127.0.0.1"), std::atoi(argv[2]));
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 21;

    bench::NoBoxes dialogs;
    bench::BenchServices quiet(dialogs);
    CountingControl control;
    platform::Services services{dialogs,        quiet.clock, quiet.printers, quiet.workstation, control,
                                quiet.sound,    quiet.shell, quiet.icmp,     quiet.pages};

    Measured measured;
    if (mode == "signin") {
        // From the click to the main window: the sign-in window connected while the
        // administrator typed, as it does from a cold start.
        signin::WorkstationInfo info;
        NoMainWindow host;
        std::unique_ptr<signin::frmSplash> splash;
        measured = timed(
            runs,
            [&] {
                data::kept::closeAll();
                splash = std::make_unique<signin::frmSplash>(services, info, host);
                for (int waited = 0; data::kept::count() == 0 && waited < 100; ++waited)
                    QThread::msleep(20);
            },
            [&] { splash->signIn(); });
        if (host.shown != runs)
            return 1;
    } else if (mode == "signoff") {
        mainwindow::Form1 form(services);
        form.load();
        auto *signOff = form.findChild<platform::PictureButton *>(QStringLiteral("Image13"));
        measured = timed(runs, betweenActions, [&] { emit signOff->doubleClicked(); });
        if (control.quits != runs)
            return 1;
    } else if (mode == "edit") {
        // A bound box's edit written once the window is up: the client pane's assignment.
        mainwindow::Form1 form(services);
        form.load();
        auto *clients = form.findChild<data::BoundSource *>(QStringLiteral("Adodc2"));
        int run = 0;
        measured = timed(runs, betweenActions, [&] {
            clients->setPendingEdit(u"Opdrachtnaam", QStringLiteral("bench %1").arg(++run));
            clients->flushPendingEdit();
        });
    } else if (mode == "baseline") {
        // The leanest sign-in could be: one connection and one query of the administrators.
        measured = timed(runs, [] {}, [] { leanfetch::RawQuery query(data::Database::Main, "TALVERO_ADMINISTRATOR"); });
    } else {
        return 2;
    }
    const long trips = measured.trips[measured.trips.size() / 2];
    std::printf("%s median %.5f s best %.5f s (%d runs)%s\n", mode.constData(),
                measured.seconds[measured.seconds.size() / 2], measured.seconds.front(), runs,
                trips < 0 ? "" : ("  " + std::to_string(trips) + " round trips").c_str());
    return 0;
}
