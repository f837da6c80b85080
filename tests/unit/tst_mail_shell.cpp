// The desktop opener as the mail action uses it, with stand-in openers.
#include "platform/DesktopShell.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using namespace talveros;

class TestMailShell : public QObject {
    Q_OBJECT
private slots:
    void opener_data();
    void opener();
    void missingOpener();
    void openerStillRunningIsLeftAlone();
    void windowDoesNotWaitForTheOpener();

private:
    // Opens the address and waits, without blocking, for the desktop's verdict.
    static bool verdictOf(platform::DesktopShell &shell, const QString &address);
    QString makeOpener(const QString &body);
    QTemporaryDir m_dir;
    int m_count = 0;
};

QString TestMailShell::makeOpener(const QString &body)
{
    const QString path = m_dir.filePath(QStringLiteral("opener%1").arg(++m_count));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(("#!/bin/sh\n" + body + "\n").toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

bool TestMailShell::verdictOf(platform::DesktopShell &shell, const QString &address)
{
    std::optional<bool> verdict;
    shell.open(address, [&verdict](bool opened) { verdict = opened; });
    if (!QTest::qWaitFor([&verdict] { return verdict.has_value(); }, 10000))
        return false;
    return *verdict;
}

void TestMailShell::opener_data()
{
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("opened");
    QTest::newRow("handed on") << 0 << true;
    QTest::newRow("no program for the scheme") << 3 << false;
    QTest::newRow("the program failed") << 4 << false;
}

void TestMailShell::opener()
{
    QFETCH(int, exitCode);
    QFETCH(bool, opened);
    const QString seen = m_dir.filePath(QStringLiteral("seen%1").arg(m_count));
    const QString opener = makeOpener(QStringLiteral("printf '%s|%s' \"$#\" \"$1\" > '") + seen
                                      + QStringLiteral("'\nexit ") + QString::number(exitCode));
    platform::DesktopShell shell(opener);
    const QString address = QStringLiteral("mailto:a@b.nl?cc=a@b.nl&bcc=a@b.nl&subject=Betreft: &body=x%0D%0Ay \"'$HOME`");
    QCOMPARE(verdictOf(shell, address), opened);
    QFile file(seen);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // One argument, exactly the address: no encoding, no shell in between.
    QCOMPARE(QString::fromUtf8(file.readAll()), QStringLiteral("1|") + address);
}

void TestMailShell::missingOpener()
{
    platform::DesktopShell shell(m_dir.filePath(QStringLiteral("no-such-opener")));
    int verdicts = 0;
    bool opened = true;
    shell.open(QStringLiteral("mailto:a@b.nl"), [&](bool o) {
        ++verdicts;
        opened = o;
    });
    QTRY_COMPARE(verdicts, 1);
    QVERIFY(!opened);
}

void TestMailShell::openerStillRunningIsLeftAlone()
{
    const QString done = m_dir.filePath(QStringLiteral("done"));
    platform::DesktopShell shell(makeOpener(QStringLiteral("sleep 1\ntouch '") + done + u'\''), 100);
    int verdicts = 0;
    shell.open(QStringLiteral("mailto:a@b.nl"), [&](bool opened) { verdicts += opened ? 1 : 100; });
    QTRY_COMPARE(verdicts, 1);
    QVERIFY(!QFile::exists(done));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(done), 10000);
    // The opener's own end later gives no second verdict.
    QCOMPARE(verdicts, 1);
}

// An opener that takes its time (here: until the test lets it go) keeps nobody waiting,
// and its failure is still reported.
void TestMailShell::windowDoesNotWaitForTheOpener()
{
    const QString go = m_dir.filePath(QStringLiteral("go"));
    const QString opener =
        makeOpener(QStringLiteral("i=0\nwhile [ ! -e '") + go + QStringLiteral("' ] && [ $i -lt 400 ]; do sleep 0.05; i=$((i+1)); done\nexit 3"));
    platform::DesktopShell shell(opener, 60000);
    std::optional<bool> verdict;
    shell.open(QStringLiteral("mailto:a@b.nl"), [&verdict](bool opened) { verdict = opened; });
    QVERIFY(!verdict.has_value());
    QFile release(go);
    QVERIFY(release.open(QIODevice::WriteOnly));
    QTRY_VERIFY_WITH_TIMEOUT(verdict.has_value(), 10000);
    QCOMPARE(*verdict, false);
}

QTEST_GUILESS_MAIN(TestMailShell)
#include "tst_mail_shell.moc"
