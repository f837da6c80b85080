#include "data/Connection.h"
#include "data/ConnectionSettings.h"
#include "data/NamedLock.h"
#include "data/DbError.h"
#include "platform/TextBox.h"
#include "registration/EntryTabs.h"
#include "registration/RegistrationStore.h"
#include "registration/RegistrationTexts.h"
#include "signin/frmSplash.h"
#include "platform/ServerWaitWindow.h"
#include "support/FakeWait.h"
#include "support/FaultProxy.h"
#include "support/WindowRig.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QtTest>

#include <optional>
#include <set>
#include <thread>

using namespace talveros;
using namespace talveros::test;
using namespace talveros::test::tables;
using data::Database;
using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

const QString kTalveros = QStringLiteral("Talveros");


void createTriggers()
{
    test::execute(Database::Main, "DROP TRIGGER IF EXISTS talveros_project_data_created");
    test::execute(Database::Main,
                  "CREATE TRIGGER talveros_project_data_created AFTER INSERT ON TALVERO_projecten "
                  "FOR EACH ROW INSERT INTO TALVERO_PROJECT_DATA (nummer, Gegevens) VALUES (CAST(NEW.nummer AS CHAR), '')");
    test::execute(Database::Main, "DROP TRIGGER IF EXISTS talveros_project_removed");
    test::execute(Database::Main,
                  "CREATE TRIGGER talveros_project_removed AFTER DELETE ON TALVERO_PROJECT_DATA "
                  "FOR EACH ROW DELETE FROM TALVERO_projecten WHERE CAST(nummer AS CHAR) = OLD.nummer "
                  "AND NOT EXISTS (SELECT 1 FROM TALVERO_PROJECT_DATA d WHERE d.nummer = OLD.nummer)");
}

void dropTriggers()
{
    test::execute(Database::Main, "DROP TRIGGER IF EXISTS talveros_project_data_created");
    test::execute(Database::Main, "DROP TRIGGER IF EXISTS talveros_project_removed");
}

// Seeded rows are numbered 1, 2, 3... as one server numbers them; a cluster's generated
// numbers step by the number of nodes.
void seedMasterData()
{
    test::insertRows(Database::Main, kConsultants,
                     {"nummer", "consultantnummer", "Titel1", "voornaam", "tussenvoegsel", "naam"},
                     {{s("1"), s("0003"), s("drs."), s("P."), s("de"), s("Vries")},
                      {s("2"), s("0001"), s(""), s("Anna"), s(""), s("Smit")},
                      {s("3"), s("0002"), s("ir."), s("J."), s("van"), s("Dijk")}});
    test::insertRows(Database::Main, kClients, {"nummer", "Opdrachtgevernummer", "Bedrijf"},
                     {{s("1"), s("0002"), s("Gemeente Zeist  (ICT)")}, {s("2"), s("0001"), s("Waterschap  (Inkoop)")}});
}

// Projects named, coded and described as given, numbered on from the last one; the
// triggers give each its data row.
void seedProjects(const std::vector<std::pair<QString, QString>> &nameAndCode, const QString &description = {})
{
    size_t next = test::tableRows(Database::Main, kProjects, {"nummer"}).size() + 1;
    std::vector<Row> rows;
    for (const auto &[name, code] : nameAndCode)
        rows.push_back({s(QString::number(next++)), s(name), s(code), s(description), s("GEEN"), s("Nee")});
    test::insertRows(Database::Main, kProjects,
                     {"nummer", "Projectnaam", "Projectcode", "ProjectOmschrijving", "CommentaarADMIN", "AFSLUITEN"},
                     rows);
}

struct Rig : test::WindowRig {
    auto &consultant() const { return *named<registration::ConsultantEntryTab>(form, "consultantEntry"); }
    auto &client() const { return *named<registration::ClientEntryTab>(form, "clientEntry"); }
    auto &project() const { return *named<registration::ProjectEntryTab>(form, "projectEntry"); }

    // The administrator's answer to the next Yes/No box, then a double-click.
    void doubleClick(QWidget *picture, Answer answer)
    {
        dialogs.answers.push_back(answer);
        QTest::mouseDClick(picture, Qt::LeftButton);
    }
    // On screen and active, for what depends on the keyboard focus.
    void showTab(QWidget *tab)
    {
        named<QTabWidget>(form, "SSTab1")->setCurrentIndex(0);
        named<QTabWidget>(form, "SSTab2")->setCurrentWidget(tab);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }
};

void addDataRowOfProject1()
{
    test::insertRows(Database::Main, kProjectData, {"nummer", "Gegevens"}, {{s("1"), s("")}});
}

// What the checks of a write start from: the master data, and for a deletion project 1
// with two identical data rows.
void seedForWrite(bool deletion)
{
    seedMasterData();
    if (deletion) {
        seedProjects({{"Audit", "0001Audit0002"}});
        addDataRowOfProject1();
    }
}

QWidget *writePicture(Rig &rig, bool deletion)
{
    return deletion ? static_cast<QWidget *>(named<platform::PictureButton>(rig.form, "Image4"))
                    : rig.consultant().createConsultantButton;
}

// The consultants, or project 1's data rows.
int writtenRows(bool deletion)
{
    return int(deletion ? column(kProjectData, "nummer").count(QStringLiteral("1")) : column(kConsultants, "nummer").size());
}

void verifyBox(const test::FakeDialogs::Box &box, const QString &text, const QString &title, Icon icon,
               Buttons buttons)
{
    QCOMPARE(box.text, text);
    QCOMPARE(box.title, title);
    QCOMPARE(int(box.icon), int(icon));
    QCOMPARE(int(box.buttons), int(buttons));
}

} // namespace

class TestRegistration : public QObject {
    Q_OBJECT

    // Tables whose `nummer` was made an ordinary nullable column for a case.
    QStringList m_withoutKey;

    // Rows come back in the order they were added, whatever their `nummer`, and `nummer`
    // may be empty: as on a server where the table has no key.
    void dropKey(const QString &table)
    {
        test::execute(Database::Main, "ALTER TABLE " + table + " MODIFY nummer INT NULL, DROP PRIMARY KEY");
        m_withoutKey << table;
    }

private slots:
    void initTestCase() { test::useTestServer(); }
    void init()
    {
        test::emptyWindowTables();
        createTriggers();
        registration::setLockWaitSeconds(10);
    }
    void cleanup()
    {
        for (const QString &table : std::exchange(m_withoutKey, {})) {
            test::resetTable(Database::Main, table);
            test::execute(Database::Main, "ALTER TABLE " + table + " MODIFY nummer INT NOT NULL AUTO_INCREMENT PRIMARY KEY");
        }
        createTriggers();
    }

