#include "data/BoundSource.h"
#include "data/ConnectionSettings.h"
#include "invoicing/InvoicingTab.h"
#include "mainwindow/Form1.h"
#include "panes/RecordPanes.h"
#include "platform/PictureButton.h"
#include "platform/TextBox.h"
#include "registration/EntryTabs.h"
#include "tools/WebView.h"
#include "support/Fakes.h"
#include "support/Named.h"

#include <QAbstractButton>
#include <QFile>
#include <QHash>
#include <QListWidget>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

using namespace talveros;
using test::named;

namespace {

const QString kBlanks24(24, QLatin1Char(' '));
const QColor kYellow(255, 255, 0), kCyan(0, 255, 255), kGreen(0, 255, 0);
const QColor kLightYellow(255, 255, 128), kLightGreen(128, 255, 128);
const QColor kRed(255, 0, 0), kDarkGreen(0, 128, 0);
const QVariant kEmpty = QString();

// One control as the administrator first sees it. Unset fields are not checked.
struct Expect {
    const char *name;
    const char *kind;
    QVariant text = {};
    QVariant toolTip = {};
    int maxLength = -1;
    int readOnly = -1;
    QColor base = {};
    QColor fore = {};
    int hidden = -1;
};

const char *kPicture = "talveros::platform::PictureButton";

QString shownText(QWidget *w)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    if (auto *e = qobject_cast<QPlainTextEdit *>(w))
        return e->toPlainText();
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->currentText();
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    return QStringLiteral("<no text>");
}

// A column as db/schema.sql creates it: its type, and for VARCHAR the characters it holds.
struct Column {
    QString type;
    int length = 0;
};

