#include "data/BoundSource.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/KeptConnections.h"
#include "data/NamedLock.h"
#include "data/Transaction.h"
#include "data/RecordSet.h"
#include "support/FaultProxy.h"
#include "support/TestDb.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QtTest>

#include <thread>

using namespace talveros;
using data::Connection;
using data::Database;
using data::DbError;
using data::RecordSet;
using namespace talveros::test::tables;
using test::Row;
using test::s;

namespace {
// Tables without a key, each written only the way the program writes it (and so its
// account may): the login log is added to, the message row rewritten, project data rows
// deleted. The projects' key is generated.
const QStringList kAdminColumns{QStringLiteral("LOGIN"), QStringLiteral("PASWOORD")};
const QString kLoginLog = QStringLiteral("LOGINadministrator");
const QStringList kDataColumns{QStringLiteral("nummer"), QStringLiteral("Gegevens")};
const QStringList kMessageColumn{QStringLiteral("Bericht")};

QString currentUser()
{
    Connection conn(Database::Main);
    return conn.query("SELECT CURRENT_USER()").text(0, 0).section(u'@', 0, 0);
}
} // namespace

// A write that must be stored: a refusal fails the case, not the whole program.
#define STORES(statement)                                                                                  \
    do {                                                                                                   \
        try {                                                                                              \
            statement;                                                                                     \
        } catch (const DbError &e) {                                                                       \
            QFAIL(qPrintable(QStringLiteral(#statement " was refused: ") + e.text()));                     \
        }                                                                                                  \
    } while (false)

// A write refused because its row changed meanwhile, not for any other reason (such as
// a privilege the program's account lacks).
#define REFUSED_AS_CHANGED(statement)                                                                      \
    do {                                                                                                   \
        try {                                                                                              \
            statement;                                                                                     \
            QFAIL(#statement " was stored");                                                               \
        } catch (const DbError &e) {                                                                       \
            QVERIFY2(e.kind() == data::ErrorKind::ChangedElsewhere, qPrintable(e.text()));                 \
        }                                                                                                  \
    } while (false)

class TestDataLayer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::useTestServer(); }
    void init()
    {
        test::useTestServer(); // a failed case may have left another server chosen
        test::resetTable(Database::Main, kAdmins);
        test::resetTable(Database::Main, kProjects);
        test::resetTable(Database::Main, kProjectData);
        test::resetTable(Database::Main, kConsultants);
        test::resetTable(Database::Main, kClients);
        test::resetTable(Database::Main, kLoginLog);
        test::resetTable(Database::Main, kMessages);
    }

    void connectionStringIsTheNetworksOwn()
    {
        data::overrideServerForTests(QStringLiteral("10.1.2.3"), 3306);
        QCOMPARE(data::connectionString(Database::Main),
                 QStringLiteral("driver={MySQL ODBC 3.51 Driver};server=10.1.2.3;uid=kordamrg;pwd=t7oKmaxu;"
                                "database=kordamrg_KORDAMdata;option=16387;CONN_TIMEOUT=10;READ_TIMEOUT=60;"
                                "WRITE_TIMEOUT=60;CHARSET=utf8mb4;INITSTMT={SET SESSION wsrep_sync_wait = 3};FORCETLS=1"));
        QVERIFY(data::connectionString(Database::Declarations)
                    .startsWith(QStringLiteral("driver={MySQL ODBC 3.51 Driver};server=10.1.2.3;uid=kordamrg;"
                                               "pwd=t7oKmaxu;database=kordamrg_KORDAMdeclaraties;option=16387;")));
        test::useTestServer();
    }

    // The tests' own set-up signs in as the private server's administrative account, on
    // the thread that asked only and only while asked: the program's own threads and
    // everything after keep the program's account.
    void administrativeAccountIsTheCallingThreadsOnly()
    {
        QCOMPARE(currentUser(), QStringLiteral("kordamrg"));
        {
            test::AsAdmin admin;
            QCOMPARE(currentUser(), QString::fromLatin1(test::kAdminUser));
            QString elsewhere;
            std::thread([&elsewhere] { elsewhere = data::connectionString(Database::Main); }).join();
            QVERIFY2(elsewhere.contains(QLatin1String(";uid=kordamrg;pwd=t7oKmaxu;")), qPrintable(elsewhere));
            {
                test::AsAdmin again;
                QCOMPARE(currentUser(), QString::fromLatin1(test::kAdminUser));
            }
            QCOMPARE(currentUser(), QString::fromLatin1(test::kAdminUser));
        }
        QCOMPARE(currentUser(), QStringLiteral("kordamrg"));
        QVERIFY(data::connectionString(Database::Declarations).contains(QLatin1String(";uid=kordamrg;")));
    }

    void emptyTableWalkEndsAtOnce()
    {
        Connection conn(Database::Main);
        RecordSet rs(conn, kAdmins);
        rs.moveFirst();
        QVERIFY(rs.eof());
        QVERIFY_THROWS_EXCEPTION(DbError, rs.field(u"LOGIN"));
    }

    void addFirstRowToTablesWithAndWithoutKey()
    {
        Connection conn(Database::Main);
        {
            RecordSet rs(conn, kLoginLog, data::Rows::noneYet());
            rs.addNew();
            rs.setField(u"LOGINnaam", QStringLiteral("Administrator"));
            rs.setField(u"PCnaam", QStringLiteral("werkplek"));
            rs.update();
            QCOMPARE(rs.field(u"LOGINnaam"), QStringLiteral("Administrator"));
            QVERIFY(rs.isNull(u"DATUMTIJD"));
        }
        {
            RecordSet rs(conn, kProjects);
            rs.addNew();
            rs.setField(u"Projectnaam", QStringLiteral("Audit"));
            rs.update();
            // The server's generated number is part of the stored row at once (a cluster's
            // node numbers from its own offset, so it is compared with what is stored).
            QCOMPARE(rs.field(u"nummer"), test::column(kProjects, "nummer").value(0));
            QVERIFY(!rs.field(u"nummer").isEmpty());
            QVERIFY(rs.isNull(u"Projectcode"));
        }
        QCOMPARE(test::tableRows(Database::Main, kLoginLog, {QStringLiteral("LOGINnaam"), QStringLiteral("PCnaam")}),
                 (std::vector<Row>{{s("Administrator"), s("werkplek")}}));
    }

    void updateOnTableWithoutKey()
    {
        test::insertRows(Database::Main, kMessages, kMessageColumn, {{s("a")}, {s("b")}, {s("c")}});
        Connection conn(Database::Main);
        RecordSet rs(conn, kMessages);
        rs.moveNext();
        rs.setField(u"Bericht", QStringLiteral("twee"));
        rs.update();
        rs.moveNext();
        QCOMPARE(rs.field(u"Bericht"), QStringLiteral("c"));
        QCOMPARE(test::tableRows(Database::Main, kMessages, kMessageColumn),
                 (std::vector<Row>{{s("a")}, {s("twee")}, {s("c")}}));
    }

    void deleteOnTableWithoutKey()
    {
        test::insertRows(Database::Main, kProjectData, kDataColumns,
                         {{s("1"), s("a")}, {s("2"), s("b")}, {s("3"), s("c")}});
        Connection conn(Database::Main);
        RecordSet rs(conn, kProjectData);
        rs.moveNext();
        rs.moveNext();
        rs.deleteCurrent();
        rs.update(); // follows every delete; must store nothing more
        QVERIFY(rs.eof());
        QCOMPARE(test::tableRows(Database::Main, kProjectData, kDataColumns),
                 (std::vector<Row>{{s("1"), s("a")}, {s("2"), s("b")}}));
    }

    // A row's values are taken apart once for reading; every change of the row or of the
    // record set's place shows in what is read next.
    // Rows are changed where the program changes them: edited and stored in the projects,
    // deleted among the project data rows.
    void fieldFollowsEveryChangeOfTheRow_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("expected");
        QTest::newRow("edited") << kProjects << "set" << "nieuw";
        QTest::newRow("edited and stored") << kProjects << "update" << "nieuw";
        QTest::newRow("deleted: the next row") << kProjectData << "delete" << "2";
        QTest::newRow("a row being added") << kProjects << "add" << "nieuw";
        QTest::newRow("the same row again") << kProjects << "first" << "1";
        QTest::newRow("the same row again, no key") << kProjectData << "first" << "1";
    }
    void fieldFollowsEveryChangeOfTheRow()
    {
        QFETCH(QString, table);
        QFETCH(QString, change);
        QFETCH(QString, expected);
        const QString first = table == kProjects ? QStringLiteral("Projectcode") : QStringLiteral("Gegevens");
        const QString second = table == kProjects ? QStringLiteral("CommentaarADMIN") : QStringLiteral("nummer");
        test::insertRows(Database::Main, table, {first, second}, {{s("a"), s("1")}, {s("b"), s("2")}});
        Connection conn(Database::Main);
        RecordSet rs(conn, table);
        QCOMPARE(rs.field(first) + rs.field(second), QStringLiteral("a1"));
        if (change == "add") {
            rs.addNew();
            rs.setField(first, QStringLiteral("c"));
        }
        if (change == "set" || change == "update" || change == "add")
            rs.setField(second, QStringLiteral("nieuw"));
        if (change == "update")
            rs.update();
        if (change == "delete")
            rs.deleteCurrent();
        if (change == "first")
            rs.moveFirst();
        QCOMPARE(rs.field(second), expected);
    }

    void updateWithoutChangesStoresNothing()
    {
        test::insertRows(Database::Main, kAdmins, kAdminColumns, {{s("a"), s("1")}});
        Connection conn(Database::Main);
        RecordSet rs(conn, kAdmins);
        test::execute(Database::Main, QStringLiteral("UPDATE TALVERO_ADMINISTRATOR SET PASWOORD='x'"));
        rs.update(); // no pending change: no optimistic check either
        QVERIFY(!rs.hasPendingChanges());
    }

    void deleteOfTwoIdenticalRowsRemovesOne()
    {
        test::insertRows(Database::Main, kProjectData, kDataColumns, {{s("7"), s("row")}, {s("7"), s("row")}});
        Connection conn(Database::Main);
        RecordSet rs(conn, kProjectData);
        rs.deleteCurrent();
        QCOMPARE(rs.rowCount(), size_t(1));
        QCOMPARE(test::tableRows(Database::Main, kProjectData, kDataColumns).size(), size_t(1));
    }

    // The middle row is written; its neighbours differ from it only in letter case or a
    // trailing blank, which the server's collation would call equal.
    void rowsDifferingOnlyInCaseOrTrailingBlankAreToldApart_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("update") << kMessages << "Bericht" << QStringList{"Jan", "y", "JAN "};
        QTest::newRow("delete") << kProjectData << "nummer" << QStringList{"Jan", "JAN "};
    }
    void rowsDifferingOnlyInCaseOrTrailingBlankAreToldApart()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QStringList, after);
        test::insertRows(Database::Main, table, {column}, {{s("Jan")}, {s("JAN")}, {s("JAN ")}});
        Connection conn(Database::Main);
        RecordSet rs(conn, table);
        rs.moveNext();
        if (table == kMessages) {
            rs.setField(column, QStringLiteral("y"));
            rs.update();
        } else {
            rs.deleteCurrent();
        }
        QCOMPARE(test::column(table, column), after);
    }

    void optimisticCheckRefusesRowChangedMeanwhile_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<bool>("deleteIt");
        QTest::newRow("no key, update") << kMessages << "Bericht" << false;
        QTest::newRow("no key, delete") << kProjectData << "Gegevens" << true;
        QTest::newRow("key, update") << kProjects << "Projectnaam" << false;
        QTest::newRow("key, delete") << kProjects << "Projectnaam" << true;
    }
    void optimisticCheckRefusesRowChangedMeanwhile()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(bool, deleteIt);
        test::insertRows(Database::Main, table, {column}, {{s("oud")}});
        // The program deletes no row of a table with a key, so its account may not: the
        // data layer's way of doing it is checked as the administrative account.
        std::optional<test::AsAdmin> admin;
        if (deleteIt && table == kProjects)
            admin.emplace();
        Connection conn(Database::Main);
        RecordSet rs(conn, table);
        test::execute(Database::Main, QStringLiteral("UPDATE %1 SET %2 = 'ander'").arg(table, column));
        if (deleteIt) {
            REFUSED_AS_CHANGED(rs.deleteCurrent());
        } else {
            rs.setField(column, QStringLiteral("mijn"));
            REFUSED_AS_CHANGED(rs.update());
        }
        QCOMPARE(test::tableRows(Database::Main, table, {column}), (std::vector<Row>{{s("ander")}}));
    }

    // Other programs of the network rewrite the sign-in columns of the same rows all day;
    // a write is refused only when a column it changes was changed meanwhile.
    void writeIsRefusedOnlyForItsOwnColumns_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("written");     // columns this workstation changes
        QTest::addColumn<QString>("changedElsewhere"); // column another program changes
        QTest::addColumn<QString>("elsewhere");        // and what it writes there
        QTest::addColumn<bool>("refused");
        const QStringList signOff{QStringLiteral("isAFGEMELD"), QStringLiteral("isONLINE")};
        const QStringList comment{QStringLiteral("CommentaarADMIN")};
        QTest::newRow("sign-off, signed in again elsewhere") << kConsultants << signOff << "isAANGEMELD" << "anders" << false;
        QTest::newRow("sign-off, went on line elsewhere") << kConsultants << signOff << "isONLINE" << "anders" << true;
        QTest::newRow("sign-off, signed off elsewhere") << kConsultants << signOff << "isAFGEMELD" << "anders" << true;
        QTest::newRow("comment, closing flag set elsewhere") << kProjects << comment << "AFSLUITEN" << "anders" << false;
        QTest::newRow("comment, comment changed elsewhere") << kProjects << comment << "CommentaarADMIN" << "anders" << true;
        QTest::newRow("comment, changed only in letter case") << kProjects << comment << "CommentaarADMIN" << "WAARDE" << true;
    }
    void writeIsRefusedOnlyForItsOwnColumns()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, written);
        QFETCH(QString, changedElsewhere);
        QFETCH(QString, elsewhere);
        QFETCH(bool, refused);
        const QStringList all = table == kConsultants
                                    ? QStringList{"isAANGEMELD", "isAFGEMELD", "isONLINE"}
                                    : QStringList{"CommentaarADMIN", "AFSLUITEN"};
        test::Row original;
        for (int i = 0; i < all.size(); ++i)
            original.push_back(QStringLiteral("waarde"));
        test::insertRows(Database::Main, table, all, {original, original});

        Connection conn(Database::Main);
        RecordSet rs(conn, table);
        rs.moveNext(); // the second of two equal rows: the key tells them apart
        // The last row: on a cluster generated numbers step by the number of nodes.
        test::execute(Database::Main, QStringLiteral("UPDATE %1 SET %2 = '%3' ORDER BY nummer DESC LIMIT 1")
                                          .arg(table, changedElsewhere, elsewhere));
        for (const QString &column : written)
            rs.setField(column, QStringLiteral("mijn"));
        if (refused) {
            REFUSED_AS_CHANGED(rs.update());
        } else {
            STORES(rs.update());
            // Held as stored: the other program's change is in the row too.
            QCOMPARE(rs.field(changedElsewhere), elsewhere);
        }
        const auto rows = test::tableRows(Database::Main, table, all);
        QCOMPARE(rows[0], original);
        for (int i = 0; i < all.size(); ++i) {
            const QString expected = all[i] == changedElsewhere ? elsewhere
                                     : (!refused && written.contains(all[i])) ? QStringLiteral("mijn")
                                                                              : QStringLiteral("waarde");
            QCOMPARE(rows[1][size_t(i)], std::optional<QString>(expected));
        }
    }

    void deleteIsRefusedWhenAnyColumnChanged()
    {
        test::insertRows(Database::Main, kProjects, {QStringLiteral("Projectnaam"), QStringLiteral("AFSLUITEN")},
                         {{s("Audit"), s("Nee")}});
        // As the administrative account: the program deletes no row of a table with a key.
        test::AsAdmin admin;
        Connection conn(Database::Main);
        RecordSet rs(conn, kProjects);
        test::execute(Database::Main, QStringLiteral("UPDATE TALVERO_projecten SET AFSLUITEN = 'Ja'"));
        REFUSED_AS_CHANGED(rs.deleteCurrent());
        QCOMPARE(test::tableRows(Database::Main, kProjects, {QStringLiteral("Projectnaam")}).size(), size_t(1));
    }

    void valueWrittenEqualToStoredStillFindsItsRow()
    {
        test::insertRows(Database::Main, kConsultants, {QStringLiteral("isONLINE")}, {{s("OFFLINE")}});
        Connection conn(Database::Main);
        RecordSet rs(conn, kConsultants);
        rs.setField(u"isONLINE", QStringLiteral("OFFLINE"));
        STORES(rs.update()); // zero rows changed, one matched: not a refusal
        QCOMPARE(rs.field(u"isONLINE"), QStringLiteral("OFFLINE"));
    }

    void megabyteTextInARowUpdatedElsewhere()
    {
        const QString big = QString(1024 * 1024 - 3, QChar(u'x')) + QStringLiteral("é!");
        test::insertRows(Database::Main, kProjects, {QStringLiteral("ProjectOmschrijving"), QStringLiteral("AFSLUITEN")},
                         {{big, s("Nee")}});
        Connection conn(Database::Main);
        RecordSet rs(conn, kProjects);
        QCOMPARE(rs.field(u"ProjectOmschrijving"), big);
        test::execute(Database::Main, QStringLiteral("UPDATE TALVERO_projecten SET AFSLUITEN = 'Ja'"));
        // The megabyte is this write's own original, compared byte for byte.
        rs.setField(u"ProjectOmschrijving", big + QStringLiteral("?"));
        STORES(rs.update());
        QCOMPARE(rs.field(u"AFSLUITEN"), QStringLiteral("Ja"));
        QCOMPARE(test::tableRows(Database::Main, kProjects, {QStringLiteral("ProjectOmschrijving")}),
                 (std::vector<Row>{{big + QStringLiteral("?")}}));
    }

    // Tables whose columns may hold long texts: a long value among short rows is read
    // whole, and no row before or after it is lost or repeated.
    void longValueAmongShortRowsIsReadWhole_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("bytes");
        QTest::newRow("client invoice address, 300 KiB") << kClients << "Factuuradres" << 300 * 1024;
        QTest::newRow("client invoice address, 256 KiB") << kClients << "Factuuradres" << 256 * 1024;
        QTest::newRow("project description, 2 MiB") << kProjects << "ProjectOmschrijving" << 2 * 1024 * 1024;
    }
    void longValueAmongShortRowsIsReadWhole()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(int, bytes);
        const QString name = table == kClients ? QStringLiteral("Bedrijf") : QStringLiteral("Projectnaam");
        // Two-byte characters between one-byte ends, so pieces of the value split anywhere.
        const QString big = QStringLiteral("A") + QString(bytes / 2 - 1, QChar(u'ë')) + QStringLiteral("Z");
        std::vector<Row> rows;
        for (int i = 0; i < 7; ++i)
            rows.push_back({QString::number(i), (i == 1 || i == 4) ? big : QStringLiteral("kort %1").arg(i)});
        test::insertRows(Database::Main, table, {name, column}, rows);

        Connection conn(Database::Main);
        RecordSet rs(conn, table);
        QCOMPARE(rs.rowCount(), size_t(7));
        for (int i = 0; i < 7; ++i, rs.moveNext()) {
            QCOMPARE(rs.field(name), QString::number(i));
            QCOMPARE(rs.field(column), (i == 1 || i == 4) ? big : QStringLiteral("kort %1").arg(i));
        }
    }

    void boundSourceWritesEditsOfSeveralColumnsTogether()
    {
        test::insertRows(Database::Main, kProjects,
                         {QStringLiteral("Projectcode"), QStringLiteral("CommentaarADMIN"), QStringLiteral("AFSLUITEN")},
                         {{s("A"), s("GEEN"), s("Nee")}, {s("B"), s("GEEN"), s("Nee")}});
        data::BoundSource source(QStringLiteral("Adodc3"), kProjects, true);
        source.refresh();
        source.setPendingEdit(u"CommentaarADMIN", QStringLiteral("bellen"));
        source.setPendingEdit(u"AFSLUITEN", QStringLiteral("Ja"));
        source.setPendingEdit(u"CommentaarADMIN", QStringLiteral("bellen!"));
        QVERIFY(source.hasPendingEdit(u"commentaaradmin"));
        QVERIFY(!source.hasPendingEdit(u"Projectcode"));
        QCOMPARE(source.field(u"CommentaarADMIN"), QStringLiteral("bellen!"));
        QCOMPARE(source.field(u"AFSLUITEN"), QStringLiteral("Ja"));
        QCOMPARE(source.storedField(u"AFSLUITEN"), QStringLiteral("Nee"));
        // Nothing is written while the row stays current.
        QCOMPARE(test::tableRows(Database::Main, kProjects, {QStringLiteral("AFSLUITEN")})[0][0], s("Nee"));
        STORES(source.moveNext());
        QVERIFY(!source.hasPendingEdit());
        QCOMPARE(test::tableRows(Database::Main, kProjects,
                                 {QStringLiteral("CommentaarADMIN"), QStringLiteral("AFSLUITEN")}),
                 (std::vector<Row>{{s("bellen!"), s("Ja")}, {s("GEEN"), s("Nee")}}));
        // The first row now reads as stored.
        source.moveFirst();
        QCOMPARE(source.field(u"AFSLUITEN"), QStringLiteral("Ja"));
    }

    void boundSourceEditsSurviveOtherProgramsAndAreRefusedForTheirOwnColumns()
    {
        test::insertRows(Database::Main, kProjects,
                         {QStringLiteral("Projectcode"), QStringLiteral("CommentaarADMIN"), QStringLiteral("AFSLUITEN"),
                          QStringLiteral("ProjectduurPer8uur")},
                         {{s("A"), s("GEEN"), s("Nee"), s("10")}});
        data::BoundSource source(QStringLiteral("Adodc3"), kProjects, true);
        source.refresh();
        QSignalSpy shown(&source, &data::BoundSource::currentChanged);
        source.setPendingEdit(u"CommentaarADMIN", QStringLiteral("mijn tekst"));
        source.setPendingEdit(u"AFSLUITEN", QStringLiteral("Ja"));

        // Another column changed elsewhere: stored, and the row is held as the server has it.
        test::execute(Database::Main, QStringLiteral("UPDATE TALVERO_projecten SET ProjectduurPer8uur = '12'"));
        STORES(source.flushPendingEdit());
        QVERIFY(!source.hasPendingEdit());
        QCOMPARE(source.field(u"ProjectduurPer8uur"), QStringLiteral("12"));

        // An edited column changed elsewhere: the row is re-read and shown as stored, and
        // neither edit is written over it later.
        source.setPendingEdit(u"CommentaarADMIN", QStringLiteral("tweede"));
        source.setPendingEdit(u"AFSLUITEN", QStringLiteral("Nee"));
        test::execute(Database::Main, QStringLiteral("UPDATE TALVERO_projecten SET CommentaarADMIN = 'andere werkplek'"));
        shown.clear();
        QVERIFY_THROWS_EXCEPTION(DbError, source.moveFirst());
        QCOMPARE(shown.count(), 1);
        QVERIFY(!source.hasPendingEdit());
        QCOMPARE(source.field(u"CommentaarADMIN"), QStringLiteral("andere werkplek"));
        STORES(source.moveFirst());
        QCOMPARE(test::tableRows(Database::Main, kProjects,
                                 {QStringLiteral("CommentaarADMIN"), QStringLiteral("AFSLUITEN")}),
                 (std::vector<Row>{{s("andere werkplek"), s("Ja")}}));
    }

    // What a failed write of a pending edit leaves behind depends on what happened: only
    // a row changed elsewhere drops the edit (quoted, with the stored value shown); a
    // server that cannot be reached or a refused value keeps it; a write whose reply was
    // lost is found stored.
    void boundSourceFailedWrite_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("otherWrite");      // another connection's value, or empty
        QTest::addColumn<QString>("fault");           // proxy match:action, "dead port", or empty
        QTest::addColumn<int>("kind");                // -1: stored without error
        QTest::addColumn<bool>("kept");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("said");            // part of the box text
        const int changed = int(data::ErrorKind::ChangedElsewhere);
        const int unreachable = int(data::ErrorKind::Unreachable);
        const QString longName(256, u'x');
        QTest::newRow("changed elsewhere") << "CommentaarADMIN" << "mijn tekst" << "andere" << "" << changed << false
                                           << "andere" << "CommentaarADMIN: “mijn tekst”";
        QTest::newRow("same value elsewhere") << "CommentaarADMIN" << "mijn tekst" << "mijn tekst" << "" << -1 << false
                                              << "mijn tekst" << "";
        QTest::newRow("value too long") << "Projectnaam" << longName << "" << "" << int(data::ErrorKind::RefusedData)
                                        << true << "P" << "kolom 'Projectnaam'";
        QTest::newRow("server unreachable") << "CommentaarADMIN" << "mijn tekst" << "" << "dead port" << unreachable
                                            << true << "GEEN" << "niet te bereiken op adres";
        QTest::newRow("reply lost, write took") << "CommentaarADMIN" << "mijn tekst" << ""
                                                << "^UPDATE:blackhole-after" << -1 << false << "mijn tekst" << "";
        QTest::newRow("reply lost, not sent") << "CommentaarADMIN" << "mijn tekst" << "" << "^UPDATE:rst-before"
                                              << unreachable << true << "GEEN" << "niet opgeslagen en blijft staan";
        QTest::newRow("the server chose it as loser twice")
            << "CommentaarADMIN" << "mijn tekst" << "" << "^UPDATE:answer-error:1213:40001:Deadlock found" << -1 << false
            << "mijn tekst" << "";
        QTest::newRow("re-read fails after a conflict")
            << "CommentaarADMIN" << "mijn tekst" << "andere" << "^SELECT \\* FROM:rst-before" << changed << true
            << "andere" << "kon niet opnieuw worden gelezen";
    }
    void boundSourceFailedWrite()
    {
        QFETCH(QString, column);
        QFETCH(QString, edit);
        QFETCH(QString, otherWrite);
        QFETCH(QString, fault);
        QFETCH(int, kind);
        QFETCH(bool, kept);
        QFETCH(QString, stored);
        QFETCH(QString, said);
        test::insertRows(Database::Main, kProjects, {QStringLiteral("Projectnaam"), QStringLiteral("CommentaarADMIN")},
                         {{s("P"), s("GEEN")}});
        data::BoundSource source(QStringLiteral("Adodc3"), kProjects, true);
        source.refresh();
        source.setPendingEdit(column, edit);
        if (!otherWrite.isEmpty())
            test::execute(Database::Main, "UPDATE TALVERO_projecten SET " + column + " = '" + otherWrite + "'");

        std::optional<DbError> failure;
        {
            std::unique_ptr<test::FaultProxy> proxy;
            QTcpServer closed;
            if (fault == QLatin1String("dead port")) {
                closed.listen(QHostAddress::LocalHost);
                const quint16 port = closed.serverPort();
                closed.close();
                data::overrideServerForTests(QStringLiteral("127.0.0.1"), port);
            } else if (fault.section(u':', 1, 1) == QLatin1String("answer-error")) {
                proxy = std::make_unique<test::FaultProxy>(fault.section(u':', 0, 0), fault.section(u':', 1, 1), 2, 1,
                                                           QStringList{"--error", fault.section(u':', 2)});
            } else if (!fault.isEmpty()) {
                proxy = std::make_unique<test::FaultProxy>(fault.section(u':', 0, 0), fault.section(u':', 1));
            }
            try {
                source.flushPendingEdit();
            } catch (const DbError &e) {
                failure = e;
            }
            if (proxy)
                QVERIFY2(proxy->fired(), qPrintable(proxy->log()));
            test::useTestServer();
        }
        QCOMPARE(failure ? int(failure->kind()) : -1, kind);
        if (failure)
            QVERIFY2(failure->text().contains(said), qPrintable(failure->text()));
        QCOMPARE(source.hasPendingEdit(), kept);
        QCOMPARE(source.field(column), kept ? edit : stored);
        QCOMPARE(test::tableRows(Database::Main, kProjects, {column}), (std::vector<Row>{{stored}}));
    }

    // A write whose session could not be ended may still store the edit: it is told as
    // unknown and kept, and the next write ends that session first and finds it stored,
    // instead of calling it a change made elsewhere.
    void boundSourceUnknownWriteIsSettledFirst()
    {
        test::insertRows(Database::Main, kProjects, {QStringLiteral("Projectnaam"), QStringLiteral("CommentaarADMIN")},
                         {{s("P"), s("GEEN")}});
        data::BoundSource source(QStringLiteral("Adodc3"), kProjects, true);
        source.refresh();
        source.setPendingEdit(u"CommentaarADMIN", QStringLiteral("mijn tekst"));
        {
            test::FaultProxy proxy("^UPDATE", "hold-before", 1, 1, {"--delay", "1500", "--also-answer", "^KILL=1095:HY000:You are not owner of thread"});
            try {
                source.flushPendingEdit();
                QFAIL("the write was told as stored");
            } catch (const DbError &e) {
                QCOMPARE(int(e.kind()), int(data::ErrorKind::Unreachable));
                QVERIFY2(e.text().contains(QStringLiteral("niet bekend")), qPrintable(e.text()));
            }
            QVERIFY(source.hasPendingEdit());
            QTRY_VERIFY_WITH_TIMEOUT(proxy.log().contains(QStringLiteral("released the held")), 10000);
        }
        QTRY_COMPARE(test::column(kProjects, "CommentaarADMIN"), QStringList{"mijn tekst"});
        try {
            source.flushPendingEdit();
        } catch (const DbError &e) {
            QFAIL(qPrintable(e.text()));
        }
        QVERIFY(!source.hasPendingEdit());
        QCOMPARE(source.field(u"CommentaarADMIN"), QStringLiteral("mijn tekst"));
    }

    // Connections are kept between actions: twenty actions, reads and writes, open none
    // once one is kept; each action finds the one kept by the last.
    void keptConnectionsAreReused()
    {
        test::insertRows(Database::Main, kProjects, {QStringLiteral("Projectnaam")}, {{s("P")}});
        const auto opened = [] {
            test::AsAdmin admin;
            Connection conn(Database::Main);
            return conn.query("SHOW GLOBAL STATUS LIKE 'Connections'").text(0, 1).toInt();
        };
        data::BoundSource source(QStringLiteral("Adodc3"), kProjects, true);
        source.refresh();
        const int before = opened();
        for (int i = 0; i < 20; ++i) {
            source.setPendingEdit(u"Projectnaam", QStringLiteral("P%1").arg(i));
            source.flushPendingEdit();
            source.refresh();
        }
        // The admin's own look-ups open one each.
        QVERIFY2(opened() - before <= 2, qPrintable(QStringLiteral("%1 opened").arg(opened() - before)));
        QCOMPARE(test::column(kProjects, "Projectnaam"), QStringList{"P19"});
    }

    // An action that fails half-way leaves neither its transaction nor its named lock to
    // the next one: both are undone before the connection is kept, and a connection
    // whose undoing failed is not kept at all.
    void keptConnectionsCarryNothingOver_data()
    {
        QTest::addColumn<QString>("undoingFails"); // the proxy's match, or empty
        QTest::newRow("undone") << "";
        QTest::newRow("undoing refused") << "^ROLLBACK|RELEASE_LOCK";
    }
    void keptConnectionsCarryNothingOver()
    {
        QFETCH(QString, undoingFails);
        std::optional<test::FaultProxy> proxy;
        if (!undoingFails.isEmpty())
            proxy.emplace(undoingFails, "answer-error", 1000, 10, QStringList{"--error", "1105:HY000:refused"});
        qint64 failed = 0;
        try {
            Connection conn(Database::Main);
            failed = conn.session().id;
            data::NamedLock lock(conn, "talveros.test", 0);
            data::Transaction transaction(conn);
            conn.execute("INSERT INTO TALVERO_projecten (Projectnaam) VALUES ('half')");
            conn.execute("INSERT INTO no_such_table VALUES (1)");
            QFAIL("the statement was not refused");
        } catch (const DbError &) {
        }
        Connection next(Database::Main);
        const data::RowStore state = next.query("SELECT @@in_transaction, IS_USED_LOCK('talveros.test')");
        QCOMPARE(state.text(0, 0), QStringLiteral("0"));
        QVERIFY2(state.isNull(0, 1), qPrintable(state.text(0, 1)));
        QCOMPARE(next.session().id != failed, !undoingFails.isEmpty());
        QCOMPARE(next.query("SELECT COUNT(*) FROM TALVERO_projecten").text(0, 0), QStringLiteral("0"));
    }

    // A kept connection the server ended meanwhile is found out before it is used: the
    // next read and the next write go through without a box, the write once.
    void keptConnectionEndedByTheServerIsReplaced_data()
    {
        QTest::addColumn<bool>("write");
        QTest::newRow("read") << false;
        QTest::newRow("write") << true;
    }
    void keptConnectionEndedByTheServerIsReplaced()
    {
        QFETCH(bool, write);
        test::insertRows(Database::Main, kProjects, {QStringLiteral("Projectnaam")}, {{s("P")}});
        data::BoundSource source(QStringLiteral("Adodc3"), kProjects, true);
        source.refresh();
        data::kept::closeAll();
        // Another connection of the same account ends it, as the server's own time-out would.
        Connection killer(Database::Main);
        qint64 ended = 0;
        {
            Connection conn(Database::Main);
            ended = conn.session().id;
        }
        QCOMPARE(data::kept::count(), 1);
        killer.query("KILL CONNECTION " + QByteArray::number(ended));
        // Past the moment a connection just answered on is taken to be alive.
        QTest::qWait(1100);
        if (write) {
            source.setPendingEdit(u"Projectnaam", QStringLiteral("Q"));
            source.flushPendingEdit();
            QCOMPARE(test::column(kProjects, "Projectnaam"), QStringList{"Q"});
        } else {
            source.refresh();
            QCOMPARE(source.field(u"Projectnaam"), QStringLiteral("P"));
        }
        QCOMPARE(test::column(kProjects, "nummer").size(), 1);
    }

    void nullIsAnErrorUnlessAskedForEmpty()
    {
        test::insertRows(Database::Main, kProjectData, kDataColumns, {{std::nullopt, s("p")}});
        test::insertRows(Database::Main, kMessages, kMessageColumn, {{std::nullopt}});
        Connection conn(Database::Main);
        RecordSet rs(conn, kProjectData);
        QVERIFY(rs.isNull(u"nummer"));
        QVERIFY_THROWS_EXCEPTION(DbError, rs.field(u"nummer"));
        QCOMPARE(rs.fieldOrEmpty(u"nummer"), QString());
        // A row holding NULL can still be found to be deleted, or updated.
        STORES(rs.deleteCurrent());
        QVERIFY(test::tableRows(Database::Main, kProjectData, kDataColumns).empty());
        RecordSet message(conn, kMessages);
        message.setField(u"Bericht", QStringLiteral("q"));
        STORES(message.update());
        QCOMPARE(test::column(kMessages, QStringLiteral("Bericht")), QStringList{QStringLiteral("q")});
    }

    void oddValuesRoundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("accents and currency") << QStringLiteral("Café Dïjk € łódź á ë");
        QTest::newRow("quote") << QStringLiteral("O'Brien");
        QTest::newRow("backslash") << QStringLiteral("C:\\sound.wav \\' \\\\");
        QTest::newRow("sql-like") << QStringLiteral("x'); DROP TABLE TALVERO_projecten; --");
        QTest::newRow("line breaks") << QStringLiteral("regel 1\r\nregel 2\r\n");
        QTest::newRow("trailing blanks") << QStringLiteral("  met blanks  ");
        QTest::newRow("emoji") << QStringLiteral("klaar 👍");
        QTest::newRow("empty") << QString();
        QTest::newRow("very long") << QString(300000, QChar(u'ë'));
    }
    void oddValuesRoundTrip()
    {
        QFETCH(QString, value);
        const QString column = QStringLiteral("ProjectOmschrijving");
        {
            Connection conn(Database::Main);
            RecordSet rs(conn, kProjects);
            rs.addNew();
            rs.setField(column, value);
            rs.setField(u"Projectnaam", value.left(100));
            rs.update();
        }
        Connection conn(Database::Main);
        RecordSet rs(conn, kProjects);
        QCOMPARE(rs.field(column), value);
        QCOMPARE(rs.field(u"Projectnaam"), value.left(100));
        // And it can be found again as the original of an update.
        rs.setField(u"AFSLUITEN", QStringLiteral("Ja"));
        rs.update();
        QCOMPARE(test::tableRows(Database::Main, kProjects, {QStringLiteral("AFSLUITEN")}), (std::vector<Row>{{s("Ja")}}));
    }

    void columnNamesInAnyLetterCase_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("as created") << QStringLiteral("Projectnaam");
        QTest::newRow("upper") << QStringLiteral("PROJECTNAAM");
        QTest::newRow("lower") << QStringLiteral("projectnaam");
    }
    void columnNamesInAnyLetterCase()
    {
        QFETCH(QString, name);
        test::insertRows(Database::Main, kProjects, {QStringLiteral("Projectnaam")}, {{s("Audit")}});
        Connection conn(Database::Main);
        RecordSet rs(conn, kProjects);
        QCOMPARE(rs.field(name), QStringLiteral("Audit"));
        rs.setField(name, QStringLiteral("Review"));
        rs.update();
        QCOMPARE(test::tableRows(Database::Main, kProjects, {QStringLiteral("Projectnaam")}), (std::vector<Row>{{s("Review")}}));
        QVERIFY_THROWS_EXCEPTION(DbError, rs.field(u"GeenKolom"));
    }

    void boundSourceFindsValuesExactly_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << QStringLiteral("0012Audit0007");
        QTest::newRow("quote") << QStringLiteral("0012O'Brien0007");
        QTest::newRow("two quotes") << QStringLiteral("''");
        QTest::newRow("backslash") << QStringLiteral("0012a\\b0007");
        QTest::newRow("non-ascii") << QStringLiteral("0012Zürich€0007");
    }
    void boundSourceFindsValuesExactly()
    {
        QFETCH(QString, value);
        test::insertRows(Database::Main, kProjects, {QStringLiteral("Projectcode")},
                         {{s("eerste")}, {value}, {s("laatste")}});
        data::BoundSource source(QStringLiteral("Adodc3"), kProjects, true);
        source.refresh();
        QVERIFY(source.findWhere(u"Projectcode", value));
        QCOMPARE(source.position(), size_t(1));
        QCOMPARE(source.field(u"PROJECTCODE"), value);
        // Exact: another letter case or a trailing blank is another value.
        QVERIFY(!source.findWhere(u"Projectcode", value.toUpper() + QStringLiteral("x")));
        QVERIFY(source.eof());
        QCOMPARE(source.field(u"Projectcode"), QString());
    }

    void boundSourceWritesPendingEditWhenLeavingTheRow()
    {
        test::insertRows(Database::Main, kProjects, {QStringLiteral("Projectcode"), QStringLiteral("CommentaarADMIN")},
                         {{s("A"), s("GEEN")}, {s("B"), s("GEEN")}});
        data::BoundSource source(QStringLiteral("Adodc3"), kProjects, true);
        source.refresh();
        QSignalSpy moved(&source, &data::BoundSource::currentChanged);
        source.setPendingEdit(u"CommentaarADMIN", QStringLiteral("bellen"));
        QCOMPARE(source.field(u"CommentaarADMIN"), QStringLiteral("bellen"));
        source.moveNext();
        QCOMPARE(moved.count(), 1);
        QVERIFY(!source.hasPendingEdit());
        QCOMPARE(test::tableRows(Database::Main, kProjects, {QStringLiteral("CommentaarADMIN")}),
                 (std::vector<Row>{{s("bellen")}, {s("GEEN")}}));
    }

    // A copy of some columns gives every row as fieldAt does, in the columns' order:
    // NULL stays NULL, and the current row's pending edit is in it.
    void copyOfColumnsIsWhatTheRowsShow()
    {
        test::insertRows(Database::Main, kProjects,
                         {QStringLiteral("Projectcode"), QStringLiteral("Projectnaam"), QStringLiteral("CommentaarADMIN")},
                         {{s("A"), std::nullopt, s("GEEN")}, {s("B\u00e9 '\\"), s(""), s("x")}});
        data::BoundSource source(QStringLiteral("Adodc3"), kProjects, true);
        source.refresh();
        source.moveNext();
        source.setPendingEdit(u"CommentaarADMIN", QStringLiteral("bellen"));
        const std::vector<int> columns{source.columnIndex(u"CommentaarADMIN"), source.columnIndex(u"Projectnaam"),
                                       source.columnIndex(u"Projectcode")};
        const data::RowStore copy = source.copyOfColumns(columns);
        QCOMPARE(copy.rowCount(), source.rowCount());
        for (size_t row = 0; row < copy.rowCount(); ++row) {
            for (size_t c = 0; c < columns.size(); ++c) {
                QCOMPARE(copy.text(row, int(c)), source.fieldAt(row, columns[c]));
                QCOMPARE(copy.isNull(row, int(c)), source.isNullAt(row, columns[c]));
            }
        }
        QCOMPARE(copy.text(1, 0), QStringLiteral("bellen"));
    }

    void sourcesReadTogetherFailAsOne()
    {
        test::insertRows(Database::Main, kProjects, {QStringLiteral("Projectcode")}, {{s("A")}, {s("B")}});
        data::BoundSource projects(QStringLiteral("Adodc3"), kProjects, true);
        data::BoundSource admins(QStringLiteral("Adodc9"), kAdmins, false);
        data::BoundSource missing(QStringLiteral("Adodc8"), QStringLiteral("TALVERO_bestaatniet"), false);
        data::BoundSource::refreshTogether({&projects, &admins});
        QCOMPARE(projects.rowCount(), size_t(2));
        QVERIFY(admins.eof());
        test::insertRows(Database::Main, kProjects, {QStringLiteral("Projectcode")}, {{s("C")}});
        // One failing read fails the whole refresh and leaves every source as it was.
        QVERIFY_THROWS_EXCEPTION(DbError, data::BoundSource::refreshTogether({&projects, &missing}));
        QCOMPARE(projects.rowCount(), size_t(2));
        data::BoundSource::refreshTogether({&projects});
        QCOMPARE(projects.rowCount(), size_t(3));

        // Work done while the reads are under way: its failure is the one reported, and
        // no source changes, whether or not a read failed as well.
        test::insertRows(Database::Main, kProjects, {QStringLiteral("Projectcode")}, {{s("D")}});
        for (data::BoundSource *other : {&admins, &missing}) {
            bool ran = false;
            try {
                data::BoundSource::refreshTogether({&projects, other}, [&ran] {
                    ran = true;
                    throw DbError(QStringLiteral("08S01"), 2013, QStringLiteral("meanwhile"));
                });
                QFAIL("no failure passed on");
            } catch (const DbError &e) {
                QCOMPARE(e.text(), QStringLiteral("meanwhile"));
            }
            QVERIFY(ran);
            QCOMPARE(projects.rowCount(), size_t(3));
        }
        bool ran = false;
        data::BoundSource::refreshTogether({&projects}, [&ran] { ran = true; });
        QVERIFY(ran);
        QCOMPARE(projects.rowCount(), size_t(4));
    }

    void readOnlySourceTakesNoEdit()
    {
        test::insertRows(Database::Main, kProjects, {QStringLiteral("Projectcode")}, {{s("A")}});
        data::BoundSource source(QStringLiteral("Adodc1"), kProjects, false);
        source.refresh();
        QVERIFY_THROWS_EXCEPTION(DbError, source.setPendingEdit(u"Projectcode", QStringLiteral("B")));
    }

    void silentServerTimesOutAsADataError()
    {
        // A server that accepts the connection and then never answers.
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        data::overrideServerForTests(QStringLiteral("127.0.0.1"), silent.serverPort());
        QElapsedTimer timer;
        timer.start();
        try {
            Connection conn(Database::Main);
            QFAIL("a silent server gave a connection");
        } catch (const DbError &e) {
            QCOMPARE(e.kind(), data::ErrorKind::Unreachable);
        }
        QVERIFY2(timer.elapsed() < 60000, "the connect time-out did not bound the wait");
        test::useTestServer();
    }

    void stoppedServerGivesClearErrorAndRestartRecovers()
    {
        test::insertRows(Database::Main, kAdmins, kAdminColumns, {{s("a"), s("1")}});
        auto conn = std::make_unique<Connection>(Database::Main);
        test::stopServer();
        try {
            RecordSet rs(*conn, kAdmins);
            QFAIL("reading from a stopped server succeeded");
        } catch (const DbError &e) {
            QVERIFY2(!e.text().isEmpty(), "the error carries no text");
            QVERIFY2(e.sqlState().startsWith(QLatin1String("08")) || e.sqlState() == QLatin1String("HY000"),
                     qPrintable(e.sqlState()));
        }
        conn.reset();
        // A connection kept from before finds out on its first exchange.
        QVERIFY_THROWS_EXCEPTION(DbError, Connection(Database::Main).query("SELECT 1"));
        test::startServer();
        Connection again(Database::Main);
        RecordSet rs(again, kAdmins);
        QCOMPARE(rs.field(u"LOGIN"), QStringLiteral("a"));
    }
};

QTEST_GUILESS_MAIN(TestDataLayer)
#include "tst_datalayer.moc"
