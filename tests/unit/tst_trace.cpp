#include "support/Fakes.h"
#include "tools/RouteTrace.h"
#include "tools/ToolTexts.h"

#include <QtTest>

using namespace talveros;
using platform::EchoReply;

namespace {

const QString kHost = QStringLiteral("www.example.test");
const QString kTitle = QStringLiteral("Torlan TraceRT Demo");

// "10.0.1.1/5" answers from 10.0.1.1 after 5 ms; "-" is a request without answer.
std::optional<EchoReply> step(const QString &text)
{
    if (text == u"-")
        return std::nullopt;
    const QStringList parts = text.split(u'/');
    const QStringList bytes = parts[0].split(u'.');
    std::uint32_t address = 0;
    for (const QString &b : bytes)
        address = address << 8 | b.toUInt();
    return EchoReply{address, parts[1].toUInt()};
}

struct Run {
    test::FakeDialogs dialogs;
    test::FakeIcmpEcho icmp;
    QStringList shown;
    int pauses = 0;
    int pausesAllowed = 1000;

    void trace(const QStringList &steps = {})
    {
        for (const QString &s : steps)
            icmp.replies.push_back(step(s));
        tools::TraceOutput output;
        output.show = [this](const QString &text) { shown << text; };
        output.betweenHops = [this] { return ++pauses <= pausesAllowed; };
        tools::traceRoute(icmp, dialogs, kHost, output);
    }
    QString text() const { return shown.isEmpty() ? QString() : shown.last(); }
};

} // namespace

class TestTrace : public QObject {
    Q_OBJECT
private slots:
    void loop_data();
    void loop();
    void requests();
    void textGrowsLineByLine();
    void failures_data();
    void failures();
    void windowGoneEndsTrace();
};

void TestTrace::loop_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("lines"); // hop lines expected, in order
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("requests");

    const QString head = tools::traceHeader(kHost);
    QTest::newRow("first request unanswered") << QStringList{"-", "10.0.0.9/1"} << QStringList{} << true << 1;
    QTest::newRow("target one hop away")
        << QStringList{"10.0.0.1/0", "10.0.0.1/0"}
        << QStringList{" Hop #\t1\t000 ms\t10.0.0.1\t\r\n", " Hop #\t2\t000 ms\t10.0.0.1\t\r\n"} << true << 2;
    QTest::newRow("three hops, target written twice")
        << QStringList{"10.0.1.1/1", "10.0.2.1/25", "10.0.0.1/1500", "10.0.0.1/1200"}
        << QStringList{" Hop #\t1\t001 ms\t10.0.1.1\t#\r\n", " Hop #\t2\t025 ms\t10.0.2.1\t####################\r\n",
                       " Hop #\t3\t***\t10.0.0.1\t####################\r\n",
                       " Hop #\t4\t200 ms\t10.0.0.1\t####################\r\n"}
        << true << 4;
    QTest::newRow("same router twice ends early")
        << QStringList{"10.0.1.1/2", "10.0.1.1/3", "10.0.0.1/4"}
        << QStringList{" Hop #\t1\t002 ms\t10.0.1.1\t##\r\n", " Hop #\t2\t003 ms\t10.0.1.1\t###\r\n"} << true << 2;
    QTest::newRow("silent hop after an answer")
        << QStringList{"10.0.1.1/2", "-", "10.0.0.1/4"} << QStringList{" Hop #\t1\t002 ms\t10.0.1.1\t##\r\n"} << true
        << 2;

    QStringList all;
    QStringList lines;
    for (int ttl = 1; ttl <= 255; ++ttl) {
        const QString address = QStringLiteral("10.1.%1.%2").arg(ttl / 200).arg(ttl % 200);
        all << address + QStringLiteral("/0");
        lines << tools::hopLine(ttl, 0, address);
    }
    all << QStringLiteral("10.9.9.9/0");
    QTest::newRow("255 hops, never complete") << all << lines << false << 255;
}

void TestTrace::loop()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, lines);
    QFETCH(bool, closed);
    QFETCH(int, requests);

    Run run;
    run.trace(steps);
    QCOMPARE(run.text(), tools::traceHeader(kHost) + lines.join(QString()) + (closed ? tools::traceClosing(kHost) : QString()));
    QCOMPARE(int(run.icmp.requests.size()), requests);
    QVERIFY(run.dialogs.boxes.empty());
    QCOMPARE(run.icmp.opens, 1);
    QCOMPARE(run.icmp.closes, 1);
    QCOMPARE(run.icmp.cleanups, 1);
}

