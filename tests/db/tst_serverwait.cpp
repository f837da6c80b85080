#include "data/Connection.h"
#include "data/KeptConnections.h"
#include "data/DbError.h"
#include "data/ServerWait.h"
#include "platform/Action.h"
#include "platform/ServerWaitWindow.h"
#include "support/FakeWait.h"
#include "support/Fakes.h"
#include "support/TestDb.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSpontaneKeyEvent>
#include <QWindow>
#include <QtTest>

#include <chrono>
#include <csignal>
#include <thread>

using namespace talveros;
using data::Connection;
using data::Database;

namespace {

// The test server holds still (SIGSTOP) for the life of the scope, as a server does
// that stops answering mid-way.
class StoppedServer {
public:
    StoppedServer()
    {
        QFile file(qEnvironmentVariable("TALVEROS_TEST_DB_DIR") + QStringLiteral("/mysqld.pid"));
        if (file.open(QIODevice::ReadOnly))
            m_pid = file.readAll().trimmed().toInt();
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGSTOP);
        // The stop takes effect once every thread of the server has taken it.
        QTRY_VERIFY_WITH_TIMEOUT(state() == 'T', 5000);
        m_stopped = true;
    }
    ~StoppedServer()
    {
        if (m_pid > 0)
            ::kill(m_pid, SIGCONT);
    }
    StoppedServer(const StoppedServer &) = delete;
    StoppedServer &operator=(const StoppedServer &) = delete;
    bool stopped() const { return m_stopped; }
    void resume() const { ::kill(m_pid, SIGCONT); }

private:
    char state() const
    {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(m_pid));
        if (!stat.open(QIODevice::ReadOnly))
            return '?';
        const QByteArray line = stat.readAll();
        const qsizetype after = line.lastIndexOf(')');
        return after >= 0 && after + 2 < line.size() ? line.at(after + 2) : '?';
    }

    int m_pid = 0;
    bool m_stopped = false;
};

int sleepingConnections()
{
    Connection conn(Database::Main);
    return conn.query("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE INFO LIKE 'SELECT SLEEP(%'")
        .text(0, 0)
        .toInt();
}

} // namespace

