#include "data/ServerConfig.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace talveros::data;

namespace {
ServerSettings defaults()
{
    ServerSettings s;
    s.address = QStringLiteral("192.0.2.10");
    return s;
}
const char *const kPem = "-----BEGIN CERTIFICATE-----\nMIIB\n-----END CERTIFICATE-----\n";
} // namespace

class TestServerConfig : public QObject {
    Q_OBJECT
private slots:
    void goodFiles_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("tls");
        QTest::addColumn<QString>("ca");
        const int off = int(TlsMode::Off), preferred = int(TlsMode::Preferred), required = int(TlsMode::Required),
                  verify = int(TlsMode::Verify);
        QTest::newRow("empty file keeps the defaults") << "" << "192.0.2.10" << 3306 << preferred << "";
        QTest::newRow("comments and blank lines only") << "# nothing yet\n\n   \n  # indented\n"
                                                       << "192.0.2.10" << 3306 << preferred << "";
        QTest::newRow("every key, CR LF, comments after values")
            << "address = db.provider.nl   # the provider\r\nport=3307\r\ntls = verify\r\nca = /etc/talveros/ca.pem\r\n"
            << "db.provider.nl" << 3307 << verify << "/etc/talveros/ca.pem";
        QTest::newRow("byte order mark, no final newline") << "\xEF\xBB\xBF" "address = 203.0.113.7"
                                                           << "203.0.113.7" << 3306 << preferred << "";
        QTest::newRow("modes in any case") << "tls = REQUIRED\n" << "192.0.2.10" << 3306 << required << "";
        QTest::newRow("off") << "tls = off\n" << "192.0.2.10" << 3306 << off << "";
        QTest::newRow("IPv6 address") << "address = 2001:db8::5\n" << "2001:db8::5" << 3306 << preferred << "";
        QTest::newRow("highest port") << "port = 65535\n" << "192.0.2.10" << 65535 << preferred << "";
        QTest::newRow("path with blanks and semicolon")
            << "tls = verify\nca = /srv/ca dir/a;b.pem\n" << "192.0.2.10" << 3306 << verify << "/srv/ca dir/a;b.pem";
    }
    void goodFiles()
    {
        QFETCH(QString, text);
        QFETCH(QString, address);
        QFETCH(int, port);
        QFETCH(int, tls);
        QFETCH(QString, ca);
        const ServerConfig c = parseServerConfig(text, defaults());
        QVERIFY2(!c.error, c.error ? qPrintable(c.error->message) : "");
        QCOMPARE(c.settings.address, address);
        QCOMPARE(c.settings.port, port);
        QCOMPARE(int(c.settings.tls), tls);
        QCOMPARE(c.settings.caFile, ca);
    }

    // The file names only the keys it sets; the rest are the program's own.
    void origins_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("addressInFile");
        QTest::addColumn<bool>("portInFile");
        QTest::newRow("no keys") << "# nothing yet\n" << false << false;
        QTest::newRow("address only") << "address = db.provider.nl\n" << true << false;
        QTest::newRow("port only, the usual one") << "port = 3306\n" << false << true;
        QTest::newRow("both") << "port = 3307\naddress = 203.0.113.7\n" << true << true;
    }
    void origins()
    {
        QFETCH(QString, text);
        QFETCH(bool, addressInFile);
        QFETCH(bool, portInFile);
        const ServerConfig c = parseServerConfig(text, defaults());
        QVERIFY(!c.error);
        QCOMPARE(c.settings.addressOrigin == SettingOrigin::ServerFile, addressInFile);
        QCOMPARE(c.settings.portOrigin == SettingOrigin::ServerFile, portInFile);
    }

    // What the administrator reads when the connection could not be opened, by what the
    // driver reported (as it reports it here: a closed port, an unknown name, a port that
    // accepts and stays silent) and where address and port came from.
    void connectFailures_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("tls");
        QTest::addColumn<QString>("origins"); // "address", "port", "both" in the file, or none
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("native");
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("text");
        const int preferred = int(TlsMode::Preferred), off = int(TlsMode::Off), verify = int(TlsMode::Verify);
        const QString closed = QStringLiteral("[ma-3.1.15]Can't connect to server on '127.0.0.1' (115)");
        const QString unknown = QStringLiteral("[ma-3.1.15]Unknown server host 'db.provider.nl' (-2)");
        const QString silent = QStringLiteral("[ma-3.1.15]Lost connection to server at 'handshake: reading initial "
                                              "communication packet', system error: 110");
        const QString said = QStringLiteral("\n\nMelding van het stuurprogramma: ");
        QTest::newRow("closed port, built-in")
            << "127.0.0.1" << 3306 << preferred << "" << "HY000" << 2002 << closed
            << "De databaseserver is niet te bereiken op adres 127.0.0.1, poort 3306 (ingebouwde standaardinstelling; "
               "een ander adres hoort in /etc/talveros/server.conf)." + said + closed;
        QTest::newRow("unknown name from the file")
            << "db.provider.nl" << 3307 << preferred << "both" << "HY000" << 2005 << unknown
            << "De databaseserver is niet te bereiken op adres db.provider.nl, poort 3307 (adres en poort uit "
               "/etc/talveros/server.conf)." + said + unknown;
        QTest::newRow("silent port, address from the file")
            << "db.provider.nl" << 3306 << preferred << "address" << "08S01" << 2013 << silent
            << "De databaseserver is niet te bereiken op adres db.provider.nl, poort 3306 (adres uit "
               "/etc/talveros/server.conf, poort volgens de ingebouwde standaardinstelling)." + said + silent;
        QTest::newRow("port from the file, IPv6 address, TLS off")
            << "2001:db8::5" << 3310 << off << "port" << "HY000" << 2003 << "x"
            << "De databaseserver is niet te bereiken op adres 2001:db8::5, poort 3310 (poort uit "
               "/etc/talveros/server.conf, adres volgens de ingebouwde standaardinstelling)." + said + "x";
        QTest::newRow("time-out without a number")
            << "10.0.0.1" << 3306 << preferred << "" << "HYT00" << 0 << "Timeout expired"
            << "De databaseserver is niet te bereiken op adres 10.0.0.1, poort 3306 (ingebouwde standaardinstelling; "
               "een ander adres hoort in /etc/talveros/server.conf)." + said + "Timeout expired";
        QTest::newRow("no description at all")
            << "10.0.0.1" << 3306 << preferred << "" << "08001" << 0 << ""
            << "De databaseserver is niet te bereiken op adres 10.0.0.1, poort 3306 (ingebouwde standaardinstelling; "
               "een ander adres hoort in /etc/talveros/server.conf).";
        QTest::newRow("percent signs stay as they are")
            << "h%1" << 3306 << preferred << "" << "HY000" << 2002 << "%2 %3"
            << "De databaseserver is niet te bereiken op adres h%1, poort 3306 (ingebouwde standaardinstelling; "
               "een ander adres hoort in /etc/talveros/server.conf)." + said + "%2 %3";
        // The server answered: what it said is the whole story.
        QTest::newRow("wrong password") << "10.0.0.1" << 3306 << preferred << "both" << "28000" << 1045
                                        << "Access denied for user" << "Access denied for user";
        // Refusals of the encryption say which refusal it was, as before.
        QTest::newRow("TLS not offered")
            << "10.0.0.1" << 3307 << verify << "both" << "HY000" << 2026 << "TLS/SSL error: server does not support"
            << "Verbinding geweigerd: de databaseserver 10.0.0.1 (poort 3307) biedt geen versleutelde verbinding (TLS) "
               "aan, en deze computer eist die (tls = verify)." + said + "TLS/SSL error: server does not support";
    }
    void connectFailures()
    {
        QFETCH(QString, address);
        QFETCH(int, port);
        QFETCH(int, tls);
        QFETCH(QString, origins);
        QFETCH(QString, state);
        QFETCH(int, native);
        QFETCH(QString, driver);
        QFETCH(QString, text);
        ServerSettings s;
        s.address = address;
        s.port = port;
        s.tls = TlsMode(tls);
        s.caFile = s.tls == TlsMode::Verify ? QStringLiteral("/etc/talveros/ca.pem") : QString();
        const bool both = origins == QLatin1String("both");
        s.addressOrigin = both || origins == QLatin1String("address") ? SettingOrigin::ServerFile : SettingOrigin::BuiltIn;
        s.portOrigin = both || origins == QLatin1String("port") ? SettingOrigin::ServerFile : SettingOrigin::BuiltIn;
        QCOMPARE(connectFailureText(s, state, native, driver), text);
    }

    void badLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("message");
        QTest::newRow("no equals sign") << "# server\naddress 10.0.0.1\n" << 2
                                        << "\"address 10.0.0.1\" is geen instelling; verwacht wordt sleutel = waarde.";
        QTest::newRow("unknown key") << "adres = 10.0.0.1\n" << 1
                                     << "onbekende sleutel \"adres\"; bekend zijn address, port, tls en ca.";
        QTest::newRow("key twice") << "port = 3306\n\nport = 3307\n" << 3
                                   << "port staat al op regel 1; elke sleutel mag één keer voorkomen.";
        QTest::newRow("empty value") << "address =   # later\n" << 1 << "address heeft geen waarde.";
        QTest::newRow("connection-string keys smuggled in the address")
            << "address = 10.0.0.1;database=other\n" << 1 << "\"10.0.0.1;database=other\" is geen hostnaam of IP-adres.";
        QTest::newRow("blank inside the address") << "address = db server\n" << 1
                                                  << "\"db server\" is geen hostnaam of IP-adres.";
        QTest::newRow("numbers out of range") << "address = 300.1.1.1\n" << 1
                                              << "\"300.1.1.1\" is geen hostnaam of IP-adres.";
        QTest::newRow("label ending in a hyphen") << "address = db-.example.nl\n" << 1
                                                  << "\"db-.example.nl\" is geen hostnaam of IP-adres.";
        QTest::newRow("port zero") << "port = 0\n" << 1 << "\"0\" is geen poortnummer (1 tot en met 65535).";
        QTest::newRow("port too high") << "port = 65536\n" << 1 << "\"65536\" is geen poortnummer (1 tot en met 65535).";
        QTest::newRow("port with a sign") << "port = +3306\n" << 1 << "\"+3306\" is geen poortnummer (1 tot en met 65535).";
        QTest::newRow("port not a number") << "port = 33o6\n" << 1 << "\"33o6\" is geen poortnummer (1 tot en met 65535).";
        QTest::newRow("unknown mode") << "tls = yes\n" << 1
                                      << "\"yes\" is geen waarde voor tls; kies off, preferred, required of verify.";
        QTest::newRow("relative ca") << "tls = verify\nca = certs/ca.pem\n" << 2
                                     << "ca moet een volledig pad zijn, beginnend met /: \"certs/ca.pem\".";
        QTest::newRow("brace in the ca path") << "tls = verify\nca = /etc/ca}.pem\n" << 2
                                              << "het pad \"/etc/ca}.pem\" bevat een accolade, die de verbinding niet kan doorgeven.";
        QTest::newRow("verify without ca") << "address = 10.0.0.1\ntls = verify\n" << 2
                                           << "tls = verify heeft ca nodig: het PEM-bestand met de certificaatautoriteit van de server.";
        QTest::newRow("ca with required") << "ca = /etc/talveros/ca.pem\ntls = required\n" << 1
                                          << "ca wordt alleen gebruikt met tls = verify, en tls is hier required.";
        QTest::newRow("ca without tls") << "ca = /etc/talveros/ca.pem\n" << 1
                                        << "ca wordt alleen gebruikt met tls = verify, en tls is hier niet gezet (preferred).";
        QTest::newRow("first fault wins") << "port = x\nfoo = 1\n" << 1 << "\"x\" is geen poortnummer (1 tot en met 65535).";
    }
    void badLines()
    {
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(QString, message);
        const ServerConfig c = parseServerConfig(text, defaults());
        QVERIFY(c.error);
        QCOMPARE(c.error->line, line);
        QCOMPARE(c.error->message, message);
    }

    // The file on disk: absent means defaults, present but unusable stops the program.
    void files_data()
    {
        QTest::addColumn<QString>("setup"); // what to make at <dir>/server.conf
        QTest::addColumn<int>("line");      // -1: no error
        QTest::addColumn<QString>("message");
        QTest::newRow("no file") << "none" << -1 << "";
        QTest::newRow("unreadable file") << "unreadable" << 0 << "Het bestand kan niet worden gelezen";
        QTest::newRow("a directory") << "directory" << 0 << "Het is een map, geen bestand.";
        QTest::newRow("ca that does not exist") << "missing-ca" << 2 << "kan niet worden gelezen.";
        QTest::newRow("ca that is no certificate") << "not-pem" << 2 << "bevat geen certificaat in PEM-vorm.";
        QTest::newRow("ca that is a certificate") << "good-ca" << -1 << "";
    }
    void files()
    {
        QFETCH(QString, setup);
        QFETCH(int, line);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("server.conf"));
        const QString ca = dir.filePath(QStringLiteral("ca.pem"));
        auto write = [](const QString &file, const QByteArray &bytes) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        if (setup == QLatin1String("directory")) {
            QVERIFY(QDir().mkpath(path));
        } else if (setup == QLatin1String("unreadable")) {
            write(path, "address = 10.0.0.1\n");
            QFile(path).setPermissions({});
            if (QFile(path).open(QIODevice::ReadOnly))
                QSKIP("root reads any file");
        } else if (setup != QLatin1String("none")) {
            write(path, "tls = verify\nca = " + ca.toUtf8() + "\n");
            if (setup == QLatin1String("not-pem"))
                write(ca, "just text\n");
            else if (setup == QLatin1String("good-ca"))
                write(ca, kPem);
        }
        const ServerConfig c = readServerConfig(path, defaults());
        if (line < 0) {
            QVERIFY2(!c.error, c.error ? qPrintable(c.error->message) : "");
            return;
        }
        QVERIFY(c.error);
        QCOMPARE(c.error->line, line);
        QVERIFY2(c.error->message.contains(message), qPrintable(c.error->message));
        const QString box = serverConfigErrorText(path, *c.error);
        QVERIFY(box.contains(path));
        QCOMPARE(box.contains(QStringLiteral("Regel %1: ").arg(line)), line > 0);
    }
};

QTEST_GUILESS_MAIN(TestServerConfig)
#include "tst_serverconfig.moc"
