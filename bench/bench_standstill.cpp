// How long the window's event loop stands still while the server does not answer.
// A 10 ms heartbeat timer notes every gap; a gap is time in which the window neither
// painted nor took input. The server is held with SIGSTOP for the whole scenario.
//
//   bench_standstill PORT SERVER_PID SCENARIO [--blocking] [--cancel-after MS] [--seconds S]
//
// SCENARIO is one of
//   connect   an action opens a connection to the stopped server
//   query     an action runs a statement on a connection opened before the stop
//   tracking  the main window with live tracking on, for S seconds (default 46.6)
// --blocking runs the calls on the window's own thread, as without the wait window;
// --cancel-after presses the wait window's button that many ms after it shows.
// Run by bench/run_standstill.sh.
#include "BenchServices.h"

#include "data/Connection.h"
#include "data/ConnectionSettings.h"
#include "mainwindow/Form1.h"
#include "messages/PresenceTab.h"
#include "platform/Action.h"
#include "platform/ServerWaitWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

using namespace talveros;

namespace {

class CountingDialogs final : public platform::Dialogs {
public:
    platform::Answer message(const QString &text, const QString &, platform::Icon, platform::Buttons) override
    {
        ++boxes;
        std::fprintf(stderr, "  box at %.1f s: %s\n", clock.elapsed() / 1000.0, qPrintable(text.simplified()));
        return platform::Answer::Ok;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return std::nullopt; }
    int boxes = 0;
    QElapsedTimer clock;
};

struct Heartbeat {
    QTimer timer;
    QElapsedTimer clock;
    qint64 last = 0, longest = 0, still = 0;
    Heartbeat()
    {
        timer.setInterval(10);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, [this] { beat(); });
        clock.start();
        timer.start();
    }
    void beat()
    {
        const qint64 now = clock.elapsed(), gap = now - last;
        last = now;
        longest = std::max(longest, gap);
        if (gap > 100)
            still += gap;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench_standstill PORT SERVER_PID connect|query|tracking [--blocking] "
                             "[--cancel-after MS] [--seconds S]\n");
        return 2;
    }
    const int port = std::atoi(argv[1]);
    const pid_t server = pid_t(std::atoi(argv[2]));
    const QByteArray scenario = argv[3];
    bool blocking = false;
    int cancelAfter = -1;
    double seconds = 46.6;
    for (int i = 4; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--blocking"))
            blocking = true;
        else if (!std::strcmp(argv[i], "--cancel-after") && i + 1 < argc)
            cancelAfter = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc)
            seconds = std::atof(argv[++i]);
    }
    data::overrideServerForTests(QStringLiteral("127.0.0.1"), port);

    platform::ServerWaitWindow waitWindow;
    std::unique_ptr<platform::WaitHookScope> hook;
    if (!blocking)
        hook = std::make_unique<platform::WaitHookScope>(&waitWindow);
    CountingDialogs dialogs;
    bench::BenchServices services(dialogs);

    // Presses the wait window's button a while after it shows.
    QTimer watch;
    if (cancelAfter >= 0) {
        QObject::connect(&watch, &QTimer::timeout, [&] {
            QWidget *shown = QApplication::activeModalWidget();
            if (!shown || shown->objectName() != QLatin1String("serverWait"))
                return;
            if (auto *button = shown->findChild<QPushButton *>(QStringLiteral("cancelWait"));
                button && !button->property("pressing").toBool()) {
                button->setProperty("pressing", true);
                QTimer::singleShot(cancelAfter, button, &QPushButton::click);
            }
        });
        watch.start(20);
    }

    std::unique_ptr<data::Connection> opened;
    std::unique_ptr<mainwindow::Form1> form;
    if (scenario == "query")
        opened = std::make_unique<data::Connection>(data::Database::Main);
    if (scenario == "tracking") {
        form = std::make_unique<mainwindow::Form1>(services.services);
        form->load();
        form->show();
        form->findChild<QCheckBox *>(QStringLiteral("Check1"))->setChecked(true);
    }

    ::kill(server, SIGSTOP);
    Heartbeat heart;
    dialogs.clock.start();
    if (scenario == "connect") {
        platform::runAction(dialogs, [] { data::Connection conn(data::Database::Main); });
    } else if (scenario == "query") {
        platform::runAction(dialogs, [&] { opened->query("SELECT 1"); });
    } else {
        QTimer::singleShot(int(seconds * 1000), &app, &QCoreApplication::quit);
        QApplication::exec();
    }
    heart.beat();
    ::kill(server, SIGCONT);

    std::printf("%-9s %-12s wall %7.1f s   longest standstill %7.3f s   stood still %7.1f s   boxes %d\n",
                scenario.constData(), blocking ? "blocking" : "wait window", heart.clock.elapsed() / 1000.0,
                heart.longest / 1000.0, heart.still / 1000.0, dialogs.boxes);
    // A call given up on may still be blocked in the driver; it is not waited for.
    std::fflush(stdout);
    std::_Exit(0);
}