class TestServerWait : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::useTestServer(); }

    // Rows, counts and failures come back through the worker as they would directly.
    void callsGiveTheSameThroughTheWait_data()
    {
        QTest::addColumn<QByteArray>("sql");
        QTest::addColumn<QString>("expected");
        QTest::newRow("rows") << QByteArray("SELECT 'a''b', NULL, REPEAT('x', 70000) UNION ALL SELECT 'é', '2', ''")
                              << "a'b|<null>|70000;é|2|0";
        QTest::newRow("no rows") << QByteArray("SELECT 1 FROM DUAL WHERE 1 = 0") << "";
        QTest::newRow("count") << QByteArray("UPDATE TALVERO_berichten SET Bericht = Bericht WHERE 1 = 0") << "count 0";
        QTest::newRow("column count") << QByteArray("INSERT INTO LOGINadministrator (LOGINnaam) VALUES (NULL, NULL)")
                                 << "failure Other";
        QTest::newRow("syntax") << QByteArray("SELEC 1") << "failure Other";
    }
    void callsGiveTheSameThroughTheWait()
    {
        QFETCH(QByteArray, sql);
        QFETCH(QString, expected);
        const auto run = [&sql] {
            try {
                Connection conn(Database::Main);
                if (!sql.startsWith("SELECT"))
                    return QStringLiteral("count %1").arg(conn.execute(sql));
                const data::RowStore rows = conn.query(sql);
                QStringList lines;
                for (size_t r = 0; r < rows.rowCount(); ++r) {
                    QStringList fields;
                    for (int c = 0; c < rows.columnCount(); ++c) {
                        const QString text = rows.text(r, c);
                        fields << (rows.isNull(r, c) ? QStringLiteral("<null>")
                                   : c == 2            ? QString::number(text.size())
                                                       : text);
                    }
                    lines << fields.join(u'|');
                }
                return lines.join(u';');
            } catch (const data::DbError &e) {
                return QStringLiteral("failure %1")
                    .arg(e.kind() == data::ErrorKind::RefusedData ? "RefusedData" : "Other");
            }
        };
        const QString direct = run();
        test::FakeWait hook;
        platform::WaitHookScope scope(&hook);
        const QString waited = run();
        QVERIFY(hook.waits > 0);
        QCOMPARE(waited, direct);
        QCOMPARE(waited, expected);
    }

    // Giving up ends the action with the usual box, and the connection still busy on the
    // server is closed when its statement ends, not left behind.
    void givingUpEndsTheActionAndLetsTheConnectionGo()
    {
        test::FakeWait hook;
        hook.giveUp = true;
        test::FakeDialogs dialogs;
        data::kept::closeAll(); // a connection that has to be opened
        {
            platform::WaitHookScope scope(&hook);
            const bool done = platform::runAction(dialogs, [] {
                try {
                    Connection conn(Database::Main);
                } catch (const data::DbError &e) {
                    QCOMPARE(e.kind(), data::ErrorKind::Unreachable);
                    throw;
                }
            });
            QVERIFY(!done);
        }
        QCOMPARE(dialogs.texts(), QStringList{data::abandonedWaitError().text()});

        Connection conn(Database::Main);
        hook.giveUp = false;
        {
            platform::WaitHookScope scope(&hook);
            hook.giveUp = true;
            QVERIFY_THROWS_EXCEPTION(data::DbError, conn.query("SELECT SLEEP(0.5)"));
            QVERIFY(!conn.isOpen());
        }
        // Seconds, not forever: on a loaded machine the statement's end takes a while to
        // reach the server.
        QTRY_COMPARE_WITH_TIMEOUT(sleepingConnections(), 0, 15000);
    }

    // A refresh or any other action that comes while another waits does not start.
    void nothingElseStartsInsideAWait()
    {
        test::FakeWait hook;
        bool waiting = false;
        hook.meanwhile = [&] { waiting = data::waitingForServer(); };
        data::kept::closeAll();
        platform::WaitHookScope scope(&hook);
        Connection conn(Database::Main);
        QVERIFY(waiting);
        QVERIFY(!data::waitingForServer());
    }

    // The server stops answering in the middle of an action: the window goes on
    // painting, shows a busy cursor at once and the wait window after its delay, whose
    // button ends the action with the usual box long before the driver gives up. The
    // window cannot be closed under the action meanwhile.
    void aStoppedServerCanBeGivenUp()
    {
        Connection conn(Database::Main);
        platform::ServerWaitWindow waitWindow(300);
        platform::WaitHookScope scope(&waitWindow);
        test::FakeDialogs dialogs;

        QWidget window;
        window.show();
        QElapsedTimer clock;
        qint64 lastBeat = -1, longestStill = 0, shownAt = -1;
        bool busyCursor = false;
        QString shownText;
        QTimer beat;
        beat.setInterval(10);
        connect(&beat, &QTimer::timeout, this, [&] {
            const qint64 now = clock.elapsed();
            if (lastBeat >= 0)
                longestStill = std::max(longestStill, now - lastBeat);
            lastBeat = now;
            if (!busyCursor && QApplication::overrideCursor()
                && QApplication::overrideCursor()->shape() == Qt::BusyCursor) {
                busyCursor = true;
                // The desktop closing the window while the action waits: a close that
                // comes from the window system, not from the program.
                QCloseEvent close;
                QSpontaneKeyEvent::setSpontaneous(&close);
                QApplication::instance()->notify(window.windowHandle(), &close);
            }
            auto *shown = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!shown || shown->objectName() != QLatin1String("serverWait") || shownAt >= 0)
                return;
            shownAt = now;
            shownText = shown->findChild<QLabel *>(QStringLiteral("serverWaitText"))->text();
            QTimer::singleShot(100, shown->findChild<QPushButton *>(QStringLiteral("cancelWait")),
                               &QPushButton::click);
        });

        StoppedServer stopped;
        QVERIFY(stopped.stopped());
        clock.start();
        beat.start();
        const bool done = platform::runAction(dialogs, [&conn] { conn.query("SELECT 1"); });
        const qint64 ended = clock.elapsed();
        beat.stop();

        QVERIFY(!done);
        QCOMPARE(dialogs.texts(), QStringList{data::abandonedWaitError().text()});
        QVERIFY(busyCursor);
        QVERIFY(window.isVisible());
        QCOMPARE(shownText, QStringLiteral("Wachten op de server\u2026"));
        QVERIFY2(shownAt >= 300, qPrintable(QString::number(shownAt)));
        QVERIFY2(ended < data::settings::kReadTimeoutSeconds * 1000 / 2, qPrintable(QString::number(ended)));
        QVERIFY2(longestStill < 2000, qPrintable(QString::number(longestStill)));
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!QApplication::activeModalWidget());
    }

    // An action that still talks to the server once the application is ending (storing
    // an edit on the way out) is not given up because no event loop runs any more.
    void callsStillRunWhileTheApplicationEnds()
    {
        platform::ServerWaitWindow waitWindow(50);
        platform::WaitHookScope scope(&waitWindow);
        test::FakeDialogs dialogs;
        QString answer;
        QTimer::singleShot(0, this, [&] {
            QCoreApplication::exit(0);
            platform::runAction(dialogs, [&] {
                Connection conn(Database::Main);
                answer = conn.query("SELECT SLEEP(0.2), 42").text(0, 1);
            });
        });
        QCoreApplication::exec();
        QCOMPARE(dialogs.texts(), QStringList{});
        QCOMPARE(answer, QStringLiteral("42"));
    }

    // Nor when the application is asked to end while the wait window shows.
    void theApplicationEndingDoesNotGiveAWaitUp()
    {
        Connection conn(Database::Main);
        platform::ServerWaitWindow waitWindow(50);
        platform::WaitHookScope scope(&waitWindow);
        test::FakeDialogs dialogs;
        QString answer;
        StoppedServer stopped;
        QVERIFY(stopped.stopped());
        std::thread resume;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            QWidget *shown = QApplication::activeModalWidget();
            if (!shown || shown->objectName() != QLatin1String("serverWait") || resume.joinable())
                return;
            QCoreApplication::exit(0);
            // No loop runs from here on; the server answers again a moment later.
            resume = std::thread([&stopped] {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                stopped.resume();
            });
        });
        watch.start(10);
        QTimer::singleShot(0, this, [&] {
            platform::runAction(dialogs, [&] { answer = conn.query("SELECT 42").text(0, 0); });
        });
        QTimer giveUp; // the test never hangs
        giveUp.setSingleShot(true);
        connect(&giveUp, &QTimer::timeout, this, [] { QCoreApplication::exit(1); });
        giveUp.start(20000);
        QCoreApplication::exec();
        QVERIFY(resume.joinable());
        resume.join();
        QCOMPARE(dialogs.texts(), QStringList{});
        QCOMPARE(answer, QStringLiteral("42"));
    }

    // The next action after a given-up wait starts afresh once the server answers.
    void theNextActionStartsAfresh()
    {
        platform::ServerWaitWindow waitWindow;
        platform::WaitHookScope scope(&waitWindow);
        Connection conn(Database::Main);
        QCOMPARE(conn.query("SELECT 41 + 1").text(0, 0), QStringLiteral("42"));
    }
};

QTEST_MAIN(TestServerWait)
#include "tst_serverwait.moc"
