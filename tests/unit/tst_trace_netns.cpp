// A real route trace over ICMP, through namespaces this program builds around itself.
// It first moves into a network namespace of its own, so that no packet it sends can
// reach the machine's real network; without root (or where namespaces cannot be made)
// it skips with exit code 77.
#include "platform/LinuxIcmpEcho.h"
#include "support/Fakes.h"
#include "tools/RouteTrace.h"
#include "tools/ToolTexts.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cstdio>

using namespace talveros;
using Socket = platform::LinuxIcmpEcho::Socket;

Q_DECLARE_METATYPE(Socket)

namespace {

void allowPingSockets(bool allowed)
{
    QFile range(QStringLiteral("/proc/sys/net/ipv4/ping_group_range"));
    QVERIFY(range.open(QIODevice::WriteOnly));
    range.write(allowed ? "0 2147483647\n" : "1 0\n");
}

struct Trace {
    test::FakeDialogs dialogs;
    QString text;

    void run(platform::IcmpEcho &icmp, const QString &host)
    {
        tools::TraceOutput output;
        output.show = [this](const QString &t) { text = t; };
        output.betweenHops = [] { return true; };
        tools::traceRoute(icmp, dialogs, host, output);
    }
    // The addresses of the hop lines, each checked for its form.
    QStringList hops() const
    {
        QStringList addresses;
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        int expected = 1;
        for (const QString &line : lines) {
            if (!line.startsWith(u" Hop #"))
                continue;
            const QStringList fields = line.split(u'\t');
            if (fields.size() != 5 || fields[1] != QString::number(expected++)
                || !QRegularExpression(QStringLiteral("^(\\d{3} ms|\\*\\*\\*)$")).match(fields[2]).hasMatch())
                return {QStringLiteral("malformed: ") + line};
            addresses << fields[3];
        }
        return addresses;
    }
};

} // namespace

class TestTraceNamespaces : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void trace_data();
    void trace();
    void socketChoice();
    void noSocketAllowed();
    void unknownName();

private:
    QTemporaryDir m_work;
    QString m_script;
};

void TestTraceNamespaces::initTestCase()
{
    m_script = QStringLiteral(TALVEROS_TESTS_DIR "/trace/namespaces.sh");
    QVERIFY(!m_script.isEmpty());
    QProcess up;
    up.start(QStringLiteral("/bin/sh"), {m_script, QStringLiteral("up"), m_work.path()});
    QVERIFY(up.waitForFinished(60000));
    QVERIFY2(up.exitStatus() == QProcess::NormalExit && up.exitCode() == 0, up.readAllStandardError().constData());
}

void TestTraceNamespaces::cleanupTestCase()
{
    QProcess::execute(QStringLiteral("/bin/sh"), {m_script, QStringLiteral("down"), m_work.path()});
}

void TestTraceNamespaces::trace_data()
{
    QTest::addColumn<Socket>("socket");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QStringList>("hops");
    QTest::addColumn<bool>("waits"); // the last request waits out its time-out

    const QStringList far{"10.10.1.2", "10.10.2.2", "10.10.3.2", "10.10.3.2"};
    const QStringList near{"10.20.1.2", "10.20.1.2"};
    for (Socket socket : {Socket::Datagram, Socket::Raw}) {
        const char *kind = socket == Socket::Datagram ? "datagram" : "raw";
        QTest::addRow("%s, three hops", kind) << socket << "far.talveros.test" << far << false;
        QTest::addRow("%s, one hop", kind) << socket << "near.talveros.test" << near << false;
        QTest::addRow("%s, no answer", kind) << socket << "10.30.1.2" << QStringList() << true;
    }
}

void TestTraceNamespaces::trace()
{
    QFETCH(Socket, socket);
    QFETCH(QString, host);
    QFETCH(QStringList, hops);
    QFETCH(bool, waits);

    allowPingSockets(socket == Socket::Datagram);
    platform::LinuxIcmpEcho icmp(socket);
    Trace trace;
    QElapsedTimer clock;
    clock.start();
    trace.run(icmp, host);
    QVERIFY2(trace.dialogs.boxes.empty(), qPrintable(trace.dialogs.texts().join(u'\n')));
    QCOMPARE(trace.hops(), hops);
    QVERIFY(trace.text.startsWith(tools::traceHeader(host)));
    QVERIFY(trace.text.endsWith(tools::traceClosing(host)));
    const qint64 took = clock.elapsed();
    if (waits)
        QVERIFY2(took >= 2300 && took < 4000, qPrintable(QString::number(took)));
    else
        QVERIFY2(took < 2000, qPrintable(QString::number(took)));
}

void TestTraceNamespaces::socketChoice()
{
    for (bool pingSockets : {true, false}) {
        allowPingSockets(pingSockets);
        platform::LinuxIcmpEcho icmp;
        QVERIFY(icmp.open());
        QCOMPARE(icmp.openKind(), pingSockets ? Socket::Datagram : Socket::Raw);
        const auto reply = icmp.echo(0x0A140102, 64, tools::echoData(), 2400); // near
        QVERIFY(reply);
        QCOMPARE(reply->address, 0x0A140102u);
        icmp.close();
    }
}

void TestTraceNamespaces::noSocketAllowed()
{
    allowPingSockets(false);
    platform::LinuxIcmpEcho icmp(Socket::Datagram);
    Trace trace;
    trace.run(icmp, QStringLiteral("near.talveros.test"));
    QCOMPARE(trace.dialogs.texts(), QStringList{QStringLiteral("Unable to Open an Icmp File Handle")});
    QCOMPARE(trace.dialogs.boxes[0].title, QStringLiteral("Torlan TraceRT Demo"));
    QVERIFY(trace.text.isNull());
}

void TestTraceNamespaces::unknownName()
{
    platform::LinuxIcmpEcho icmp;
    Trace trace;
    trace.run(icmp, QStringLiteral("nowhere.talveros.test"));
    QCOMPARE(trace.dialogs.texts(), QStringList{tools::traceHostNotFound(QStringLiteral("nowhere.talveros.test"))});
    QCOMPARE(trace.dialogs.boxes[0].title, QStringLiteral("Torlan TraceRT Demo"));
    QVERIFY(trace.text.isNull());
}

int main(int argc, char *argv[])
{
    constexpr int kSkip = 77;
    if (::geteuid() != 0) {
        std::puts("SKIP: building network namespaces for a real trace needs root.");
        return kSkip;
    }
    // Before anything else, and while the program has one thread: from here on every
    // packet stays inside namespaces of our own.
    if (::unshare(CLONE_NEWNET | CLONE_NEWNS) != 0) {
        std::printf("SKIP: cannot make a network namespace of our own (%s).\n", std::strerror(errno));
        return kSkip;
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        std::printf("SKIP: cannot keep mounts to ourselves (%s).\n", std::strerror(errno));
        return kSkip;
    }
    for (const char *tool : {"ip", "nsenter", "unshare", "sysctl", "mount"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()
            && QStandardPaths::findExecutable(QString::fromLatin1(tool), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")})
                   .isEmpty()) {
            std::printf("SKIP: the tool '%s' is missing.\n", tool);
            return kSkip;
        }
    }
    QCoreApplication app(argc, argv);
    TestTraceNamespaces test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_trace_netns.moc"
