// Text must reach the server and come back byte for byte whatever the workstation's
// locale and whatever character set the server would choose by default. This program
// runs in the C locale, without any Qt application object, against a server whose
// default character set is switched to latin1 for its duration.
#include "data/BoundSource.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/RecordSet.h"
#include "support/TestDb.h"

#include <QtTest>

#include <clocale>
#include <cstdio>
#include <cstdlib>

using namespace talveros;
using data::Connection;
using data::Database;
using data::DbError;
using data::RecordSet;
using talveros::test::tables::kProjects;

namespace {

// Runs statements as the server's administrator, through the project's own script.
bool asAdministrator(const QByteArray &sql)
{
    const QByteArray script = qgetenv("TALVEROS_DB_SCRIPT");
    const QByteArray dir = qgetenv("TALVEROS_TEST_DB_DIR");
    if (script.isEmpty() || dir.isEmpty())
        return false;
    FILE *client = popen(("'" + script + "' sql '" + dir + "' >/dev/null").constData(), "w");
    if (!client)
        return false;
    std::fputs(sql.constData(), client);
    return pclose(client) == 0;
}

bool serverDefault(const char *charset, const char *collation)
{
    return asAdministrator(QByteArray("SET GLOBAL character_set_server = ") + charset
                           + ";\nSET GLOBAL collation_server = " + collation + ";\n");
}

QString storedHex(qint64 nummer)
{
    Connection conn(Database::Main);
    const data::RowStore hex = conn.query("SELECT HEX(CommentaarADMIN) FROM TALVERO_projecten WHERE nummer = ?",
                                          {QByteArray::number(nummer)});
    return hex.rowCount() == 1 ? hex.text(0, 0) : QString();
}
} // namespace

class TestDataCharset : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(!QCoreApplication::instance());
        QCOMPARE(QByteArray(std::setlocale(LC_CTYPE, nullptr)), QByteArray("C"));
        test::useTestServer();
        QVERIFY2(serverDefault("latin1", "latin1_swedish_ci"), "the server's default could not be switched");
        Connection conn(Database::Main);
        const data::RowStore server = conn.query("SELECT @@global.character_set_server");
        QCOMPARE(server.text(0, 0), QStringLiteral("latin1"));
    }
    void cleanupTestCase() { QVERIFY(serverDefault("utf8mb4", "utf8mb4_general_ci")); }
    void init() { test::resetTable(Database::Main, kProjects); }

    void connectionAsksForUtf8()
    {
        QVERIFY(data::connectionString(Database::Main).contains(QLatin1String(";CHARSET=utf8mb4")));
        QVERIFY(data::connectionString(Database::Declarations).contains(QLatin1String(";CHARSET=utf8mb4")));
        Connection conn(Database::Main);
        const data::RowStore sets =
            conn.query("SELECT @@character_set_client, @@character_set_connection, @@character_set_results");
        for (int c = 0; c < 3; ++c)
            QCOMPARE(sets.text(0, c), QStringLiteral("utf8mb4"));
    }

    void textIsWrittenReadAndMatchedUnchanged_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("elsewhere"); // equal to it for the server's collation, not byte for byte
        QTest::newRow("accents") << QStringLiteral("Café Dïjk") << QStringLiteral("Cafe Dijk");
        QTest::newRow("outside latin1") << QStringLiteral("łódź € Ωmega") << QStringLiteral("lodz € Ωmega");
        QTest::newRow("four-byte") << QStringLiteral("klaar 👍") << QStringLiteral("KLAAR 👍");
        QTest::newRow("sharp s") << QStringLiteral("Straße") << QStringLiteral("Strasse");
    }
    void textIsWrittenReadAndMatchedUnchanged()
    {
        QFETCH(QString, value);
        QFETCH(QString, elsewhere);
        {
            Connection conn(Database::Main);
            RecordSet rs(conn, kProjects);
            rs.addNew();
            rs.setField(u"Projectcode", value);
            rs.setField(u"CommentaarADMIN", value);
            rs.update();
            QCOMPARE(rs.field(u"CommentaarADMIN"), value);
        }
        // Stored as UTF-8, not converted on the way.
        QCOMPARE(storedHex(1), QString::fromLatin1(value.toUtf8().toHex().toUpper()));

        // Read back, found by the bound source, and matched by the optimistic check.
        data::BoundSource source(QStringLiteral("Adodc3"), kProjects, true);
        source.refresh();
        QVERIFY(source.findWhere(u"Projectcode", value));
        QCOMPARE(source.field(u"CommentaarADMIN"), value);
        source.setPendingEdit(u"CommentaarADMIN", value + QStringLiteral(" ✓"));
        source.flushPendingEdit();
        QCOMPARE(storedHex(1), QString::fromLatin1((value + QStringLiteral(" ✓")).toUtf8().toHex().toUpper()));

        // A text the server's collation would call equal is another text here.
        Connection conn(Database::Main);
        RecordSet rs(conn, kProjects);
        QCOMPARE(rs.field(u"CommentaarADMIN"), value + QStringLiteral(" ✓"));
        conn.execute("UPDATE TALVERO_projecten SET CommentaarADMIN = ?", {(elsewhere + QStringLiteral(" ✓")).toUtf8()});
        rs.setField(u"CommentaarADMIN", QStringLiteral("mijn"));
        QVERIFY_THROWS_EXCEPTION(DbError, rs.update());
    }
};

int main(int argc, char *argv[])
{
    // The workstation's locale must not matter: everything runs in the C locale.
    setenv("LC_ALL", "C", 1);
    std::setlocale(LC_ALL, "");
    TestDataCharset test;
    QTEST_SET_MAIN_SOURCE_PATH
    const int failures = QTest::qExec(&test, argc, argv);
    // Whatever happened above, the server the other tests share gets its default back.
    serverDefault("utf8mb4", "utf8mb4_general_ci");
    return failures;
}

#include "tst_datacharset.moc"
