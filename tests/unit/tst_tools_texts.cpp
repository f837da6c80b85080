#include "tools/Addresses.h"
#include "tools/ToolTexts.h"

#include <QtTest>

using namespace talveros::tools;

class TestToolTexts : public QObject {
    Q_OBJECT
private slots:
    void hopTimeAndBar_data();
    void hopTimeAndBar();
    void hopLine();
    void traceFrame();
    void mailto_data();
    void mailto();
    void administration();
    void webPages_data();
    void webPages();
    void siteRefusal();
    void dotted_data();
    void dotted();
};

void TestToolTexts::hopTimeAndBar_data()
{
    QTest::addColumn<uint>("ms");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("bar");
    QTest::newRow("0") << 0u << "000 ms" << "";
    QTest::newRow("1") << 1u << "001 ms" << "#";
    QTest::newRow("5") << 5u << "005 ms" << "#####";
    QTest::newRow("19") << 19u << "019 ms" << "###################";
    QTest::newRow("20") << 20u << "020 ms" << "####################";
    QTest::newRow("25") << 25u << "025 ms" << "####################";
    QTest::newRow("87") << 87u << "087 ms" << "####################";
    QTest::newRow("999") << 999u << "999 ms" << "####################";
    QTest::newRow("1000") << 1000u << "000 ms" << "####################";
    QTest::newRow("1050") << 1050u << "050 ms" << "####################";
    QTest::newRow("1200") << 1200u << "200 ms" << "####################";
    QTest::newRow("1201") << 1201u << "***" << "####################";
    QTest::newRow("1500") << 1500u << "***" << "####################";
    QTest::newRow("2400") << 2400u << "***" << "####################";
    QTest::newRow("max") << 0xffffffffu << "***" << "####################";
}

void TestToolTexts::hopTimeAndBar()
{
    QFETCH(uint, ms);
    QFETCH(QString, time);
    QFETCH(QString, bar);
    QCOMPARE(hopTime(ms), time);
    QCOMPARE(hopBar(ms), bar);
}

void TestToolTexts::hopLine()
{
    QCOMPARE(talveros::tools::hopLine(1, 0, QStringLiteral("10.0.0.1")),
             QStringLiteral(" Hop #\t1\t000 ms\t10.0.0.1\t\r\n"));
    QCOMPARE(talveros::tools::hopLine(255, 1500, QStringLiteral("192.168.100.254")),
             QStringLiteral(" Hop #\t255\t***\t192.168.100.254\t####################\r\n"));
    QCOMPARE(talveros::tools::hopLine(12, 3, QStringLiteral("1.2.3.4")), QStringLiteral(" Hop #\t12\t003 ms\t1.2.3.4\t###\r\n"));
}

void TestToolTexts::traceFrame()
{
    QCOMPARE(traceHeader(QStringLiteral("www.kordam.nl")), QStringLiteral("\r\n\r\n Tracing Route naar www.kordam.nl:\r\n\r\n"));
    QCOMPARE(traceClosing(QStringLiteral("www.kordam.nl")), QStringLiteral("\r\n Trace Route naar www.kordam.nl Compleet"));
}

void TestToolTexts::mailto_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("expected");
    const QString head = QStringLiteral("mailto:a@b.nl?cc=a@b.nl&bcc=a@b.nl&subject=Betreft: &body=");
    QTest::newRow("the mail's own body") << mailBody() << head + "TESTMAIL";
    QTest::newRow("empty body") << "" << head;
    QTest::newRow("CR LF pairs") << "a\r\nb\r\n" << head + "a%0D%0Ab%0D%0A";
    QTest::newRow("lone CR and LF stay") << "a\rb\nc\n\r" << head + "a\rb\nc\n\r";
    QTest::newRow("CR CR LF LF") << "\r\r\n\n" << head + "\r%0D%0A\n";
    QTest::newRow("blanks, ampersands, percent unencoded") << "x & y 100%" << head + "x & y 100%";
}

