// The invoicing tab's actions on a filled private server: the payment overview, a
// client pick, and an invoice of 50 selected rows, each timed through the main window
// the program builds. Run by bench/run_invoicing.sh, which sets them against the
// leanest UTF-8 fetch of the whole Declaraties table (bench_walk utf8).
//
//   bench_invoicing overview|pick|invoice PORT [RUNS]
//
// Prints one line: mode, best seconds of the action alone, what it produced, the
// resident size before the first run and the peak resident size, in MiB.
#include "BenchServices.h"

#include "data/Connection.h"
#include "data/ConnectionSettings.h"
#include "invoicing/Declarations.h"
#include "invoicing/Invoicing.h"
#include "mainwindow/Form1.h"
#include "platform/Dialogs.h"
#include "platform/RowList.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

using namespace talveros;

namespace {

double peakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// The client with the most declarations: the heaviest pick there is.
QString busiestClient()
{
    data::Connection conn(data::Database::Declarations);
    const data::RowStore rows = conn.query("SELECT Opdrachtgevernaam FROM Declaraties WHERE Projectnaam <> '' "
                                           "GROUP BY Opdrachtgevernaam ORDER BY COUNT(*) DESC, Opdrachtgevernaam LIMIT 1");
    return rows.rowCount() ? rows.text(0, 0) : QString();
}

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// CPU seconds of the last timed action: on a busy machine the wall clock also counts
// the time others had the processor.
double lastCpu = 0;
// And its round trips, when a relay counts them (-1 otherwise).
long lastTrips = -1;

template <class Action>
double timed(Action &&action)
{
    QElapsedTimer timer;
    const double cpuStart = cpuSeconds();
    const long trips = bench::roundTrips();
    timer.start();
    action();
    lastCpu = cpuSeconds() - cpuStart;
    lastTrips = trips < 0 ? -1 : bench::roundTrips() - trips;
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s overview|pick|invoice PORT [RUNS]\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QByteArray mode = argv[1];
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    QApplication app(argc, argv);
    data::overrideServerForTests(QStringLiteral("127.0.0.1"), std::atoi(argv[2]));

    bench::NoBoxes dialogs;
    bench::BenchServices quiet(dialogs);
    platform::Services &services = quiet.services;

    mainwindow::Form1 form(services);
    form.load();
    auto *invoicing = form.findChild<invoicing::InvoicingController *>();
    auto *tab = form.findChild<invoicing::InvoicingTab *>();
    const QString client = busiestClient();
    const double before = residentMiB();

    double best = 1e9;
    double cpu = 0;
    QString produced;
    for (int run = 0; run < runs; ++run) {
        if (mode == "overview") {
            best = std::min(best, timed([&] { invoicing->loadPaymentOverview(); }));
            cpu = lastCpu;
            const long overviewTrips = lastTrips;
            // Where the time goes: the read and the row texts alone, without the lists.
            const double read = timed([] { invoicing::readPaymentOverview({true, true, false, false}, {true, false, false, false}); });
            produced = QStringLiteral("rows=%1+%2+%3+%4 pickers=%5+%6")
                           .arg(platform::listRowCount(tab->declarationList))
                           .arg(platform::listRowCount(tab->paidByClientsList))
                           .arg(platform::listRowCount(tab->unpaidToConsultantsList))
                           .arg(platform::listRowCount(tab->paidToConsultantsList))
                           .arg(tab->projectNamePicker->count())
                           .arg(tab->paidClientPicker->count())
                + QStringLiteral(" read=%1").arg(read, 0, 'f', 3);
            lastTrips = overviewTrips;
        } else if (mode == "pick" || mode == "invoice") {
            tab->clientPicker->setEditText(client);
            const double pick = timed([&] { invoicing->showClientDeclarations(); });
            if (mode == "pick") {
                best = std::min(best, pick);
                cpu = lastCpu;
                produced = QStringLiteral("rows=%1").arg(platform::listRowCount(tab->declarationList));
                continue;
            }
            const int count = platform::listRowCount(tab->declarationList);
            for (int i = 0; i < 50 && count > 0; ++i)
                platform::setListRowSelected(tab->declarationList, int(qint64(i) * count / 50), true);
            if (!tab->invoiceBox->isHidden())
                invoicing->toggleInvoice();
            best = std::min(best, timed([&] { invoicing->toggleInvoice(); }));
            cpu = lastCpu;
            produced = QStringLiteral("selected=%1 lines=%2")
                           .arg(platform::selectedListRows(tab->declarationList).size())
                           .arg(invoicing->invoiceLinesShown().size());
        } else {
            std::fprintf(stderr, "unknown mode %s\n", mode.constData());
            return 2;
        }
    }
    std::printf("%s seconds=%.3f cpu=%.3f %s before=%.1f peak=%.1f%s\n", mode.constData(), best, cpu,
                qPrintable(produced), before, peakMiB(),
                lastTrips < 0 ? "" : (" trips=" + std::to_string(lastTrips)).c_str());
    return 0;
}
