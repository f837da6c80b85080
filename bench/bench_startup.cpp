// Time from the end of sign-in to a main window whose start-up is complete, against the
// leanest fetch of the three master tables it reads, side by side as start-up reads
// them (one connection and thread per table, raw ODBC, nothing of the data layer), on a
// filled private server.
//
//   bench_startup PORT [RUNS]
#include "BenchServices.h"
#include "data/KeptConnections.h"

#include "data/Connection.h"
#include "mainwindow/Form1.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>

#include <sys/resource.h>

#include "LeanFetch.h"

#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

using namespace talveros;

namespace {

class NoDialogs final : public platform::Dialogs {
public:
    platform::Answer message(const QString &text, const QString &, platform::Icon, platform::Buttons) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        failed = true;
        return platform::Answer::Ok;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return std::nullopt; }
    bool failed = false;
};

double leanFetch(size_t *rows)
{
    QElapsedTimer timer;
    timer.start();
    std::vector<leanfetch::Counts> counts(3);
    std::vector<std::thread> threads;
    const char *tables[] = {"TALVERO_consultants", "TALVERO_opdrachtgevers", "TALVERO_projecten"};
    for (size_t i = 0; i < 3; ++i) {
        threads.emplace_back([&counts, i, table = QString::fromLatin1(tables[i])] {
            counts[i] = leanfetch::fetchTable(data::Database::Main, table);
        });
    }
    for (auto &t : threads)
        t.join();
    *rows = counts[0].rows + counts[1].rows + counts[2].rows;
    return double(timer.nsecsElapsed()) / 1e9;
}

double startUp(platform::Services &services, NoDialogs &dialogs, int *listed, double *built)
{
    QElapsedTimer timer;
    timer.start();
    // Made as sign-in makes it.
    mainwindow::Form1 form(services, mainwindow::Form1::Reads::AtOnce);
    *built = double(timer.nsecsElapsed()) / 1e9;
    form.load();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (dialogs.failed)
        std::exit(1);
    // The window keeps its controls to itself; the project list is found by its name.
    auto *projects = form.findChild<QComboBox *>(QStringLiteral("Combo3"));
    if (!projects) {
        std::fprintf(stderr, "the window has no project list Combo3\n");
        std::exit(1);
    }
    *listed = projects->count();
    return seconds;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PORT [RUNS]\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    data::overrideServerForTests(QStringLiteral("127.0.0.1"), std::atoi(argv[1]));
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

    NoDialogs dialogs;
    bench::BenchServices quiet(dialogs);
    platform::Services &services = quiet.services;

    double bestRaw = 1e9, bestStart = 1e9, bestBuilt = 1e9;
    long rawTrips = -1, startTrips = -1;
    size_t rows = 0;
    int listed = 0;
    for (int run = 0; run < runs; ++run) {
        long trips = bench::roundTrips();
        bestRaw = std::min(bestRaw, leanFetch(&rows));
        rawTrips = trips < 0 ? -1 : bench::roundTrips() - trips;
        // As at the end of a sign-in: the one connection it used is kept, no other.
        data::kept::closeAll();
        {
            data::Connection signedIn(data::Database::Main);
            signedIn.session();
        }
        double built = 0;
        trips = bench::roundTrips();
        bestStart = std::min(bestStart, startUp(services, dialogs, &listed, &built));
        startTrips = trips < 0 ? -1 : bench::roundTrips() - trips;
        bestBuilt = std::min(bestBuilt, built);
    }
    const auto trips = [](long n) { return n < 0 ? std::string() : "  " + std::to_string(n) + " round trips"; };
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("rows in the three tables      %zu (projects listed: %d)\n", rows, listed);
    std::printf("leanest fetch, side by side   %.3f s (best of %d)%s\n", bestRaw, runs, trips(rawTrips).c_str());
    std::printf("sign-in end to Form1 ready    %.3f s (best of %d)%s\n", bestStart, runs, trips(startTrips).c_str());
    std::printf("  of which building the window %.3f s\n", bestBuilt);
    std::printf("ratio                         %.2fx (target <= 1.50x)\n", bestStart / bestRaw);
    std::printf("peak memory                   %.0f MiB\n", double(usage.ru_maxrss) / 1024.0);
    return 0;
}