void TestToolTexts::mailto()
{
    QFETCH(QString, body);
    QFETCH(QString, expected);
    QCOMPARE(mailtoAddress(QStringLiteral("a@b.nl"), mailSubject(), body), expected);
    QVERIFY(mailtoAddress(addresses::mailbox(), mailSubject(), mailBody()).contains(u"&subject=Betreft: &body=TESTMAIL"));
}

void TestToolTexts::administration()
{

    QCOMPARE(administrationPrompt(QStringLiteral("db.kordam.nl")),
             QStringLiteral("Type Uw paswoord\r\n\r\nom toegang te verkrijgen tot PHP Myadmin.\r\n\r\n"
                            "MySQL client version: 4.1.21\r\ndb.kordam.nl via TCP/IP"));
    const QString page = addresses::administrationPage();
    const QString marker = QStringLiteral("/index.php?target=index.php&lang=nl-iso-8859-1&convcharset=iso-8859-1&token=");
    QVERIFY(page.startsWith(QStringLiteral("http://") + addresses::administrationHost() + u'/'));
    const qsizetype at = page.indexOf(marker);
    QVERIFY(at > 0);
    const QString token = page.mid(at + marker.size());
    QCOMPARE(token.size(), 32);
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-fA-F]{32}$")).match(token).hasMatch());
}

// Which stored web sites the web view is given; the others get a box instead.
void TestToolTexts::webPages_data()
{
    QTest::addColumn<QString>("site");
    QTest::addColumn<bool>("opened");
    QTest::newRow("http") << "http://www.smit.nl/" << true;
    QTest::newRow("https with path, query and port") << "https://waterschap.example:8443/inkoop?a=1&b=2" << true;
    QTest::newRow("scheme in capitals") << "HTTPS://WWW.SMIT.NL" << true;
    QTest::newRow("no scheme") << "www.smit.nl" << false;
    QTest::newRow("a single blank") << " " << false;
    QTest::newRow("local file") << "file:///etc/passwd" << false;
    QTest::newRow("file with a host") << "file://server/share/x.html" << false;
    QTest::newRow("bare path") << "/etc/passwd" << false;
    QTest::newRow("script") << "javascript:alert(1)" << false;
    QTest::newRow("data") << "data:text/html,<script>alert(1)</script>" << false;
    QTest::newRow("ftp") << "ftp://ftp.smit.nl/" << false;
    QTest::newRow("http without host") << "http:///etc/passwd" << false;
    QTest::newRow("http without slashes") << "http:www.smit.nl" << false;
    QTest::newRow("scheme-relative") << "//www.smit.nl/" << false;
    QTest::newRow("another scheme named like http") << "https-x://www.smit.nl/" << false;
}

void TestToolTexts::webPages()
{
    QFETCH(QString, site);
    QFETCH(bool, opened);
    QCOMPARE(opensAsWebPage(site), opened);
}

void TestToolTexts::siteRefusal()
{
    QCOMPARE(siteNotOpened(QStringLiteral("file:///etc/passwd")),
             QStringLiteral("De website \"file:///etc/passwd\" wordt niet geopend: alleen webadressen die beginnen met "
                            "http:// of https:// worden als webpagina getoond."));
    QCOMPARE(siteNotOpened(QStringLiteral("%1 %2")),
             QStringLiteral("De website \"%1 %2\" wordt niet geopend: alleen webadressen die beginnen met "
                            "http:// of https:// worden als webpagina getoond."));
}

void TestToolTexts::dotted_data()
{
    QTest::addColumn<uint>("address");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0u << "0.0.0.0";
    QTest::newRow("private") << 0x0A000102u << "10.0.1.2";
    QTest::newRow("high bytes") << 0xC0A8FFFEu << "192.168.255.254";
    QTest::newRow("broadcast") << 0xFFFFFFFFu << "255.255.255.255";
}

void TestToolTexts::dotted()
{
    QFETCH(uint, address);
    QFETCH(QString, text);
    QCOMPARE(dottedAddress(address), text);
}

QTEST_GUILESS_MAIN(TestToolTexts)
#include "tst_tools_texts.moc"
