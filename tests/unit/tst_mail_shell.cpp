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

private:
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

void TestMailShell::opener_data()
{
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("opened");
    QTest::newRow("handed on") << 0 << true;
    QTest::newRow("no program for the scheme") << 3 << false;
    QTest::newRow("the program failed") << 4 << false;
}

// The opener takes its time (until the test lets it go): nobody waits for it, and its
// verdict still arrives.
void TestMailShell::opener()
{
    QFETCH(int, exitCode);
    QFETCH(bool, opened);
    const QString seen = m_dir.filePath(QStringLiteral("seen%1").arg(m_count));
    const QString go = seen + QStringLiteral(".go");
    const QString opener = makeOpener(QStringLiteral("printf '%s|%s' \"$#\" \"$1\" > '") + seen
                                      + QStringLiteral("'\ni=0\nwhile [ ! -e '") + go
                                      + QStringLiteral("' ] && [ $i -lt 400 ]; do sleep 0.05; i=$((i+1)); done\nexit ")
                                      + QString::number(exitCode));
    platform::DesktopShell shell(opener, 60000);
    const QString address = QStringLiteral("mailto:a@b.nl?cc=a@b.nl&bcc=a@b.nl&subject=Betreft: &body=x%0D%0Ay \"'$HOME`");
    std::optional<bool> verdict;
    shell.open(address, [&verdict](bool o) { verdict = o; });
    QVERIFY(!verdict.has_value());
    QFile release(go);
    QVERIFY(release.open(QIODevice::WriteOnly));
    QTRY_VERIFY_WITH_TIMEOUT(verdict.has_value(), 10000);
    QCOMPARE(*verdict, opened);
    QFile file(seen);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // One argument, exactly the address: no encoding, no shell in between.
    QCOMPARE(QString::fromUtf8(file.readAll()), QStringLiteral("1|") + address);
}

void TestMailShell::missingOpener()
{
    platform::DesktopShell shell(m_dir.filePath(QStringLiteral("no-such-opener")));
    std::optional<bool> verdict;
    shell.open(QStringLiteral("mailto:a@b.nl"), [&verdict](bool o) { verdict = o; });
    QTRY_VERIFY(verdict.has_value());
    QVERIFY(!*verdict);
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

QTEST_GUILESS_MAIN(TestMailShell)
#include "tst_mail_shell.moc"
