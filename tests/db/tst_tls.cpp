#include "data/Connection.h"
#include "data/DbError.h"
#include "platform/Action.h"
#include "support/Fakes.h"
#include "support/TestDb.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace talveros;
using data::TlsMode;

// The program's own sessions against two private servers: the suite's plain one and one
// that offers TLS with a certificate authority of its own.
class TestTls : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_otherCa;

    static QString sessionCipher()
    {
        data::Connection conn(data::Database::Main);
        const data::RowStore status = conn.query("SHOW STATUS LIKE 'Ssl_cipher'");
        return status.rowCount() == 1 ? status.text(0, 1) : QStringLiteral("?");
    }

private slots:
    void initTestCase()
    {
        // A second authority that never signed anything this server holds.
        m_otherCa = m_dir.filePath(QStringLiteral("other-ca.pem"));
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                       m_dir.filePath(QStringLiteral("other-key.pem")), "-out", m_otherCa, "-days", "2", "-subj",
                       "/CN=Talveros test stranger"});
        QVERIFY(openssl.waitForFinished(30000));
        QCOMPARE(openssl.exitCode(), 0);
    }
    void cleanup() { data::useServer(data::defaultServer()); }

    void sessions_data()
    {
        QTest::addColumn<bool>("tlsServer");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("ca"); // "own", "own, odd path", "other" or none
        QTest::addColumn<QString>("outcome"); // "encrypted", "clear", or the start of the refusal
        const int off = int(TlsMode::Off), preferred = int(TlsMode::Preferred), required = int(TlsMode::Required),
                  verify = int(TlsMode::Verify);
        const QString noTls = QStringLiteral("Verbinding geweigerd: de databaseserver 127.0.0.1 (poort %1) biedt geen "
                                             "versleutelde verbinding (TLS) aan");
        QTest::newRow("preferred, TLS offered") << true << preferred << "" << "encrypted";
        QTest::newRow("required, TLS offered") << true << required << "" << "encrypted";
        QTest::newRow("verify with its own authority") << true << verify << "own" << "encrypted";
        QTest::newRow("verify, authority at a path with ; and blanks") << true << verify << "own, odd path"
                                                                      << "encrypted";
        QTest::newRow("off stays in clear text") << true << off << "" << "clear";
        QTest::newRow("preferred, no TLS offered") << false << preferred << "" << "clear";
        QTest::newRow("required, no TLS offered") << false << required << "" << noTls;
        QTest::newRow("verify, no TLS offered") << false << verify << "own" << noTls;
        QTest::newRow("verify with another authority")
            << true << verify << "other"
            << "Verbinding geweigerd: het certificaat van de databaseserver 127.0.0.1 (poort %1) is niet ondertekend "
               "door de certificaatautoriteit in %2, of staat niet op naam van 127.0.0.1";
    }
    void sessions()
    {
        QFETCH(bool, tlsServer);
        QFETCH(int, mode);
        QFETCH(QString, ca);
        QFETCH(QString, outcome);
        const int port = qEnvironmentVariableIntValue(tlsServer ? "TALVEROS_TEST_TLS_DB_PORT" : "TALVEROS_TEST_DB_PORT");
        QVERIFY(port > 0);
        data::ServerSettings s;
        s.address = QStringLiteral("127.0.0.1");
        s.port = port;
        s.tls = TlsMode(mode);
        const QString ownCa = qEnvironmentVariable("TALVEROS_TEST_TLS_DB_DIR") + QStringLiteral("/tls/ca.pem");
        if (ca == QLatin1String("own"))
            s.caFile = ownCa;
        else if (ca == QLatin1String("own, odd path")) {
            // The path goes into the connection string, where ; ends a key unless quoted.
            QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("ca dir")));
            s.caFile = m_dir.filePath(QStringLiteral("ca dir/own;ca=x.pem"));
            QFile::remove(s.caFile);
            QVERIFY(QFile::copy(ownCa, s.caFile));
        }
        else if (ca == QLatin1String("other"))
            s.caFile = m_otherCa;
        data::useServer(s);

        if (outcome == QLatin1String("encrypted") || outcome == QLatin1String("clear")) {
            QString cipher;
            try {
                cipher = sessionCipher();
            } catch (const data::DbError &e) {
                QFAIL(qPrintable(e.text()));
            }
            QCOMPARE(cipher.isEmpty(), outcome == QLatin1String("clear"));
            return;
        }
        // A refusal reaches the administrator as one box that says why and names the server.
        test::FakeDialogs dialogs;
        const bool ran = platform::runAction(dialogs, [] { sessionCipher(); });
        QVERIFY(!ran);
        QCOMPARE(dialogs.boxes.size(), size_t(1));
        // The port is named only when it is not the usual one.
        QString named = outcome;
        named.replace(QStringLiteral(" (poort %1)"), port == 3306 ? QString() : QStringLiteral(" (poort %1)").arg(port));
        const QString expected = named.contains(QLatin1String("%2")) ? named.arg(s.caFile) : named;
        QVERIFY2(dialogs.boxes.front().text.startsWith(expected), qPrintable(dialogs.boxes.front().text));
        try {
            data::Connection conn(data::Database::Main);
            QFAIL("the connection was not refused");
        } catch (const data::DbError &e) {
            QCOMPARE(int(e.kind()), int(data::ErrorKind::Unreachable));
        }
    }
};

QTEST_GUILESS_MAIN(TestTls)
#include "tst_tls.moc"