    void masterNumbers_data()
    {
        QTest::addColumn<bool>("client");
        QTest::addColumn<bool>("withoutKey");
        QTest::addColumn<QList<int>>("nummers"); // in table order; -1 is NULL
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QString>("expected");   // the new number, or empty when refused
        QTest::addColumn<QString>("refusal");

        using registration::clientNumberInUse;
        using registration::consultantNumberInUse;
        QTest::newRow("empty table") << false << false << QList<int>{} << QStringList{} << "0001" << "";
        QTest::newRow("last row counts, not the largest")
            << false << true << QList<int>{90, 41} << QStringList{"0090", "0041"} << "0042" << "";
        QTest::newRow("9999 gives 0000 when free") << false << false << QList<int>{9999} << QStringList{"9999"} << "0000"
                                                   << "";
        QTest::newRow("0000 in use is refused") << false << false << QList<int>{5, 9999} << QStringList{"0000", "9999"}
                                                << "" << consultantNumberInUse("0000");
        QTest::newRow("10000 gives 0001") << false << false << QList<int>{10000} << QStringList{"9999"} << "0001" << "";
        QTest::newRow("number written by another program") << false << false << QList<int>{1, 2}
                                                           << QStringList{"0003", "0001"} << "" << consultantNumberInUse("0003");
        QTest::newRow("client, empty table") << true << false << QList<int>{} << QStringList{} << "0001" << "";
        QTest::newRow("client, 0000 in use") << true << false << QList<int>{3, 9999} << QStringList{"0000", "9999"} << ""
                                             << clientNumberInUse("0000");
    }
    void masterNumbers()
    {
        QFETCH(bool, client);
        QFETCH(bool, withoutKey);
        QFETCH(QList<int>, nummers);
        QFETCH(QStringList, numbers);
        QFETCH(QString, expected);
        QFETCH(QString, refusal);

        const QString table = client ? kClients : kConsultants;
        const QString numberColumn = client ? QStringLiteral("Opdrachtgevernummer") : QStringLiteral("consultantnummer");
        if (withoutKey)
            dropKey(table);
        std::vector<Row> rows;
        for (qsizetype i = 0; i < nummers.size(); ++i)
            rows.push_back({s(QString::number(nummers[i])), s(numbers[i])});
        test::insertRows(Database::Main, table, {"nummer", numberColumn}, rows);

        Rig rig;
        QWidget *picture = client ? static_cast<QWidget *>(rig.client().createClientButton)
                                  : rig.consultant().createConsultantButton;
        rig.doubleClick(picture, Answer::Yes);

        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
        const QStringList stored = column(table, numberColumn);
        if (expected.isEmpty()) {
            verifyBox(rig.dialogs.boxes[1], refusal, kTalveros, Icon::Critical, Buttons::Ok);
            QCOMPARE(stored, numbers);
            return;
        }
        QCOMPARE(stored, numbers + QStringList{expected});
        // The row carries the `nummer` its number was derived from.
        QCOMPARE(column(table, "nummer").constLast(), QString::number(nummers.isEmpty() ? 1 : nummers.last() + 1));
        QVERIFY(rig.dialogs.boxes[1].text.startsWith((client ? "De opdrachtgever " : "De consultant ") + expected
                                                     + " is aangemaakt\r\n"));
        QCOMPARE(rig.text(client ? "Text47" : "Text48"),
                 u' ' + QString::number(nummers.size() + 1));
    }

