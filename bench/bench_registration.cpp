// One consultant (or project) created on a filled private server, timed from the
// administrator's Yes to the refreshed lists, against the leanest UTF-8 block fetch of
// the whole table in the same run (LeanFetch.h). The baseline opens its own ODBC
// connection and never runs through the program's data layer.
//
//   bench_registration consultant|project PORT [RUNS]
#include "BenchServices.h"

#include "data/ConnectionSettings.h"
#include "mainwindow/Form1.h"
#include "platform/PictureButton.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QElapsedTimer>

#include "LeanFetch.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace talveros;

namespace {

// Connect, select the whole table and fetch it (LeanFetch.h): what any program needs
// at least to have the table in hand.
double rawFetch(const char *table, size_t *rows)
{
    QElapsedTimer timer;
    timer.start();
    *rows = leanfetch::fetchTable(data::Database::Main, QString::fromLatin1(table)).rows;
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3 || (std::strcmp(argv[1], "consultant") != 0 && std::strcmp(argv[1], "project") != 0)) {
        std::fprintf(stderr, "usage: %s consultant|project PORT [RUNS]\n", argv[0]);
        return 2;
    }
    const bool project = std::strcmp(argv[1], "project") == 0;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    data::overrideServerForTests(QStringLiteral("127.0.0.1"), std::atoi(argv[2]));
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;

    bench::TimingDialogs dialogs;
    bench::BenchServices quiet(dialogs);
    platform::Services &services = quiet.services;

    mainwindow::Form1 form(services);
    form.load();
    const char *table = project ? "TALVERO_projecten" : "TALVERO_consultants";
    const QString done = project ? QStringLiteral("Het project is aangemaakt") : QStringLiteral("De consultant ");

    double bestRaw = 1e9, bestCreate = 1e9;
    long rawTrips = -1, createTrips = -1;
    size_t rows = 0;
    for (int run = 0; run < runs; ++run) {
        long trips = bench::roundTrips();
        bestRaw = std::min(bestRaw, rawFetch(table, &rows));
        rawTrips = trips < 0 ? -1 : bench::roundTrips() - trips;
        trips = bench::roundTrips();
        if (project) {
            // A name of its own each run and each process, so that no code is taken already.
            form.findChild<QLineEdit *>(QStringLiteral("Text54"))
                ->setText(QStringLiteral("B%1-%2").arg(QCoreApplication::applicationPid()).arg(run));
            emit form.findChild<platform::PictureButton *>(QStringLiteral("Image5"))->doubleClicked();
        } else {
            form.findChild<QLineEdit *>(QStringLiteral("Text100"))->setText(QStringLiteral("Bench%1").arg(run));
            emit form.findChild<platform::PictureButton *>(QStringLiteral("Image17"))->doubleClicked();
        }
        if (!dialogs.last.startsWith(done)) {
            std::fprintf(stderr, "bench_registration: %s\n", qPrintable(dialogs.last));
            return 1;
        }
        bestCreate = std::min(bestCreate, dialogs.elapsed);
        createTrips = trips < 0 ? -1 : bench::roundTrips() - trips;
    }
    const auto trips = [](long n) { return n < 0 ? std::string() : "  " + std::to_string(n) + " round trips"; };
    const int listed = form.findChild<QComboBox *>(project ? QStringLiteral("Combo3") : QStringLiteral("Combo1"))->count();
    std::printf("rows in %-22s %zu (listed after the last run: %d)\n", table, rows, listed);
    std::printf("raw UTF-8 fetch of the table    %.3f s (best of %d)%s\n", bestRaw, runs, trips(rawTrips).c_str());
    std::printf("Yes to lists refreshed          %.3f s (best of %d)%s\n", bestCreate, runs, trips(createTrips).c_str());
    std::printf("ratio                           %.2fx (target <= 1.50x)\n", bestCreate / bestRaw);
    return 0;
}