void TestTrace::requests()
{
    Run run;
    run.icmp.resolvesTo = 0xC0A80A05;
    run.trace({"10.0.1.1/1", "10.0.2.1/1", "192.168.10.5/1", "192.168.10.5/1"});
    QCOMPARE(run.icmp.resolved, QStringList{kHost});
    QCOMPARE(int(run.icmp.requests.size()), 4);
    for (int i = 0; i < 4; ++i) {
        const auto &r = run.icmp.requests[size_t(i)];
        QCOMPARE(r.timeToLive, i + 1);
        QCOMPARE(r.address, 0xC0A80A05u);
        QCOMPARE(r.data, QByteArray(32, 'a'));
        QCOMPARE(r.waitMs, 2400);
    }
    QCOMPARE(run.pauses, 4); // the window gets its turn after every request
}

void TestTrace::textGrowsLineByLine()
{
    Run run;
    run.trace({"10.0.0.1/0", "10.0.0.1/0"});
    const QString head = tools::traceHeader(kHost);
    const QString hop1 = tools::hopLine(1, 0, QStringLiteral("10.0.0.1"));
    const QString hop2 = tools::hopLine(2, 0, QStringLiteral("10.0.0.1"));
    QCOMPARE(run.shown, (QStringList{head, head + hop1, head + hop1 + hop2, head + hop1 + hop2 + tools::traceClosing(kHost)}));
}

void TestTrace::failures_data()
{
    QTest::addColumn<bool>("starts");
    QTest::addColumn<bool>("resolves");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("cleansUp");
    QTest::addColumn<QStringList>("boxes"); // "title|text|icon"
    QTest::addColumn<bool>("traced");
    QTest::addColumn<int>("cleanups");

    const QString socketsBox = kTitle + "| Unable to initialize the Windows Sockets|0";
    const QString handleBox = kTitle + "|Unable to Open an Icmp File Handle|0";
    const QString hostBox = kTitle + u'|' + tools::traceHostNotFound(kHost) + "|0";
    const QString cleanupBox = QStringLiteral("Talveros| Windows Sockets error occurred during Cleanup.|2");

    QTest::newRow("sockets not started") << false << true << true << true << QStringList{socketsBox} << false << 0;
    QTest::newRow("host not found") << true << false << true << true << QStringList{hostBox} << false << 1;
    QTest::newRow("no handle") << true << true << false << true << QStringList{handleBox} << false << 1;
    QTest::newRow("no handle, cleanup fails") << true << true << false << false << QStringList{handleBox, cleanupBox}
                                              << false << 1;
    QTest::newRow("cleanup fails after a trace") << true << true << true << false << QStringList{cleanupBox} << true << 1;
}

void TestTrace::failures()
{
    QFETCH(bool, starts);
    QFETCH(bool, resolves);
    QFETCH(bool, opens);
    QFETCH(bool, cleansUp);
    QFETCH(QStringList, boxes);
    QFETCH(bool, traced);
    QFETCH(int, cleanups);

    Run run;
    run.icmp.starts = starts;
    if (!resolves)
        run.icmp.resolvesTo.reset();
    run.icmp.opensHandle = opens;
    run.icmp.cleansUp = cleansUp;
    run.trace({"10.0.0.1/0", "10.0.0.1/0"});

    QStringList seen;
    for (const auto &b : run.dialogs.boxes) {
        QCOMPARE(b.buttons, platform::Buttons::Ok);
        seen << b.title + u'|' + b.text + u'|'
                + QString::number(b.icon == platform::Icon::None ? 0 : b.icon == platform::Icon::Exclamation ? 2 : 9);
    }
    QCOMPARE(seen, boxes);
    QCOMPARE(!run.shown.isEmpty(), traced);
    QCOMPARE(int(run.icmp.requests.size()), traced ? 2 : 0);
    QCOMPARE(run.icmp.cleanups, cleanups);
    QCOMPARE(run.icmp.closes, traced ? 1 : 0);
    if (!resolves)
        QCOMPARE(run.icmp.opens, 0); // nothing opened, nothing sent
}

void TestTrace::windowGoneEndsTrace()
{
    Run run;
    run.pausesAllowed = 1;
    run.trace({"10.0.1.1/0", "10.0.2.1/0", "10.0.3.1/0", "10.0.3.1/0"});
    QCOMPARE(int(run.icmp.requests.size()), 2);
    QVERIFY(!run.text().contains(u"Compleet"));
    QCOMPARE(run.icmp.closes, 1);
    QCOMPARE(run.icmp.cleanups, 1);
}

QTEST_GUILESS_MAIN(TestTrace)
#include "tst_trace.moc"