// Every table of db/schema.sql with its columns, names folded to lower case: the
// window's sources find their columns whatever the letter case.
QHash<QString, QHash<QString, Column>> schemaTables()
{
    QFile file(QStringLiteral(TALVEROS_TESTS_DIR "/../db/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString sql = QString::fromUtf8(file.readAll());
    static const QRegularExpression table(QStringLiteral(R"(CREATE TABLE IF NOT EXISTS (\w+) \((.*?)\);)"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression column(QStringLiteral(R"(^\s*(\w+)\s+(\w+)(?:\((\d+)\))?)"),
                                           QRegularExpression::MultilineOption);
    QHash<QString, QHash<QString, Column>> tables;
    for (const auto &t : table.globalMatch(sql)) {
        auto &columns = tables[t.captured(1)];
        for (const auto &c : column.globalMatch(t.captured(2)))
            columns.insert(c.captured(1).toLower(), {c.captured(2).toUpper(), c.captured(3).toInt()});
    }
    return tables;
}

int readOnlyOf(QWidget *w)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->isReadOnly();
    if (auto *e = qobject_cast<QPlainTextEdit *>(w))
        return e->isReadOnly();
    return -2;
}

} // namespace

class TestForm1Layout : public QObject {
    Q_OBJECT

    test::FakeServices m_fakes;
    test::FakeDialogs &m_dialogs = m_fakes.dialogs;
    platform::Services &m_services = m_fakes.services;
    std::unique_ptr<mainwindow::Form1> m_form;

private slots:
    void initTestCase()
    {
        // Nothing listens on port 1: any attempt to read during construction fails
        // at once with a data error instead of finding some server by chance.
        data::overrideServerForTests(QStringLiteral("127.0.0.1"), 1);
        m_form = std::make_unique<mainwindow::Form1>(m_services);
    }

    void constructionReadsNoData()
    {
        QCOMPARE(&m_form->services().dialogs, &m_dialogs);
        QVERIFY(m_dialogs.boxes.empty());
        const struct {
            const char *name;
            const char *table;
            bool writable;
        } sources[] = {{"Adodc1", "TALVERO_consultants", false},
                       {"Adodc2", "TALVERO_opdrachtgevers", true},
                       {"Adodc3", "TALVERO_projecten", true}};
        for (const auto &s : sources) {
            auto *source = named<data::BoundSource>(*m_form, s.name);
            QCOMPARE(source->table(), QLatin1String(s.table));
            QCOMPARE(source->isWritable(), s.writable);
            QCOMPARE(source->rowCount(), size_t(0));
        }
        // Whoever wires the window starts the clocks.
        auto *clock = named<QTimer>(*m_form, "Timer2");
        QCOMPARE(clock->interval(), 100);
        QVERIFY(!clock->isActive());
        auto *presence = named<QTimer>(*named(*m_form, "presence"), "Timer1");
        QCOMPARE(presence->interval(), 7800);
        QVERIFY(!presence->isActive());
        QCOMPARE(presence->timerType(), Qt::PreciseTimer);
    }

    void windowFitsTheScreen()
    {
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Kordam Consultancy  TALVERO-beheer"));
        // 1280x1024 less the window frame and title bar.
        const QSize least = m_form->minimumSizeHint();
        QVERIFY2(least.width() <= 1270 && least.height() <= 990,
                 qPrintable(QStringLiteral("%1x%2").arg(least.width()).arg(least.height())));
        QVERIFY(m_form->width() <= 1280 && m_form->height() <= 1000);
    }

    void tabs()
    {
        const QStringList outer{QStringLiteral("Maken/Toevoegen"), QStringLiteral("Mailing"),
                                QStringLiteral("Factureren/Printen"), QStringLiteral("Communicatie"),
                                QStringLiteral("Web browser")};
        const QStringList inner{QStringLiteral("NIEUW Project aanmaken"), QStringLiteral("Opdrachtgever aanmaken"),
                                QStringLiteral("Consultant aanmaken"), QStringLiteral("Gebruikers archief")};
        auto *outerTabs = named<QTabWidget>(*m_form, "SSTab1");
        auto *innerTabs = named<QTabWidget>(*m_form, "SSTab2");
        QCOMPARE(outerTabs->count(), outer.size());
        for (int i = 0; i < outer.size(); ++i)
            QCOMPARE(outerTabs->tabText(i), outer[i]);
        QCOMPARE(innerTabs->count(), inner.size());
        for (int i = 0; i < inner.size(); ++i)
            QCOMPARE(innerTabs->tabText(i), inner[i]);

        QVERIFY(outerTabs->widget(0)->isAncestorOf(innerTabs));
        QVERIFY(outerTabs->widget(2)->isAncestorOf(named(*m_form, "List4")));
        QVERIFY(outerTabs->widget(3)->isAncestorOf(named(*m_form, "Text144")));
        QVERIFY(outerTabs->widget(4)->isAncestorOf(named(*m_form, "Image2")));
        QVERIFY(innerTabs->widget(0)->isAncestorOf(named(*m_form, "Calendar1")));
        QVERIFY(innerTabs->widget(3)->isAncestorOf(named(*m_form, "List2")));
        QVERIFY(!outerTabs->isAncestorOf(named(*m_form, "Combo3")));
        QVERIFY(named(*m_form, "projectEntry")->isAncestorOf(named(*m_form, "Calendar1")));
    }

    void controls_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QVariant>("text");
        QTest::addColumn<QVariant>("toolTip");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<int>("readOnly");
        QTest::addColumn<QColor>("base");
        QTest::addColumn<QColor>("fore");
        QTest::addColumn<int>("hidden");

        const QString dateHint = QStringLiteral("KLIK om de huidig geselecteerde Datum in te vullen");
        const QString confirmHint = QStringLiteral("Controleren en vragen om bevestiging");
        const Expect rows[] = {
            // Main window
            {"Label46", "QLabel", QStringLiteral("Datum tijd")},
            {"Label19", "QLabel",
             QStringLiteral("Talveros  -  TALVERO-beheer  -  Beheermodule voor het consultantsnetwerk  -  versie "
                            TALVEROS_VERSION)},
            {"Combo9", "QComboBox"},
            {"Text143", "QPlainTextEdit", kEmpty, {}, -1, 1, QColor(0, 0, 255), QColor(Qt::white)},
            {"Command1", "QPushButton", QStringLiteral("MAKE RECORD")},
            {"Command2", "QPushButton", QStringLiteral("Controleer Serververbinding")},
            {"Image13", kPicture},
            {"WebBrowser1", "talveros::tools::WebView", {}, {}, -1, -1, {}, {}, 1},
            {"Picture1", kPicture, {}, QStringLiteral("Sluit deze WEB pagina"), -1, -1, {}, {}, 1},
            // Record panes
            {"consultantPane", "QFrame", {}, {}, -1, -1, QColor(192, 255, 192)},
            {"clientPane", "QFrame", {}, {}, -1, -1, QColor(255, 255, 192)},
            {"projectPane", "QFrame", {}, {}, -1, -1, QColor(192, 255, 255)},
            {"Label10", "QLabel", kBlanks24 + QStringLiteral("Consultants")},
            {"Label13", "QLabel", kBlanks24 + QStringLiteral("Opdrachtgevers")},
            {"Label14", "QLabel", kBlanks24 + QStringLiteral("Projecten")},
            {"Combo1", "QComboBox", QStringLiteral("Consultants lijst"), {}, -1, -1, kGreen},
            {"Combo2", "QComboBox", QStringLiteral("Opdrachtgevers lijst"), {}, -1, -1, kYellow},
            {"Combo3", "QComboBox", QStringLiteral("Projectlijst"), {}, -1, -1, kCyan},
            {"Text45", "QLineEdit", QStringLiteral("Consultants"), {}, -1, 1},
            {"Text33", "QLineEdit", QStringLiteral("Opdrachtgevers"), {}, -1, 1},
            {"Text46", "QLineEdit", QStringLiteral("Projecten"), {}, -1, 1},
            {"Text48", "QLineEdit", kEmpty, {}, -1, 1},
            {"Text47", "QLineEdit", kEmpty, {}, -1, 1},
            {"Text49", "QLineEdit", kEmpty, {}, -1, 1},
            {"Text50", "QLineEdit", QStringLiteral("Opdrachtgever"), {}, -1, 1},
            {"Text51", "QLineEdit", QStringLiteral("Consultant"), {}, -1, 1},
            {"Label62", "QLabel", QStringLiteral("<<  dubbel-klik om te wijzigen")},
            {"Image4", kPicture},
            {"Image12", kPicture},
            {"Image16", kPicture, {}, QStringLiteral("Bezoek de WEBsite van deze consultant")},
            {"Image1", kPicture, {}, QStringLiteral("Bezoek de WEBsite van deze opdrachtgever")},
            {"Image18", kPicture, {}, QStringLiteral("E-Mail ZAKELIJK naar deze opdrachtgever")},
            // New project
            {"Image5", kPicture, {}, confirmHint},
            {"Image6", kPicture},
            {"Image7", kPicture},
            {"Calendar1", "QCalendarWidget"},
            {"Combo4", "QComboBox", QStringLiteral("Opdrachtgevers")},
            {"Combo5", "QComboBox", QStringLiteral("Consultants")},
            {"Combo6", "QComboBox", QStringLiteral("Een bestaand project ophalen en invullen")},
            {"Text52", "QLineEdit", QStringLiteral(" "), {}, -1, 1},
            {"Text53", "QLineEdit", kEmpty, {}, -1, 1},
            {"Text55", "QLineEdit", kEmpty, {}, 33, 1},
            {"Text56", "QLineEdit", kEmpty, dateHint, -1, 1},
            {"Text57", "QLineEdit", kEmpty, dateHint, -1, 1},
            {"Text58", "QLineEdit", QStringLiteral("0"), {}, 3, 0},
            {"Text59", "QLineEdit", QStringLiteral("0"), {}, 5, 0},
            {"Text60", "QLineEdit", QStringLiteral("0"), {}, 5, 0},
            {"Text61", "QPlainTextEdit", QStringLiteral("GEEN"), {}, -1, 0},
            {"Text68", "QPlainTextEdit", kEmpty, {}, -1, 0},
            // New client and consultant
            {"Image8", kPicture, {}, confirmHint},
            {"Image17", kPicture, {}, confirmHint},
            // Invoicing
            {"Label1_0", "QLabel", QStringLiteral("OPENSTAANDE Opdrachtgever facturen")},
            {"Label1_24", "QLabel", QStringLiteral("BETAALDE Opdrachtgever facturen ")},
            {"Label1_25", "QLabel", QStringLiteral("OPENSTAANDE Consultant facturen")},
            {"Label1_26", "QLabel", QStringLiteral("BETAALDE Consultant facturen")},
            {"Combo11", "QComboBox", QStringLiteral("Opdrachtgevers"), {}, -1, -1, kYellow},
            {"Combo7", "QComboBox", QStringLiteral("NOG TE DECLAREREN"), {}, -1, -1, kCyan},
            {"Combo13", "QComboBox", QStringLiteral("Opdrachtgevers"), {}, -1, -1, kYellow},
            {"Combo10", "QComboBox", QStringLiteral("AL GEDECLAREERD"), {}, -1, -1, kCyan},
            {"Combo16", "QComboBox", QStringLiteral("Consultants"), {}, -1, -1, kGreen},
            {"Combo8", "QComboBox", QStringLiteral("NOG TE DECLAREREN"), {}, -1, -1, kCyan},
            {"Combo18", "QComboBox", QStringLiteral("Consultants"), {}, -1, -1, kGreen},
            {"Combo19", "QComboBox", QStringLiteral("AL GEDECLAREERD"), {}, -1, -1, kCyan},
            {"List4", "QListView", {}, {}, -1, -1, kLightYellow, kRed},
            {"List5", "QListView", {}, {}, -1, -1, kLightYellow, kDarkGreen},
            {"List6", "QListView", {}, {}, -1, -1, kLightGreen, kRed},
            {"List7", "QListView", {}, {}, -1, -1, kLightGreen, kDarkGreen},
            {"Command3", "QPushButton", QStringLiteral("Command3")},
            {"Text70", "QPlainTextEdit", QStringLiteral("Text70"), {}, -1, -1, {}, {}, 1},
            {"Image30", kPicture},
            // Communication, stopped
            {"Label9", "QLabel", QStringLiteral("Bericht versturen aan alle gebruikers (lichtkrant GESTOPT)")},
            {"Text144", "QLineEdit",
             QStringLiteral("BELANGRIJK: In verband met werzaamheden is het TIJDELIJK NIET MOGELIJK te declareren"), {},
             -1, 1, QColor(255, 192, 192)},
            {"Image25", kPicture, {}, {}, -1, -1, {}, {}, 0},
            {"Label11", "QLabel", QStringLiteral("Bovenstaand bericht AANZETTEN"), {}, -1, -1, {}, {}, 0},
            {"Image26", kPicture, {}, {}, -1, -1, {}, {}, 1},
            {"Label12", "QLabel", QStringLiteral("Bovenstaand bericht UITZETTEN"), {}, -1, -1, {}, {}, 1},
            {"Option1", "QRadioButton",
             QStringLiteral("ALGEMEEN: Graag al uw openstaande declaraties uitvoeren over de vorige maand")},
            {"Option2", "QRadioButton",
             QStringLiteral("BELANGRIJK: In verband met werkzaamheden kunt u TIJDELIJK NIET DECLAREREN")},
            {"Option3", "QRadioButton",
             QStringLiteral("OPMERKING: In verband met vakantie kunt u voor vragen terecht op Tel. Nr. 020-5551234")},
            // Presence
            {"Image9", kPicture, {}, {}, -1, -1, {}, {}, 0},
            {"Label89", "QLabel", QStringLiteral("Inlog / Uitlog en online gegevens")},
            {"Text114", "QLineEdit",
             QStringLiteral("ONLINE  INLOGDATUM  INLOGTIJD  UITLOGDATUM UITLOGTIJD  OPDR  TITEL   NAAM"), {}, -1, 1,
             kYellow},
            {"Text115", "QLineEdit",
             QStringLiteral("ONLINE  INLOGDATUM  INLOGTIJD  UITLOGDATUM UITLOGTIJD  CONS  TITEL   NAAM"), {}, -1, 1,
             kGreen},
            {"List3", "QListWidget", {}, {}, -1, -1, kLightYellow},
            {"List2", "QListWidget", {}, {}, -1, -1, kLightGreen},
            {"Check1", "QCheckBox", QStringLiteral("10 seconden live tracking Aan/Uit")},
            // Web pages
            {"Image15", kPicture, {}, QStringLiteral("www.kordam.nl")},
            {"Image3", kPicture, {}, QStringLiteral("Google Website")},
            {"Image2", kPicture},
        };
        for (const Expect &e : rows)
            QTest::newRow(e.name) << QString::fromLatin1(e.kind) << e.text << e.toolTip << e.maxLength << e.readOnly
                                  << e.base << e.fore << e.hidden;
        // The registration screens' boxes: empty, open to typing, each with its typing limit.
        for (const QString &box : QStringLiteral(
                 "Text54/16 Text79/40 Text80/10 Text39/25 Text81/7 Text82/15 Text83/8 Text84/20 Text136/8 Text131/15 "
                 "Text119/20 Text120/25 Text69/10 Text130/25 Text85/35 Text121/35 Text86/7 Text87/20 Text132/30 "
                 "Text88/10 Text133/10 Text89/10 Text90/25 Text135/25 Text91/15 Text92/12 Text93/17 Text94/8 "
                 "Text62/45 Text97/7 Text98/15 Text99/8 Text100/20 Text137/8 Text138/15 Text139/20 Text101/35 "
                 "Text102/7 Text103/20 Text141/30 Text104/10 Text113/10 Text105/10 Text106/25 Text142/25 Text107/15 "
                 "Text108/12 Text109/17 Text110/8 Text65/3")
                                      .split(u' ')) {
            const QStringList nameAndLimit = box.split(u'/');
            QTest::newRow(qPrintable(nameAndLimit[0])) << QStringLiteral("QLineEdit") << kEmpty << QVariant()
                                                       << nameAndLimit[1].toInt() << 0 << QColor() << QColor() << -1;
        }
    }

    void controls()
    {
        QFETCH(QString, kind);
        QFETCH(QVariant, text);
        QFETCH(QVariant, toolTip);
        QFETCH(int, maxLength);
        QFETCH(int, readOnly);
        QFETCH(QColor, base);
        QFETCH(QColor, fore);
        QFETCH(int, hidden);

        const QString name = QString::fromLatin1(QTest::currentDataTag());
        const QList<QWidget *> found = m_form->findChildren<QWidget *>(name);
        QCOMPARE(found.size(), 1);
        QWidget *w = found.first();
        QVERIFY2(w->inherits(kind.toLatin1().constData()), w->metaObject()->className());

        if (text.isValid())
            QCOMPARE(shownText(w), text.toString());
        if (toolTip.isValid())
            QCOMPARE(w->toolTip(), toolTip.toString());
        if (maxLength >= 0) {
            auto *line = qobject_cast<QLineEdit *>(w);
            QCOMPARE(platform::typingLimit(line), maxLength);
        }
        if (readOnly >= 0)
            QCOMPARE(readOnlyOf(w), readOnly);
        if (base.isValid()) {
            const bool boxed = qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractScrollArea *>(w)
                || qobject_cast<QComboBox *>(w);
            QCOMPARE(w->palette().color(boxed ? QPalette::Base : QPalette::Window), base);
        }
        if (fore.isValid())
            QCOMPARE(w->palette().color(QPalette::Text), fore);
        if (hidden >= 0)
            QCOMPARE(int(w->isHidden()), hidden);
    }

    // A one-line box with the toolkit's default limit cuts what the program puts in at
    // 32,767 characters; none is left with it (the look-up lists' own boxes aside).
    void noOneLineBoxCutsProgramText()
    {
        for (QLineEdit *line : m_form->findChildren<QLineEdit *>()) {
            if (qobject_cast<QComboBox *>(line->parentWidget()) || line->objectName().startsWith(u"qt_"))
                continue;
            QVERIFY2(line->maxLength() > 32767, qPrintable(line->objectName()));
        }
    }

    void boundBoxes_data()
    {
        QTest::addColumn<QString>("pane");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("expected"); // box=column, and the box's typing limit where it has one
        QTest::newRow("consultants")
            << "consultantPane" << "Adodc1"
            << "Text1=nummer Text2=Consultantnummer Text3=Titel1 Text4=voornaam Text5=tussenvoegsel Text6=naam "
               "Text7=adres Text8=postcode Text9=woonplaats Text10=TELzakelijk Text11=EMAILzakelijk Text12=LOGIN "
               "Text13=PASWOORD Text40=NaamOrganisatie Text41=VARverklaring Text75=BANKnaam Text76=BANKnummer "
               "Text77=BTWnummer Text78=KVKnummer Text96=TELmobiel Text112=TELprive Text126=Titel2 Text127=WEBSITE "
               "Text128=EMAILprive Text134=Roepnaam Text140=Functie";
        QTest::newRow("clients")
            << "clientPane" << "Adodc2"
            << "Text14=nummer Text15=opdrachtgevernummer Text16=Bedrijf Text17=Titel2 Text18=naam "
               "Text19=tussenvoegsel Text20=voornaam Text21=Titel1 Text22=adres Text23=woonplaats Text24=postcode "
               "Text25=TELzakelijk Text26=EMAILzakelijk Text27=LOGIN Text28=PASWOORD Text64=Functie "
               "Text66=TELsecretaresse Text71=BANKnaam Text72=BANKnummer Text73=BTWnummer Text74=KVKnummer "
               "Text95=TELmobiel Text116=Opdrachtnaam Text117=Secretaresse Text118=Factuuradres "
               "Text122=EMAILsecretaresse Text123=WEBSITE Text124=TELprive Text125=EMAILprive Text129=Roepnaam";
        QTest::newRow("projects")
            << "projectPane" << "Adodc3"
            << "Text29=nummer Text30=PROJECTNAAM Text31=Projectcode Text32=Opdrachtgevernummer "
               "Text34=Consultantnummer Text35=TijdsplanningDATUMvan Text36=TijdsplanningDATUMtm "
               "Text37=ProjectduurPer8uur Text38=InkoopDagtariefOpdrachtgever/6 Text42=CommentaarCONSULTANT "
               "Text43=CommentaarADMIN Text44=AFSLUITEN/3 Text63=VerkoopDagtariefConsultant/6 "
               "Text67=ProjectOmschrijving";
    }

    // The bindings are the contract with the database's column names: each names a column
    // of its source's table in db/schema.sql, and the table decides the box: a text column
    // gets several lines, the rest one line that takes no more than the column holds.
    // Only the administrator's comment may be typed into; every other bound box is
    // skipped by the tab key. All start empty.
    void boundBoxes()
    {
        QFETCH(QString, pane);
        QFETCH(QString, source);
        QFETCH(QString, expected);
        static const auto tables = schemaTables();
        const auto columns = tables.value(named<data::BoundSource>(*m_form, qPrintable(source))->table());
        QVERIFY2(!columns.isEmpty(), "the source's table is not in db/schema.sql");
        auto *p = named<panes::RecordPane>(*m_form, qPrintable(pane));
        QStringList actual;
        for (const auto &[box, name] : p->bindings()) {
            const QString boxName = box->objectName();
            QVERIFY(p->isAncestorOf(box));
            QVERIFY2(columns.contains(name.toLower()), qPrintable(boxName + u' ' + name));
            const Column column = columns.value(name.toLower());
            const bool editable = boxName == QLatin1String("Text43");
            QCOMPARE(readOnlyOf(box), int(!editable));
            QCOMPARE(box->focusPolicy() == Qt::NoFocus, !editable);
            QCOMPARE(shownText(box), QString());
            QString entry = boxName + u'=' + name;
            if (auto *line = qobject_cast<QLineEdit *>(box)) {
                QVERIFY2(column.type != QLatin1String("MEDIUMTEXT"), qPrintable(boxName));
                const int limit = platform::typingLimit(line);
                if (column.type == QLatin1String("VARCHAR"))
                    QVERIFY2(limit <= column.length && (limit > 0 || !editable), qPrintable(boxName));
                if (limit > 0)
                    entry += u'/' + QString::number(limit);
            } else {
                QVERIFY2(qobject_cast<QPlainTextEdit *>(box), qPrintable(boxName));
                QCOMPARE(column.type, QStringLiteral("MEDIUMTEXT"));
            }
            actual << entry;
        }
        QCOMPARE(actual, expected.split(u' '));
    }

    // Every line of the window's naming table names a control that exists once under
    // that name, and no name stands in the table twice.
    void namingTableNamesEveryControlOnce()
    {
        QFile file(QStringLiteral(TALVEROS_TESTS_DIR "/../src/mainwindow/Form1Names.cpp"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        static const QRegularExpression line(QStringLiteral(R"re(\{\s*[\w>-]+\s*,\s*"(\w+)"\s*\})re"));
        QStringList names;
        for (auto m = line.globalMatch(QString::fromUtf8(file.readAll())); m.hasNext();)
            names << m.next().captured(1);
        QVERIFY(names.size() > 200);
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
        for (const QString &name : names)
            QVERIFY2(m_form->findChildren<QObject *>(name).size() == 1, qPrintable(name));
    }

    void paneControlsCarryFormNames_data()
    {
        QTest::addColumn<QString>("pane");
        QTest::newRow("consultants") << "consultantPane";
        QTest::newRow("clients") << "clientPane";
        QTest::newRow("projects") << "projectPane";
    }

    // The panes build their controls unnamed and the window names them afterwards, so a
    // control added to a pane but missed there would be out of reach of the network's
    // vocabulary and the checks. Every box, list, heading and picture of a pane carries a
    // form name that no other control of the window has; only the captions (labels with
    // a buddy) and the look-up lists' own edit fields go without.
    void paneControlsCarryFormNames()
    {
        QFETCH(QString, pane);
        static const QRegularExpression formName(QStringLiteral("^(Text|Combo|Image|Label)[0-9]+$"));
        auto *p = named<panes::RecordPane>(*m_form, qPrintable(pane));
        int controls = 0;
        for (QWidget *w : p->findChildren<QWidget *>()) {
            auto *label = qobject_cast<QLabel *>(w);
            const bool control = (label && !label->buddy()) || qobject_cast<QComboBox *>(w)
                || qobject_cast<QPlainTextEdit *>(w)
                || (qobject_cast<QLineEdit *>(w) && !qobject_cast<QComboBox *>(w->parentWidget()));
            if (!control)
                continue;
            ++controls;
            const QString what = QString::fromLatin1(w->metaObject()->className()) + u' ' + shownText(w);
            QVERIFY2(formName.match(w->objectName()).hasMatch(), qPrintable(what + QStringLiteral(" is named ") + w->objectName()));
            QVERIFY2(m_form->findChildren<QObject *>(w->objectName()).size() == 1, qPrintable(w->objectName()));
        }
        QVERIFY(controls > p->bindings().size());
    }

    void listsAndPickers_data()
    {
        QTest::addColumn<bool>("fixedPitch");
        QTest::addColumn<int>("selection");
        const int any = -1;
        const int extended = QAbstractItemView::ExtendedSelection;
        for (const char *c : {"Combo1", "Combo2", "Combo3", "Combo7", "Combo10", "Combo11", "Combo4", "Combo5",
                              "Combo6", "Combo8", "Combo13", "Combo16", "Combo18", "Combo19"})
            QTest::newRow(c) << false << any;
        QTest::newRow("List4") << true << extended;
        QTest::newRow("List6") << true << extended;
        QTest::newRow("List5") << true << int(QAbstractItemView::SingleSelection);
        QTest::newRow("List7") << true << int(QAbstractItemView::SingleSelection);
        QTest::newRow("List2") << true << any;
        QTest::newRow("List3") << true << any;
        QTest::newRow("Text70") << true << any;
        QTest::newRow("Text114") << true << any;
        QTest::newRow("Text115") << true << any;
    }

    // Fixed-width rows line up only in "Courier New"; lists and pickers keep the order
    // their fillers give them (the text order where those sort).
    void listsAndPickers()
    {
        QFETCH(bool, fixedPitch);
        QFETCH(int, selection);
        QWidget *w = m_form->findChild<QWidget *>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(w);
        if (auto *combo = qobject_cast<QComboBox *>(w)) {
            QVERIFY(combo->isEditable());
            QCOMPARE(combo->insertPolicy(), QComboBox::NoInsert);
        }
        if (auto *list = qobject_cast<QAbstractItemView *>(w)) {
            // A list widget that sorted itself would undo its filler's order.
            if (auto *widget = qobject_cast<QListWidget *>(w))
                QVERIFY(!widget->isSortingEnabled());
            if (selection >= 0)
                QCOMPARE(int(list->selectionMode()), selection);
        }
        if (fixedPitch) {
            QCOMPARE(w->font().family(), QStringLiteral("Courier New"));
            QCOMPARE(w->font().styleHint(), QFont::Monospace);
            if (qobject_cast<QAbstractScrollArea *>(w))
                QCOMPARE(w->font().pointSizeF(), 8.25);
        }
    }

    // These boxes pass their focus on as soon as they get it; taking part in the Tab
    // chain would trap the keyboard in a circle through the client list.
    void projectScreenTabKeySkipsForwardingBoxes()
    {
        const auto *tab = named<registration::ProjectEntryTab>(*m_form, "projectEntry");
        for (QWidget *w : {static_cast<QWidget *>(tab->clientNumberBox), static_cast<QWidget *>(tab->consultantNumberBox),
                           static_cast<QWidget *>(tab->startDateBox), static_cast<QWidget *>(tab->endDateBox)})
            QCOMPARE(w->focusPolicy(), Qt::ClickFocus);
        QVERIFY(tab->projectNameBox->focusPolicy() & Qt::TabFocus);
    }

    void pictureArrays()
    {
        const QList<platform::PictureButton *> invoice =
            m_form->findChildren<platform::PictureButton *>(QStringLiteral("Image27"));
        QCOMPARE(invoice.size(), 7);
        for (platform::PictureButton *b : named<invoicing::InvoicingTab>(*m_form, "invoicing")->invoiceButtons)
            QVERIFY(invoice.contains(b));
        QCOMPARE(named(*m_form, "Image9")->size(), QSize(48, 48));
        // Every picture tells what it does.
        for (platform::PictureButton *b : m_form->findChildren<platform::PictureButton *>())
            QVERIFY2(!b->toolTip().isEmpty(), qPrintable(b->objectName()));
    }

    void webViewRemembersTheAddress()
    {
        tools::WebView view;
        QVERIFY(view.address().isEmpty());
        view.navigate(QStringLiteral(" "));
        QCOMPARE(view.address(), QStringLiteral(" "));
    }
};

QTEST_MAIN(TestForm1Layout)
#include "tst_form1layout.moc"
