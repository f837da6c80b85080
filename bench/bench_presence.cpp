// One refresh of the presence lists (both tables re-read, every line built, both lists
// sorted and filled) against the leanest UTF-8 block fetch of the same two whole tables
// in the same run (LeanFetch.h), which never runs through the program's own code.
//
//   bench_presence PORT [RUNS]
//
// Run by bench/run_presence.sh, which fills the server first.
#include "data/BoundSource.h"
#include "data/ConnectionSettings.h"
#include "data/DbError.h"
#include "messages/Presence.h"
#include "messages/PresenceTab.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>

#include "BenchServices.h"
#include "LeanFetch.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <vector>

using namespace talveros;

namespace {

qint64 leanFetch(const char *table)
{
    return leanfetch::fetchTable(data::Database::Main, QString::fromLatin1(table)).chars;
}

double seconds(const QElapsedTimer &timer) { return double(timer.nsecsElapsed()) / 1e9; }

// Both tables one after the other, and side by side as the refresh reads them.
double baselineInTurn()
{
    QElapsedTimer timer;
    timer.start();
    leanFetch("TALVERO_consultants");
    leanFetch("TALVERO_opdrachtgevers");
    return seconds(timer);
}

double baselineTogether()
{
    QElapsedTimer timer;
    timer.start();
    auto consultants = std::async(std::launch::async, leanFetch, "TALVERO_consultants");
    auto clients = std::async(std::launch::async, leanFetch, "TALVERO_opdrachtgevers");
    consultants.get();
    clients.get();
    return seconds(timer);
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
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    data::BoundSource consultants(QStringLiteral("Adodc1"), QStringLiteral("TALVERO_consultants"), false);
    data::BoundSource clients(QStringLiteral("Adodc2"), QStringLiteral("TALVERO_opdrachtgevers"), true);
    messages::PresenceTab tab;
    tab.resize(1000, 700);
    tab.show();

    double bestInTurn = 1e9, bestTogether = 1e9, bestRefresh = 1e9;
    std::string togetherTrips, refreshTrips;
    try {
        for (int run = 0; run < runs; ++run) {
            bestInTurn = std::min(bestInTurn, baselineInTurn());
            long trips = bench::roundTrips();
            bestTogether = std::min(bestTogether, baselineTogether());
            togetherTrips = bench::tripsSince(trips);
            trips = bench::roundTrips();
            QElapsedTimer timer;
            timer.start();
            messages::refreshPresenceLists(consultants, clients, *tab.consultantPresenceList,
                                           *tab.clientPresenceList);
            bestRefresh = std::min(bestRefresh, seconds(timer));
            refreshTrips = bench::tripsSince(trips);
        }
    } catch (const data::DbError &e) {
        std::fprintf(stderr, "bench_presence: %s\n", e.what());
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("lines                              %d consultants, %d clients\n",
                tab.consultantPresenceList->count(), tab.clientPresenceList->count());
    std::printf("first consultant line              %s\n", qPrintable(tab.consultantPresenceList->item(0)->text()));
    std::printf("lean UTF-8 fetch, tables in turn   %.3f s (best of %d)\n", bestInTurn, runs);
    std::printf("lean UTF-8 fetch, side by side     %.3f s%s\n", bestTogether, togetherTrips.c_str());
    std::printf("one presence refresh               %.3f s%s\n", bestRefresh, refreshTrips.c_str());
    std::printf("ratio to the faster fetch          %.2fx (target <= 1.50x)\n",
                bestRefresh / std::min(bestInTurn, bestTogether));
    std::printf("peak memory                        %.0f MiB\n", double(usage.ru_maxrss) / 1024.0);
    return 0;
}
