// One consultant created through a node of a three-node cluster against the same on a
// single server, both filled alike and started by bench/run_cluster.sh; the runs
// alternate between the two. Besides the whole action (Yes to lists refreshed) it times
// the pieces the action is made of, so that the ratio can be put down to them:
//
//   connect          open and close one connection (each action opens its own)
//   read             one tiny query on an open connection: on the cluster it waits
//                    for the node to catch up with the others first (causal reads)
//   read, no wait    the same with that wait switched off for the session
//   commit           one single-row insert on its own (a login log row, as signing in
//                    adds): on the cluster the row is certified by every node before
//                    the commit returns
//   numbering        the registration's own write: lock, consistent read of the
//                    numbers, insert, commit
//
//   bench_cluster SERVER_PORT NODE_PORT [RUNS]
#include "BenchServices.h"

#include "data/Connection.h"
#include "data/ConnectionSettings.h"
#include "mainwindow/Form1.h"
#include "platform/PictureButton.h"
#include "platform/Dialogs.h"
#include "registration/RegistrationStore.h"
#include "registration/RegistrationTexts.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <vector>

using namespace talveros;

namespace {

double millis(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Target {
    int port;
    std::unique_ptr<bench::TimingDialogs> dialogs = std::make_unique<bench::TimingDialogs>();
    std::unique_ptr<bench::BenchServices> quiet;
    std::unique_ptr<mainwindow::Form1> form;
    std::map<QString, std::vector<double>> times;
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SERVER_PORT NODE_PORT [RUNS]\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 15;

    std::vector<Target> targets(2);
    targets[0].port = std::atoi(argv[1]);
    targets[1].port = std::atoi(argv[2]);
    for (Target &t : targets) {
        data::overrideServerForTests(QStringLiteral("127.0.0.1"), t.port);
        t.quiet = std::make_unique<bench::BenchServices>(*t.dialogs);
        t.form = std::make_unique<mainwindow::Form1>(t.quiet->services);
        t.form->load();
    }

    const registration::MasterTable consultants{QStringLiteral("TALVERO_consultants"),
                                                QStringLiteral("consultantnummer"),
                                                registration::consultantNumberInUse};
    for (int run = 0; run < runs; ++run) {
        for (Target &t : targets) {
            data::overrideServerForTests(QStringLiteral("127.0.0.1"), t.port);
            t.form->findChild<QLineEdit *>(QStringLiteral("Text100"))->setText(QStringLiteral("Bench%1").arg(run));
            emit t.form->findChild<platform::PictureButton *>(QStringLiteral("Image17"))->doubleClicked();
            if (!t.dialogs->last.startsWith(QLatin1String("De consultant "))) {
                std::fprintf(stderr, "bench_cluster: %s\n", qPrintable(t.dialogs->last));
                return 1;
            }
            t.times["whole action (Yes to lists)"].push_back(t.dialogs->elapsed * 1e3);
            t.times["numbering (store only)"].push_back(millis([&] {
                registration::insertNumberedRow(consultants, [](const QString &n) -> registration::Fields {
                    return {{"consultantnummer", n}};
                });
            }));
            t.times["connect"].push_back(millis([] {
                data::Connection conn(data::Database::Main);
                conn.close();
            }));
            data::Connection conn(data::Database::Main);
            t.times["read"].push_back(millis([&] { conn.query("SELECT 1"); }));
            t.times["commit"].push_back(millis([&] { conn.execute("INSERT INTO LOGINadministrator (LOGINnaam) VALUES ('bench')"); }));
            conn.execute("SET SESSION wsrep_sync_wait = 0");
            t.times["read, no wait"].push_back(millis([&] { conn.query("SELECT 1"); }));
        }
    }

    std::printf("median of %d runs, ms       one server   cluster node   ratio\n", runs);
    for (const char *name : {"whole action (Yes to lists)", "numbering (store only)", "connect", "read",
                             "read, no wait", "commit"}) {
        const double single = median(targets[0].times[name]);
        const double node = median(targets[1].times[name]);
        std::printf("%-28s %10.2f %14.2f %7.2fx\n", name, single, node, node / single);
    }
    return 0;
}