    // Another workstation storing the derived number first, every time: after a few
    // tries the administrator is told to try again, and nothing is stored. A refusal of
    // another kind is told at once.
    void writeLostEveryTime_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("signal"); // what the server says to every insert
        QTest::addColumn<bool>("busy");
        QTest::newRow("consultant, duplicate key") << kConsultants << "SQLSTATE '23000' SET MYSQL_ERRNO = 1062" << true;
        QTest::newRow("consultant, conflict") << kConsultants << "SQLSTATE '40001' SET MYSQL_ERRNO = 1213" << true;
        QTest::newRow("consultant, refused value") << kConsultants << "SQLSTATE '22001' SET MYSQL_ERRNO = 1406" << false;
        QTest::newRow("project, duplicate key") << kProjects << "SQLSTATE '23000' SET MYSQL_ERRNO = 1062" << true;
        QTest::newRow("project, conflict") << kProjects << "SQLSTATE '40001' SET MYSQL_ERRNO = 1213" << true;
    }
    void writeLostEveryTime()
    {
        QFETCH(QString, table);
        QFETCH(QString, signal);
        QFETCH(bool, busy);
        test::execute(Database::Main, "CREATE TRIGGER talveros_test_refuse BEFORE INSERT ON " + table
                                          + " FOR EACH ROW SIGNAL " + signal + ", MESSAGE_TEXT = 'geweigerd'");
        struct Drop {
            ~Drop() { test::execute(Database::Main, "DROP TRIGGER IF EXISTS talveros_test_refuse"); }
        } drop;
        QString told;
        try {
            if (table == kProjects) {
                registration::insertProjectUnlessTaken(QStringLiteral("0001Audit0001"),
                                                       {{"Projectcode", QStringLiteral("0001Audit0001")}});
            } else {
                registration::insertNumberedRow(
                    {kConsultants, QStringLiteral("consultantnummer"), registration::consultantNumberInUse},
                    [](const QString &n) -> registration::Fields { return {{"consultantnummer", n}}; });
            }
        } catch (const data::DbError &e) {
            told = e.text();
        }
        QCOMPARE(told.endsWith(QLatin1String("geweigerd")), !busy);
        QCOMPARE(told == registration::registrationBusy(), busy);
        QCOMPARE(test::tableRows(Database::Main, table, {"nummer"}).size(), size_t(0));
        QCOMPARE(test::tableRows(Database::Main, kProjectData, {"nummer"}).size(), size_t(0));
    }

    void lastNummerWithoutValueAddsNothing()
    {
        dropKey(kConsultants);
        test::insertRows(Database::Main, kConsultants, {"nummer", "consultantnummer"},
                         {{s("1"), s("0001")}, {std::nullopt, s("0002")}});
        Rig rig;
        rig.doubleClick(rig.consultant().createConsultantButton, Answer::Yes);
        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
        QCOMPARE(rig.dialogs.boxes[1].title, kTalveros);
        QCOMPARE(int(rig.dialogs.boxes[1].icon), int(Icon::Critical));
        QVERIFY(rig.dialogs.boxes[1].text.contains("NULL"));
        QCOMPARE(column(kConsultants, "consultantnummer"), (QStringList{"0001", "0002"}));
        // The program goes on: the next creation works once the row has its number.
        test::execute(Database::Main, "UPDATE TALVERO_consultants SET nummer = 7 WHERE nummer IS NULL");
        rig.doubleClick(rig.consultant().createConsultantButton, Answer::Yes);
        QCOMPARE(column(kConsultants, "consultantnummer"), (QStringList{"0001", "0002", "0008"}));
    }

    // The network's vocabulary knows each entry box by its form name: what the box of a
    // name holds is stored in that name's column. Every box holds its own name. The
    // client's organisation and department make one column together, checked in
    // clientStoredWithCompanyAndLists.
    void formNamesFillTheirColumns_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("boxes"); // box=column, filled in this order
        QTest::newRow("consultant")
            << kConsultants << "Image17"
            << "Text62=NaamOrganisatie Text97=Titel1 Text98=voornaam Text99=tussenvoegsel Text100=naam "
               "Text137=Titel2 Text138=Roepnaam Text139=Functie Text101=adres Text102=postcode Text103=woonplaats "
               "Text141=WEBSITE Text104=TELzakelijk Text113=TELprive Text105=TELmobiel Text106=EMAILzakelijk "
               "Text142=EMAILprive Text107=BANKnaam Text108=BANKnummer Text109=BTWnummer Text110=KVKnummer "
               "Text65=VARverklaring";
        QTest::newRow("client")
            << kClients << "Image8"
            << "Text39=Opdrachtnaam Text81=Titel1 Text82=voornaam Text83=tussenvoegsel Text84=naam Text136=Titel2 "
               "Text131=Roepnaam Text119=Functie Text120=Secretaresse Text69=TELsecretaresse "
               "Text130=EMAILsecretaresse Text85=adres Text121=Factuuradres Text86=postcode Text87=woonplaats "
               "Text132=WEBSITE Text88=TELzakelijk Text133=TELprive Text89=TELmobiel Text90=EMAILzakelijk "
               "Text135=EMAILprive Text91=BANKnaam Text92=BANKnummer Text93=BTWnummer Text94=KVKnummer";
        // The code box after the name box, which composes the code when it changes.
        QTest::newRow("project")
            << kProjects << "Image5"
            << "Text52=Opdrachtgevernummer Text53=consultantnummer Text54=Projectnaam Text55=Projectcode "
               "Text68=ProjectOmschrijving Text56=TijdsplanningDATUMvan Text57=TijdsplanningDATUMtm "
               "Text58=ProjectduurPer8uur Text59=InkoopDagtariefOpdrachtgever Text60=VerkoopDagtariefConsultant "
               "Text61=CommentaarCONSULTANT";
    }
    void formNamesFillTheirColumns()
    {
        QFETCH(QString, table);
        QFETCH(QString, picture);
        QFETCH(QString, boxes);
        Rig rig;
        QStringList names;
        QStringList columns;
        for (const QString &pair : boxes.split(u' ')) {
            const QString name = pair.section(u'=', 0, 0);
            platform::setBoxText(named(rig.form, qPrintable(name)), name);
            names << name;
            columns << pair.section(u'=', 1);
        }
        rig.doubleClick(named<platform::PictureButton>(rig.form, qPrintable(picture)), Answer::Yes);

        const std::vector<Row> stored = test::tableRows(Database::Main, table, columns);
        QCOMPARE(stored.size(), size_t(1));
        for (qsizetype i = 0; i < names.size(); ++i)
            QCOMPARE(stored[0][size_t(i)].value_or("<NULL>"), names[i]);
    }

    void consultantStoredByteForByte()
    {
        seedMasterData();
        Rig rig;
        auto &e = rig.consultant();
        const QList<QPair<QLineEdit *, QString>> boxes = {
            {e.organisationBox, "NaamOrganisatie"},  {e.titleBox, "Titel1"},
            {e.initialsBox, "voornaam"},             {e.surnamePrefixBox, "tussenvoegsel"},
            {e.surnameBox, "naam"},                  {e.nameSuffixBox, "Titel2"},
            {e.callingNameBox, "Roepnaam"},          {e.jobTitleBox, "Functie"},
            {e.addressBox, "adres"},                 {e.postcodeBox, "postcode"},
            {e.townBox, "woonplaats"},               {e.websiteBox, "WEBSITE"},
            {e.businessPhoneBox, "TELzakelijk"},     {e.privatePhoneBox, "TELprive"},
            {e.mobilePhoneBox, "TELmobiel"},         {e.businessEmailBox, "EMAILzakelijk"},
            {e.privateEmailBox, "EMAILprive"},       {e.bankNameBox, "BANKnaam"},
            {e.bankAccountBox, "BANKnummer"},        {e.vatNumberBox, "BTWnummer"},
            {e.chamberOfCommerceBox, "KVKnummer"},   {e.employmentDeclarationBox, "VARverklaring"}};
        // Every box full to its limit with what breaks careless statements and encodings.
        const QString odd = QStringLiteral("O'B\\r\"ën;ß%_ ");
        QStringList columns;
        for (const auto &[box, name] : boxes) {
            const int limit = platform::typingLimit(box);
            QVERIFY(limit > 0);
            QString text;
            while (text.size() < limit)
                text += odd;
            box->setText(text.left(limit));
            columns << name;
        }
        columns << "consultantnummer" << "LOGIN" << "PASWOORD" << "isAANGEMELD" << "isAFGEMELD" << "isONLINE";

        rig.doubleClick(e.createConsultantButton, Answer::Yes);

        const std::vector<Row> stored = test::tableRows(Database::Main, kConsultants, columns);
        QCOMPARE(stored.size(), size_t(4));
        const Row &row = stored.back();
        for (qsizetype i = 0; i < boxes.size(); ++i)
            QCOMPARE(row[size_t(i)].value_or("<NULL>"), boxes[i].first->text());
        const auto credentials = registration::deriveCredentials(e.surnameBox->text(), e.addressBox->text(),
                                                                 e.postcodeBox->text(), e.businessPhoneBox->text());
        QCOMPARE(*row[22], QStringLiteral("0004"));
        QCOMPARE(*row[23], credentials.login);
        QCOMPARE(*row[24], credentials.password);
        QCOMPARE(*row[25], QStringLiteral("00-00-0000  00:00:00"));
        QCOMPARE(*row[26], QStringLiteral("00-00-0000  00:00:00"));
        QCOMPARE(*row[27], QStringLiteral("OFFLINE"));
        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
        verifyBox(rig.dialogs.boxes[1], registration::consultantResult("0004", e.surnameBox->text(), credentials),
                  kTalveros, Icon::None, Buttons::Ok);
        // The entry boxes keep what was typed.
        QCOMPARE(e.surnameBox->text().left(5), QStringLiteral("O'B\\r"));
    }

    void consultantWithEmptyBoxes()
    {
        seedMasterData();
        Rig rig;
        rig.doubleClick(rig.consultant().createConsultantButton, Answer::Yes);
        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
        verifyBox(rig.dialogs.boxes[0],
                  "Weet U zeker dat U deze consultant wilt aanmaken?\r\n\r\nConsultant    :    \r\n\r\n"
                  "Adres             :   te \r\n\r\n",
                  "Bevestigen consultant aanmaken", Icon::Question, Buttons::YesNo);
        verifyBox(rig.dialogs.boxes[1],
                  "De consultant 0004 is aangemaakt\r\n\r\nConsultant        : \r\n\r\n"
                  "LOGIN           wordt : 1\r\nPASWOORD wordt : 2\r\n",
                  kTalveros, Icon::None, Buttons::Ok);
        // Both consultant lists again, the look-up one in text order, the other in table order.
        QCOMPARE(items(rig.combo("Combo1")),
                 (QStringList{"0001   Anna  Smit", "0002  ir. J. van Dijk", "0003  drs. P. de Vries", "0004     "}));
        QCOMPARE(items(rig.combo("Combo5")),
                 (QStringList{"0003  drs. P. de Vries", "0001   Anna  Smit", "0002  ir. J. van Dijk", "0004     "}));
        QCOMPARE(rig.text("Text48"), QStringLiteral(" 4"));
        QCOMPARE(rig.text("Text2"), QStringLiteral("0003"));
        QCOMPARE(test::tableRows(Database::Main, kConsultants, {"LOGIN", "PASWOORD", "NaamOrganisatie"}).back(),
                 (Row{s("1"), s("2"), s("")}));
    }

    void clientStoredWithCompanyAndLists()
    {
        seedMasterData();
        Rig rig;
        auto &e = rig.client();
        e.organisationBox->setText("Gemeente \"Utrecht\"");
        e.departmentBox->setText("ICT");
        e.titleBox->setText("mr.");
        e.initialsBox->setText("A.");
        e.surnamePrefixBox->setText("");
        e.surnameBox->setText("B");
        e.addressBox->setText("Plein 2");
        e.postcodeBox->setText("3511 AB");
        e.townBox->setText("Utrecht");
        e.businessPhoneBox->setText("0301234567");
        e.invoiceAddressBox->setText("Postbus 16200");
        e.secretaryBox->setText("José");
        rig.doubleClick(e.createClientButton, Answer::Yes);

        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
        verifyBox(rig.dialogs.boxes[0],
                  "Weet U zeker dat U deze opdrachtgever wilt aanmaken?\r\n\r\nOpdrachtgever  : Gemeente \"Utrecht\"\r\n"
                  "Afdeling             : ICT\r\n\r\nPersoon              : mr. A.  B\r\n\r\n"
                  "Adres                  : Plein 2 3511 AB te Utrecht\r\n\r\n",
                  "Bevestigen opdrachtgever aanmaken", Icon::Question, Buttons::YesNo);
        verifyBox(rig.dialogs.boxes[1],
                  "De opdrachtgever 0003 is aangemaakt\r\n\r\nOpdrachtgever        : B\r\n\r\n"
                  "LOGIN           wordt : BPB671\r\nPASWOORD wordt : BPB672\r\n",
                  kTalveros, Icon::None, Buttons::Ok);
        QCOMPARE(test::tableRows(Database::Main, kClients,
                                 {"Opdrachtgevernummer", "Bedrijf", "Factuuradres", "Secretaresse", "LOGIN", "isONLINE"})
                     .back(),
                 (Row{s("0003"), s("Gemeente \"Utrecht\"  (ICT)"), s("Postbus 16200"), s("José"), s("BPB671"),
                      s("OFFLINE")}));
        QCOMPARE(items(rig.combo("Combo2")), (QStringList{"0001  Waterschap  (Inkoop)", "0002  Gemeente Zeist  (ICT)",
                                                          "0003  Gemeente \"Utrecht\"  (ICT)"}));
        QCOMPARE(items(rig.combo("Combo4")), (QStringList{"0002  Gemeente Zeist  (ICT)", "0001  Waterschap  (Inkoop)",
                                                          "0003  Gemeente \"Utrecht\"  (ICT)"}));
        QCOMPARE(rig.text("Text47"), QStringLiteral(" 3"));
        QCOMPARE(rig.text("Text48"), QStringLiteral(" 3"));
    }

    void answeringNoChangesNothing_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("consultant") << "consultant" << "De consultant is NIET aangemaakt";
        QTest::newRow("client") << "client" << "De opdrachtgever is NIET aangemaakt";
        QTest::newRow("project") << "project" << "Het project is NIET aangemaakt";
        QTest::newRow("deletion") << "deletion" << "Het project is NIET verwijderd";
    }
    void answeringNoChangesNothing()
    {
        QFETCH(QString, what);
        QFETCH(QString, refusal);
        seedMasterData();
        seedProjects({{"Audit", "0003Audit0002"}});
        auto snapshot = [] {
            QList<QStringList> all;
            for (const QString &table : {kConsultants, kClients, kProjects, kProjectData})
                all << column(table, "nummer");
            return all;
        };
        const auto before = snapshot();
        Rig rig;
        auto lists = [&rig] {
            return QList<QStringList>{items(rig.combo("Combo1")), items(rig.combo("Combo2")), items(rig.combo("Combo3")),
                                      {rig.text("Text48")},         {rig.text("Text47")},         {rig.text("Text49")}};
        };
        const auto listsBefore = lists();
        rig.consultant().surnameBox->setText("Jansen");
        rig.client().surnameBox->setText("Smit");
        rig.project().projectNameBox->setText("Nieuw");

        QWidget *picture = what == "consultant" ? static_cast<QWidget *>(rig.consultant().createConsultantButton)
            : what == "client"                  ? rig.client().createClientButton
            : what == "project"                 ? rig.project().createProjectButton
                                                : named<platform::PictureButton>(rig.form, "Image4");
        rig.doubleClick(picture, Answer::No);

        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
        verifyBox(rig.dialogs.boxes[1], refusal, kTalveros, Icon::None, Buttons::Ok);
        QCOMPARE(snapshot(), before);
        QCOMPARE(lists(), listsBefore);
        QCOMPARE(rig.consultant().surnameBox->text(), QStringLiteral("Jansen"));
        QCOMPARE(rig.client().surnameBox->text(), QStringLiteral("Smit"));
        QCOMPARE(rig.project().projectNameBox->text(), QStringLiteral("Nieuw"));
    }

    // Two workstations creating at the same moment; without the lock they derive the same
    // number from the same last row.
    void simultaneousCreationsGetDifferentNumbers()
    {
        constexpr int kEach = 40;
        const registration::MasterTable target{kConsultants, QStringLiteral("consultantnummer"),
                                               registration::consultantNumberInUse};
        std::vector<QString> failures(2);
        auto create = [&](int who) {
            try {
                for (int i = 0; i < kEach; ++i) {
                    registration::insertNumberedRow(target, [&](const QString &n) -> registration::Fields {
                        return {{"consultantnummer", n}, {"naam", QString::number(who)}};
                    });
                }
            } catch (const std::exception &e) {
                failures[size_t(who)] = QString::fromUtf8(e.what());
            }
        };
        std::thread first(create, 0), second(create, 1);
        first.join();
        second.join();
        QCOMPARE(failures[0], QString());
        QCOMPARE(failures[1], QString());
        const QStringList numbers = column(kConsultants, "consultantnummer");
        QCOMPARE(numbers.size(), 2 * kEach);
        QCOMPARE(std::set<QString>(numbers.begin(), numbers.end()).size(), size_t(2 * kEach));
    }

    void busyNumberingWritesNothing()
    {
        Rig rig;
        {
            data::Connection other(Database::Main);
            data::NamedLock held(other, "talveros.kordamrg_KORDAMdata.TALVERO_consultants", 0);
            QVERIFY(held.had());
            registration::setLockWaitSeconds(1);
            rig.doubleClick(rig.consultant().createConsultantButton, Answer::Yes);
            QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
            verifyBox(rig.dialogs.boxes[1], registration::registrationBusy(), kTalveros, Icon::Critical, Buttons::Ok);
            QCOMPARE(column(kConsultants, "consultantnummer"), QStringList());
        }
        // Free again once the other workstation is done, and each creation lets go of it.
        rig.doubleClick(rig.consultant().createConsultantButton, Answer::Yes);
        rig.doubleClick(rig.consultant().createConsultantButton, Answer::Yes);
        QCOMPARE(column(kConsultants, "consultantnummer"), (QStringList{"0001", "0002"}));
    }

    void projectCodeComposition()
    {
        seedMasterData();
        Rig rig;
        auto &p = rig.project();
        QCOMPARE(p.clientNumberBox->text(), QStringLiteral(" "));
        QTest::keyClicks(p.projectNameBox, "Audit");
        QCOMPARE(p.projectCodeBox->text(), QStringLiteral("Audit "));
        choose(p.clientPicker, "0002  Gemeente Zeist  (ICT)");
        QCOMPARE(p.clientNumberBox->text(), QStringLiteral("0002"));
        QCOMPARE(p.projectCodeBox->text(), QStringLiteral("Audit0002"));
        choose(p.consultantPicker, "0003  drs. P. de Vries");
        QCOMPARE(p.consultantNumberBox->text(), QStringLiteral("0003"));
        QCOMPARE(p.projectCodeBox->text(), QStringLiteral("0003Audit0002"));
        QTest::keyClicks(p.projectNameBox, "s");
        QCOMPARE(p.projectCodeBox->text(), QStringLiteral("0003Audits0002"));
        choose(p.clientPicker, "0001  Waterschap  (Inkoop)");
        QCOMPARE(p.projectCodeBox->text(), QStringLiteral("0003Audits0001"));
    }

    void numberBoxesHandTheirFocusToTheLists()
    {
        seedMasterData();
        Rig rig;
        auto &p = rig.project();
        rig.showTab(&p);
        p.clientNumberBox->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(p.clientPicker));
        p.consultantNumberBox->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(p.consultantPicker));
    }

    void planningDates_data()
    {
        QTest::addColumn<bool>("start");
        QTest::addColumn<bool>("byPicture");
        QTest::addColumn<QString>("other");
        QTest::addColumn<QDate>("picked");
        QTest::addColumn<QString>("expected"); // the box's text afterwards
        QTest::addColumn<bool>("refused");
        QTest::newRow("start, end empty") << true << false << "" << QDate(2008, 3, 5) << "2008/03/05" << false;
        QTest::newRow("start equal to end") << true << false << "2008/03/05" << QDate(2008, 3, 5) << "2008/03/05" << false;
        QTest::newRow("start a day after end") << true << false << "2008/03/05" << QDate(2008, 3, 6) << "2008/01/01" << true;
        QTest::newRow("start after end, by picture") << true << true << "2008/03/05" << QDate(2009, 1, 1) << "2008/01/01"
                                                     << true;
        QTest::newRow("end after start, by picture") << false << true << "2008/03/05" << QDate(2008, 12, 31)
                                                     << "2008/12/31" << false;
        QTest::newRow("end equal to start") << false << false << "2008/03/05" << QDate(2008, 3, 5) << "2008/03/05" << false;
        QTest::newRow("end a day before start") << false << false << "2008/03/05" << QDate(2008, 3, 4) << "2008/01/01"
                                                << true;
    }
    void planningDates()
    {
        QFETCH(bool, start);
        QFETCH(bool, byPicture);
        QFETCH(QString, other);
        QFETCH(QDate, picked);
        QFETCH(QString, expected);
        QFETCH(bool, refused);
        Rig rig;
        auto &p = rig.project();
        rig.showTab(&p);
        QLineEdit *own = start ? p.startDateBox : p.endDateBox;
        (start ? p.endDateBox : p.startDateBox)->setText(other);
        own->setText("2008/01/01");
        p.calendar->setSelectedDate(picked);
        if (byPicture)
            QTest::mouseDClick(start ? p.startDateButton : p.endDateButton, Qt::LeftButton);
        else
            own->setFocus(Qt::MouseFocusReason);

        QTRY_VERIFY(p.calendar->isAncestorOf(QApplication::focusWidget()));
        QCOMPARE(own->text(), expected);
        QCOMPARE(rig.dialogs.boxes.size(), size_t(refused ? 1 : 0));
        if (refused)
            verifyBox(rig.dialogs.boxes[0], registration::planningDateRefusal(start), kTalveros, Icon::None, Buttons::Ok);
    }

    void durationAndRatesTakeOnlyNumbers_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("letter dropped") << "Text59" << "12a.5" << "12.5";
        QTest::newRow("comma and minus dropped") << "Text60" << "-1,5" << "15";
        QTest::newRow("limit of three") << "Text58" << "12345" << "123";
        QTest::newRow("percent and apostrophe pass") << "Text60" << "5%'" << "5%'";
        QTest::newRow("semicolon and letter dropped") << "Text58" << "1;x" << "1";
        QTest::newRow("sign and exponent dropped") << "Text59" << "-1e9;" << "19";
    }
    void durationAndRatesTakeOnlyNumbers()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        Rig rig;
        auto *line = rig.project().findChild<QLineEdit *>(box);
        line->clear();
        QTest::keyClicks(line, typed);
        QCOMPARE(line->text(), kept);
        QTest::keyClick(line, Qt::Key_Backspace);
        QCOMPARE(line->text(), kept.chopped(1));
        // Pasted, the same characters leave the same.
        line->clear();
        QGuiApplication::clipboard()->setText(typed);
        line->paste();
        QCOMPARE(line->text(), kept);
    }

    // A new project's number comes after every project and after every data row whose
    // number is one (up to nine digits): it never takes over the data rows of a project
    // removed without them. Anything else in a data row's number counts for nothing.
    void projectNumberPassesEveryDataRow_data()
    {
        QTest::addColumn<QList<std::optional<QString>>>("dataRows");
        QTest::addColumn<QString>("number");
        using Rows = QList<std::optional<QString>>;
        QTest::newRow("none beyond the projects") << Rows{s("1"), s("2")} << "3";
        QTest::newRow("one beyond them") << Rows{s("7"), s("1")} << "8";
        QTest::newRow("leading zeros") << Rows{s("0012")} << "13";
        QTest::newRow("no numbers") << Rows{s("abc"), s("12abc"), s(" 9"), s("-5"), s(""), std::nullopt} << "3";
        QTest::newRow("ten digits") << Rows{s("1234567890")} << "3";
    }
    void projectNumberPassesEveryDataRow()
    {
        QFETCH(QList<std::optional<QString>>, dataRows);
        QFETCH(QString, number);
        dropTriggers();
        seedMasterData();
        seedProjects({{"Zaak", "0001Zaak0001"}, {"Audit", "0003Audit0001"}});
        std::vector<Row> rows;
        for (const auto &n : dataRows)
            rows.push_back({n, s("")});
        test::insertRows(Database::Main, kProjectData, {"nummer", "Gegevens"}, rows);
        createTriggers();
        Rig rig;
        auto &p = rig.project();
        choose(p.clientPicker, "0002  Gemeente Zeist  (ICT)");
        choose(p.consultantPicker, "0003  drs. P. de Vries");
        QTest::keyClicks(p.projectNameBox, "Nieuw");
        rig.doubleClick(p.createProjectButton, Answer::Yes);
        QCOMPARE(rig.dialogs.texts().back(), QStringLiteral("Het project is aangemaakt"));
        QCOMPARE(column(kProjects, "nummer").back(), number);
    }

    void projectStoredAndListed()
    {
        seedMasterData();
        seedProjects({{"Zaak", "0001Zaak0001"}, {"Audit", "0003Audit0001"}, {"Audit", "0001Audit0002"}});
        Rig rig;
        auto &p = rig.project();
        choose(p.clientPicker, "0002  Gemeente Zeist  (ICT)");
        choose(p.consultantPicker, "0003  drs. P. de Vries");
        QTest::keyClicks(p.projectNameBox, "Audit");
        p.descriptionBox->setPlainText("Regel 1\nO'Brien \\ \"x\"");
        p.startDateBox->setText("2008/01/01");
        p.endDateBox->setText("2008/03/31");
        p.contractDurationBox->setText("60");
        p.purchaseDayRateBox->setText("900.5");
        p.salesDayRateBox->setText("750");
        p.consultantMessageBox->setPlainText("Welkom");
        rig.doubleClick(p.createProjectButton, Answer::Yes);

        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
        verifyBox(rig.dialogs.boxes[0],
                  "Weet U zeker dat U dit project wilt aanmaken?\r\n\r\nOpdrachtgever  : 0002  Gemeente Zeist  (ICT)\r\n"
                  "Consultant         : 0003  drs. P. de Vries\r\n\r\nProjectnaam      : Audit\r\n\r\n"
                  "Regel 1\r\nO'Brien \\ \"x\"\r\n",
                  "Bevestigen project aanmaken", Icon::Question, Buttons::YesNo);
        verifyBox(rig.dialogs.boxes[1], "Het project is aangemaakt", kTalveros, Icon::None, Buttons::Ok);
        QCOMPARE(test::tableRows(Database::Main, kProjects,
                                 {"Projectnaam", "ProjectOmschrijving", "Projectcode", "Opdrachtgevernummer",
                                  "consultantnummer", "TijdsplanningDATUMvan", "TijdsplanningDATUMtm",
                                  "ProjectduurPer8uur", "InkoopDagtariefOpdrachtgever", "VerkoopDagtariefConsultant",
                                  "CommentaarCONSULTANT", "CommentaarADMIN", "AFSLUITEN"})
                     .back(),
                 (Row{s("Audit"), s("Regel 1\r\nO'Brien \\ \"x\""), s("0003Audit0002"), s("0002"), s("0003"),
                      s("2008/01/01"), s("2008/03/31"), s("60"), s("900.5"), s("750"), s("Welkom"), s("GEEN"),
                      s("Nee")}));
        QCOMPARE(items(rig.combo("Combo3")),
                 (QStringList{"0001Audit0002", "0001Zaak0001", "0003Audit0001", "0003Audit0002"}));
        QCOMPARE(items(p.projectPicker),
                 (QStringList{"0001Zaak0001", "0003Audit0001", "0001Audit0002", "0003Audit0002"}));
        // The names once each where they stand together; the counter counts projects.
        QCOMPARE(items(rig.combo("Combo7")), (QStringList{"Audit", "Zaak"}));
        QCOMPARE(rig.text("Text49"), QStringLiteral(" 4"));
        QCOMPARE(rig.text("Text31"), QStringLiteral("0001Zaak0001"));
        QCOMPARE(p.projectNameBox->text(), QStringLiteral("Audit"));
    }

    void existingCodeRefused_data()
    {
        QTest::addColumn<QString>("storedCode");
        QTest::addColumn<bool>("storedAfterStartUp");
        QTest::addColumn<bool>("refused");
        QTest::newRow("same code, known to the window") << "0003Audit0002" << false << true;
        QTest::newRow("same code, stored meanwhile by another workstation") << "0003Audit0002" << true << true;
        QTest::newRow("differs in letter case") << "0003AUDIT0002" << false << false;
        QTest::newRow("differs in letter case, stored meanwhile") << "0003audit0002" << true << false;
        QTest::newRow("differs by a trailing blank, stored meanwhile") << "0003Audit0002 " << true << false;
    }
    void existingCodeRefused()
    {
        QFETCH(QString, storedCode);
        QFETCH(bool, storedAfterStartUp);
        QFETCH(bool, refused);
        seedMasterData();
        seedProjects({{"Eerste", "0001Eerste0001"}});
        if (!storedAfterStartUp)
            seedProjects({{"Audit", storedCode}});
        Rig rig;
        if (storedAfterStartUp)
            seedProjects({{"Audit", storedCode}});
        auto &p = rig.project();
        choose(p.clientPicker, "0002  Gemeente Zeist  (ICT)");
        choose(p.consultantPicker, "0003  drs. P. de Vries");
        QTest::keyClicks(p.projectNameBox, "Audit");
        rig.doubleClick(p.createProjectButton, Answer::Yes);

        const QStringList codes = column(kProjects, "Projectcode");
        if (!refused) {
            QCOMPARE(codes, (QStringList{"0001Eerste0001", storedCode, "0003Audit0002"}));
            QCOMPARE(rig.dialogs.texts().last(), QStringLiteral("Het project is aangemaakt"));
            return;
        }
        QCOMPARE(codes, (QStringList{"0001Eerste0001", "0003Audit0002"}));
        const auto &last = rig.dialogs.boxes.back();
        verifyBox(last, "Een project met de naam '0003Audit0002' bestaat reeds", kTalveros, Icon::None, Buttons::Ok);
        // The window's own copy refuses before asking, and shows the project it found.
        QCOMPARE(rig.dialogs.boxes.size(), size_t(storedAfterStartUp ? 2 : 1));
        if (!storedAfterStartUp)
            QCOMPARE(rig.text("Text31"), storedCode);
    }

    void deletionQuestion_data()
    {
        QTest::addColumn<QString>("description");
        QTest::newRow("with description") << "Migratie van de servers";
        QTest::newRow("empty description") << "";
    }
    void deletionQuestion()
    {
        QFETCH(QString, description);
        seedProjects({{"Audit", "0003Audit0002"}}, description);
        Rig rig;
        rig.doubleClick(named<platform::PictureButton>(rig.form, "Image4"), Answer::No);
        verifyBox(rig.dialogs.boxes[0],
                  "Weet U zeker dat U dit project voorgoed wilt verwijderen?\r\n\r\n"
                  "Wilt U opslaan en archieveren kies dan NEE!\r\n\r\nProjectnummer : 1\r\n"
                  "Projectnaam      : Audit\r\n\r\n"
                      + description + "\r\n",
                  "Bevestigen van een definitieve verwijdering", Icon::Critical, Buttons::YesNo);
    }

    void deletion_data()
    {
        QTest::addColumn<bool>("triggers");
        QTest::addColumn<bool>("secondDataRow");
        QTest::addColumn<QStringList>("listedAfter");
        QTest::addColumn<QStringList>("dataAfter"); // nummer:Gegevens
        QTest::newRow("related tables: the project goes")
            << true << false << QStringList{"0001Audit0001", "0002Zaak0001"} << QStringList{"2:", "3:"};
        QTest::newRow("two data rows: only the first goes, the project stays")
            << true << true << QStringList{"0001Audit0001", "0001Audit0002", "0002Zaak0001"}
            << QStringList{"2:", "3:", "1:tweede"};
        QTest::newRow("unrelated tables: the project stays listed")
            << false << false << QStringList{"0001Audit0001", "0001Audit0002", "0002Zaak0001"} << QStringList{"2:", "3:"};
    }
    void deletion()
    {
        QFETCH(bool, triggers);
        QFETCH(bool, secondDataRow);
        QFETCH(QStringList, listedAfter);
        QFETCH(QStringList, dataAfter);
        seedProjects({{"Audit", "0001Audit0002"}, {"Zaak", "0002Zaak0001"}, {"Audit", "0001Audit0001"}});
        if (secondDataRow)
            test::insertRows(Database::Main, kProjectData, {"nummer", "Gegevens"}, {{s("1"), s("tweede")}});
        if (!triggers)
            dropTriggers();
        Rig rig;
        QCOMPARE(rig.text("Text29"), QStringLiteral("1"));
        rig.doubleClick(named<platform::PictureButton>(rig.form, "Image4"), Answer::Yes);

        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
        verifyBox(rig.dialogs.boxes[1], "Het project is verwijderd", kTalveros, Icon::None, Buttons::Ok);
        QStringList data;
        for (const Row &row : test::tableRows(Database::Main, kProjectData, {"nummer", "Gegevens"}))
            data << *row[0] + u':' + *row[1];
        QCOMPARE(data, dataAfter);
        QCOMPARE(items(rig.combo("Combo3")), listedAfter);
        QCOMPARE(rig.text("Text49"), u' ' + QString::number(listedAfter.size()));
        QCOMPARE(items(rig.project().projectPicker).size(), listedAfter.size());
        // Every name, repeats included.
        QCOMPARE(items(rig.combo("Combo7")), listedAfter.size() == 3 ? (QStringList{"Audit", "Audit", "Zaak"})
                                                              : (QStringList{"Audit", "Zaak"}));
        QCOMPARE(rig.text("Text31"), column(kProjects, "Projectcode").first());
    }

    void paneDescribesTheProjectItShowsAfterwards()
    {
        seedMasterData();
        test::insertRows(Database::Main, kProjects,
                         {"nummer", "Projectnaam", "Projectcode", "Opdrachtgevernummer", "consultantnummer"},
                         {{s("1"), s("Audit"), s("0003Audit0002"), s("0002"), s("0003")},
                          {s("2"), s("Zaak"), s("0001Zaak0001"), s("0001"), s("0001")}});
        Rig rig;
        QCOMPARE(rig.text("Text50"), QStringLiteral("Gemeente Zeist  (ICT)"));
        rig.doubleClick(named<platform::PictureButton>(rig.form, "Image4"), Answer::Yes);
        QCOMPARE(rig.text("Text31"), QStringLiteral("0001Zaak0001"));
        QCOMPARE(rig.text("Text50"), QStringLiteral("Waterschap  (Inkoop)"));
        QCOMPARE(rig.text("Text51"), QStringLiteral(" Anna  Smit"));
        // The other panes stay on what they showed.
        QCOMPARE(rig.text("Text2"), QStringLiteral("0003"));
        QCOMPARE(rig.text("Text15"), QStringLiteral("0002"));
    }

    // A write whose reply is lost (the connection cut after the server took it, or before)
    // is looked up once nothing it sent can still run: the administrator hears what
    // happened, with the number and the credentials when it was stored, and trying again
    // never stores or deletes twice. Project 1 has two identical data rows; another
    // program may add a third before the request is made again.
    void writeWithLostReply_data()
    {
        QTest::addColumn<bool>("deletion");
        QTest::addColumn<QString>("match");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("times");
        QTest::addColumn<QStringList>("more"); // for the proxy
        QTest::addColumn<QStringList>("said"); // a part of each box after the question
        QTest::addColumn<int>("rows");         // consultants, or project 1's data rows
        QTest::addColumn<bool>("otherProgramAdds");
        QTest::addColumn<QList<bool>>("retry"); // the answers when asked again, none: not asked
        QTest::addColumn<QString>("retrySaid"); // how the last box starts
        QTest::addColumn<int>("retryRows");
        const QString stored = QStringLiteral("De consultant 0004 is aangemaakt");
        const QString deleted = QStringLiteral("Het project is verwijderd");
        const QStringList none;
        QTest::newRow("commit's reply lost, stored") << false << "^COMMIT" << "blackhole-after" << 1 << none
                                                     << QStringList{stored} << 4 << false << QList<bool>{} << "" << 4;
        QTest::newRow("insert never sent") << false << "^insert into `TALVERO_consultants`" << "rst-before" << 1 << none
                                           << QStringList{"er is niets opgeslagen"} << 3 << false << QList<bool>{true}
                                           << stored << 4;
        QTest::newRow("outcome unknown, then asked again")
            << false << "^COMMIT|^select count\\(\\*\\) from `TALVERO_consultants` where BINARY" << "blackhole-after" << 2
            << none << QStringList{"niet bekend"} << 4 << false << QList<bool>{true} << stored << 4;
        QTest::newRow("commit held, its session cannot be ended, then asked again")
            << false << "^COMMIT" << "hold-before" << 1 << QStringList{"--delay", "1500", "--also-answer", "^KILL=1095:HY000:You are not owner of thread"}
            << QStringList{"niet bekend"} << 4 << false << QList<bool>{true} << stored << 4;
        QTest::newRow("lists not read again") << false << "^select \\* from `TALVERO_consultants`" << "rst-before" << 1
                                              << none << QStringList{stored, "Lost connection"} << 4 << false
                                              << QList<bool>{} << "" << 4;
        QTest::newRow("deletion's reply lost, another program adds a row")
            << true << "^DELETE FROM `TALVERO_PROJECT_DATA`" << "blackhole-after" << 1 << none
            << QStringList{"er is niets verwijderd"} << 2 << true << QList<bool>{true} << deleted << 2;
        QTest::newRow("deletion's commit lost, another program adds a row, asked again")
            << true << "^COMMIT" << "blackhole-after" << 1 << none << QStringList{"niet bekend"} << 1 << true
            << QList<bool>{true, true} << deleted << 1;
        QTest::newRow("deletion's commit lost, the administrator keeps the rows")
            << true << "^COMMIT" << "blackhole-after" << 1 << none << QStringList{"niet bekend"} << 1 << true
            << QList<bool>{true, false} << "Het project is NIET verwijderd" << 2;
    }
    void writeWithLostReply()
    {
        QFETCH(bool, deletion);
        QFETCH(QString, match);
        QFETCH(QString, action);
        QFETCH(int, times);
        QFETCH(QStringList, more);
        QFETCH(QStringList, said);
        QFETCH(int, rows);
        QFETCH(bool, otherProgramAdds);
        QFETCH(QList<bool>, retry);
        QFETCH(QString, retrySaid);
        QFETCH(int, retryRows);
        seedForWrite(deletion);
        Rig rig;
        QWidget *picture = writePicture(rig, deletion);
        const auto count = [deletion] { return writtenRows(deletion); };
        {
            test::FaultProxy proxy(match, action, times, 1, more);
            rig.doubleClick(picture, Answer::Yes);
            QVERIFY2(proxy.fired(), qPrintable(proxy.log()));
            // A statement held on the wire reaches the server after the box, on its own.
            if (action == QLatin1String("hold-before"))
                QTRY_VERIFY_WITH_TIMEOUT(proxy.log().contains(QStringLiteral("released the held")), 10000);
        }
        QStringList texts = rig.dialogs.texts().mid(1);
        QCOMPARE(texts.size(), said.size());
        for (qsizetype i = 0; i < said.size(); ++i)
            QVERIFY2(texts[i].contains(said[i]), qPrintable(texts[i]));
        QTRY_COMPARE(count(), rows);
        if (otherProgramAdds)
            addDataRowOfProject1();
        if (retry.isEmpty())
            return;
        rig.dialogs.boxes.clear();
        for (bool yes : retry)
            rig.dialogs.answers.push_back(yes ? Answer::Yes : Answer::No);
        QTest::mouseDClick(picture, Qt::LeftButton);
        QVERIFY2(rig.dialogs.texts().back().startsWith(retrySaid), qPrintable(rig.dialogs.texts().join("\n--\n")));
        if (retry.size() > 1)
            verifyBox(rig.dialogs.boxes[1], registration::deletionAfterDoubtQuestion("1", rows + 1), kTalveros,
                      Icon::Question, Buttons::YesNo);
        QCOMPARE(count(), retryRows);
    }

    // "Afbreken" ends the given-up statement on the server before anything is concluded:
    // what the box says is what the tables hold afterwards, also once the other program
    // lets go, and asking again writes once.
    void givingUpEndsTheWriteOnTheServer_data()
    {
        QTest::addColumn<bool>("deletion");
        QTest::addColumn<QString>("said");
        QTest::newRow("deletion waiting for another program's lock") << true << "er is niets verwijderd";
        QTest::newRow("creation whose commit is held on the wire") << false << "er is niets opgeslagen";
    }
    void givingUpEndsTheWriteOnTheServer()
    {
        QFETCH(bool, deletion);
        QFETCH(QString, said);
        seedForWrite(deletion);
        Rig rig;
        QWidget *picture = writePicture(rig, deletion);
        const auto count = [deletion] { return writtenRows(deletion); };
        const int before = count();
        {
            std::optional<data::Connection> other;
            std::optional<test::FaultProxy> proxy;
            if (deletion) {
                other.emplace(Database::Main);
                other->execute("START TRANSACTION");
                other->query("SELECT * FROM TALVERO_PROJECT_DATA WHERE nummer = '1' FOR UPDATE");
            } else {
                proxy.emplace("^COMMIT", "hold-before", 1, 10, QStringList{"--delay", "2000"});
            }
            test::FakeWait hook;
            hook.giveUpWhen = [&] {
                return deletion ? test::runningOnServer("DELETE FROM `TALVERO_PROJECT_DATA`%") > 0
                                : proxy->log().contains(QStringLiteral("holding"));
            };
            {
                platform::WaitHookScope scope(&hook);
                rig.doubleClick(picture, Answer::Yes);
            }
            QVERIFY2(hook.gaveUp, qPrintable(rig.dialogs.texts().join("\n--\n")));
            QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
            QVERIFY2(rig.dialogs.texts().back().contains(said), qPrintable(rig.dialogs.texts().back()));
            if (deletion)
                other->execute("ROLLBACK");
            else
                QTRY_VERIFY_WITH_TIMEOUT(proxy->log().contains(QStringLiteral("released the held")), 10000);
        }
        QCOMPARE(test::runningOnServer("DELETE FROM `TALVERO_PROJECT_DATA`%"), 0);
        QCOMPARE(count(), before);
        rig.doubleClick(picture, Answer::Yes);
        QVERIFY2(rig.dialogs.texts().back().startsWith(deletion ? "Het project is verwijderd" : "De consultant 0004 is aangemaakt"),
                 qPrintable(rig.dialogs.texts().back()));
        QCOMPARE(count(), deletion ? before - 1 : before + 1);
    }

    // A server of another family (MySQL) refuses the cluster's session setting, and a
    // cluster may refuse named locks: signing in and registering work all the same.
    void refusalsOfOtherServers_data()
    {
        QTest::addColumn<QString>("match");
        QTest::addColumn<QString>("error");
        QTest::newRow("no wsrep_sync_wait, as MySQL")
            << "wsrep_sync_wait" << "1193:HY000:Unknown system variable 'wsrep_sync_wait'";
        QTest::newRow("no GET_LOCK in a cluster")
            << "GET_LOCK" << "1235:42000:This version of MariaDB doesn't yet support 'GET_LOCK in cluster (WSREP_ON=ON)'";
    }
    void refusalsOfOtherServers()
    {
        QFETCH(QString, match);
        QFETCH(QString, error);
        seedMasterData();
        test::setAdministrators({{s("ADMIN"), s("qorun")}});
        struct Host final : signin::MainWindowHost {
            bool showPrinters(const QStringList &, int) override { return true; }
            void showMainWindow() override { ++shown; }
            int shown = 0;
        };
        test::FaultProxy proxy(match, "answer-error", 1000, 10, {"--error", error});
        struct Causal {
            ~Causal() { data::setCausalReads(true); }
        } restore;
        {
            test::FakeServices signIn;
            signin::WorkstationInfo info;
            Host host;
            signin::frmSplash splash(signIn.services, info, host);
            QTest::mouseClick(splash.signInButton, Qt::LeftButton);
            QVERIFY2(signIn.dialogs.boxes.empty(), qPrintable(signIn.dialogs.texts().join("\n")));
            QCOMPARE(host.shown, 1);
        }
        Rig rig;
        rig.doubleClick(rig.consultant().createConsultantButton, Answer::Yes);
        QVERIFY2(rig.dialogs.texts().back().startsWith(QStringLiteral("De consultant 0004 is aangemaakt")),
                 qPrintable(rig.dialogs.texts().join("\n")));
        QCOMPARE(column(kConsultants, "nummer").size(), 4);
        QVERIFY2(proxy.fired(), qPrintable(proxy.log()));
    }

    // Unknown outcomes are each kept until settled: a client's does not take the place of
    // a consultant's, and each is settled by the next creation of its own kind.
    void everyUnknownCreationIsKept()
    {
        seedMasterData();
        Rig rig;
        {
            test::FaultProxy proxy("^COMMIT|^select count\\(\\*\\) from `TALVERO_(consultants|opdrachtgevers)` where BINARY",
                                   "blackhole-after", 4);
            rig.doubleClick(rig.consultant().createConsultantButton, Answer::Yes);
            rig.doubleClick(rig.client().createClientButton, Answer::Yes);
        }
        QCOMPARE(rig.dialogs.texts().size(), 4);
        QVERIFY(rig.dialogs.texts()[1].contains(QStringLiteral("niet bekend")));
        QVERIFY(rig.dialogs.texts()[3].contains(QStringLiteral("niet bekend")));
        rig.doubleClick(rig.consultant().createConsultantButton, Answer::Yes);
        QVERIFY2(rig.dialogs.texts().back().startsWith(QStringLiteral("De consultant 0004 is aangemaakt")),
                 qPrintable(rig.dialogs.texts().back()));
        rig.doubleClick(rig.client().createClientButton, Answer::Yes);
        QVERIFY2(rig.dialogs.texts().back().startsWith(QStringLiteral("De opdrachtgever 0003 is aangemaakt")),
                 qPrintable(rig.dialogs.texts().back()));
        QCOMPARE(column(kConsultants, "nummer").size(), 4);
        QCOMPARE(column(kClients, "nummer").size(), 3);
    }

    void deletionWithoutDataRowDeletesNothing()
    {
        dropTriggers();
        seedProjects({{"Audit", "0001Audit0002"}, {"Zaak", "0002Zaak0001"}});
        // Rows the server's collation would call equal to "1", but that are not its row.
        test::insertRows(Database::Main, kProjectData, {"nummer", "Gegevens"},
                         {{s("2"), s("")}, {s("1 "), s("")}, {s("01"), s("")}});
        createTriggers();
        Rig rig;
        rig.doubleClick(named<platform::PictureButton>(rig.form, "Image4"), Answer::Yes);
        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
        verifyBox(rig.dialogs.boxes[1], registration::projectHasNoData("1"), kTalveros, Icon::Exclamation, Buttons::Ok);
        QCOMPARE(column(kProjectData, "nummer"), (QStringList{"2", "1 ", "01"}));
        QCOMPARE(column(kProjects, "Projectcode"), (QStringList{"0001Audit0002", "0002Zaak0001"}));

        test::resetTable(Database::Main, kProjectData);
        rig.doubleClick(named<platform::PictureButton>(rig.form, "Image4"), Answer::Yes);
        verifyBox(rig.dialogs.boxes.back(), registration::projectHasNoData("1"), kTalveros, Icon::Exclamation,
                  Buttons::Ok);
    }
};

QTEST_MAIN(TestRegistration)
#include "tst_registration.moc"
