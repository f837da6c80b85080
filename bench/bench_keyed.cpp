// One row's work on tables that grow with the years: a sign-in (credential check and
// login-log row) and a sign-off (one consultant row), each the real action driven as
// the administrator drives it. Prints the median and best of RUNS in seconds; the run
// script compares a small table with a large one in the same run.
//
//   bench_keyed signin|signoff PORT [RUNS]
#include "BenchServices.h"

#include "data/ConnectionSettings.h"
#include "mainwindow/Form1.h"
#include "signin/MainWindowHost.h"
#include "signin/frmSplash.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
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

template <class Action>
std::vector<double> timed(int runs, Action &&action)
{
    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        action();
        seconds.push_back(double(timer.nsecsElapsed()) / 1e9);
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s signin|signoff PORT [RUNS]\n", argv[0]);
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

    std::vector<double> seconds;
    if (mode == "signin") {
        signin::WorkstationInfo info;
        NoMainWindow host;
        seconds = timed(runs, [&] {
            signin::frmSplash splash(services, info, host);
            splash.signIn();
        });
        if (host.shown != runs)
            return 1;
    } else if (mode == "signoff") {
        mainwindow::Form1 form(services);
        form.load();
        auto *signOff = form.findChild<platform::PictureButton *>(QStringLiteral("Image13"));
        seconds = timed(runs, [&] { emit signOff->doubleClicked(); });
        if (control.quits != runs)
            return 1;
    } else {
        return 2;
    }
    std::printf("%s median %.5f s best %.5f s (%d runs)\n", mode.constData(), seconds[seconds.size() / 2],
                seconds.front(), runs);
    return 0;
}
