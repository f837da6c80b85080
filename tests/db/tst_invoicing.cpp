#include "invoicing/Invoicing.h"
#include "invoicing/InvoicingTab.h"
#include "platform/QtPageOutput.h"
#include "platform/RowList.h"
#include "support/WindowRig.h"

#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace talveros;
using namespace talveros::test;
using namespace talveros::test::tables;
using data::Database;

namespace {

const QColor kYellow(255, 255, 0), kCyan(0, 255, 255), kLightYellow(255, 255, 128);


const QStringList kColumns{"Factuurnummer", "Projectnaam", "Opdrachtgevernaam", "Consultantnaam",
                           "IsbetaaldOpdrachtgever", "IsbetaaldConsultant", "uren", "peruurUIT", "urentotaaluit",
                           "kilometers", "perKM", "totaalkostenKM", "onkosten", "kostenomschrijving",
                           "subtotaaluit", "BTWuit", "totaaluit"};

// A declaration of 8 hours, no kilometres and no expenses.
Row declaration(const QString &number, const std::optional<QString> &project, const QString &client,
                const QString &consultant, const QString &clientPaid = QStringLiteral("nee"),
                const QString &consultantPaid = QStringLiteral("nee"))
{
    return {s(number), project, s(client), s(consultant), s(clientPaid), s(consultantPaid), s("8"), s("75,00"),
            s("600,00"), s("0"), s("0,19"), s("0,00"), s("0"), s(""), s("600,00"), s("126,00"), s("726,00")};
}

void seed(const std::vector<Row> &rows) { test::insertRows(Database::Declarations, kDeclarations, kColumns, rows); }

QStringList rows(const QAbstractItemView *list) { return platform::listRowTexts(list); }
int count(const QAbstractItemView *list) { return platform::listRowCount(list); }

QString blanks(int n) { return QString(n, QLatin1Char(' ')); }

// Passes the file dialog and the PDF on to the real page output, and printing to the
// fake, so a test reads back a real PDF through the whole path.
class PdfThroughQt final : public platform::PageOutput {
public:
    void print(const QStringList &lines, const QString &printer) override { fake.print(lines, printer); }
    void writePdf(const QStringList &lines, const QString &file) override { real.writePdf(lines, file); }
    std::optional<QString> askPdfFileName(QWidget *, const QString &) override { return fileName; }
    platform::QtPageOutput real;
    test::FakePageOutput fake;
    std::optional<QString> fileName;
};

// Made before the window, which is handed it.
struct PdfSeam {
    PdfThroughQt pdf;
};

struct Rig : PdfSeam, test::WindowRig {
    invoicing::InvoicingTab *tab = named<invoicing::InvoicingTab>(form, "invoicing");

    Rig() : WindowRig(&pdf) {}
    invoicing::InvoicingController *controller() const
    {
        return form.findChild<invoicing::InvoicingController *>();
    }
    void clickInvoice(int picture = 0) { QTest::mouseClick(tab->invoiceButtons[size_t(picture)], Qt::LeftButton); }
    void selectRows(const QList<int> &numbers)
    {
        for (int r : numbers)
            platform::setListRowSelected(tab->declarationList, r, true);
    }
    QStringList invoice() const { return controller()->invoiceLinesShown(); }
};

QStringList pdfText(const QString &file)
{
    QProcess p;
    // Fixed-pitch layout at the advance of "Courier New" 8.25 pt, so that runs of blanks
    // come back as the blanks they were.
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-layout"), QStringLiteral("-fixed"), QStringLiteral("4.95"), file, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {QStringLiteral("pdftotext failed: ") + QString::fromUtf8(p.readAllStandardError())};
    return QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
}

// Pages of text lines as pdftotext gives them: without trailing blanks, and without
// the empty lines at the end of each page, which leave no mark on paper.
QList<QStringList> pages(const QStringList &lines)
{
    QList<QStringList> result{{}};
    for (QString line : lines) {
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        qsizetype feed;
        while ((feed = line.indexOf(QLatin1Char('\f'))) >= 0) {
            result.last() << line.left(feed);
            result << QStringList{};
            line = line.mid(feed + 1);
        }
        result.last() << line;
    }
    for (QStringList &page : result)
        while (!page.isEmpty() && page.last().isEmpty())
            page.removeLast();
    while (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    // The page margin comes back as blanks before every line; the first line of the
    // first page starts in the text's first column.
    if (!result.isEmpty() && !result[0].isEmpty()) {
        const QString &first = result[0][0];
        qsizetype margin = 0;
        while (margin < first.size() && first[margin] == QLatin1Char(' '))
            ++margin;
        for (QStringList &page : result)
            for (QString &line : page)
                line = line.mid(margin);
    }
    return result;
}

void seedProjects(const QStringList &closingFlags)
{
    std::vector<Row> rows;
    int n = 0;
    for (const QString &flag : closingFlags) {
        const QString name = QStringLiteral("Project%1").arg(++n);
        rows.push_back({s(name), s("0001" + name + "0002"), s("0002"), s("0001"), s(""), s(""), s(""), s("0"), s("0"),
                        s("0"), s("GEEN"), s("GEEN"), s(flag)});
    }
    test::insertRows(Database::Main, kProjects,
                     {"Projectnaam", "Projectcode", "Opdrachtgevernummer", "consultantnummer", "ProjectOmschrijving",
                      "TijdsplanningDATUMvan", "TijdsplanningDATUMtm", "ProjectduurPer8uur",
                      "InkoopDagtariefOpdrachtgever", "VerkoopDagtariefConsultant", "CommentaarCONSULTANT",
                      "CommentaarADMIN", "AFSLUITEN"},
                     rows);
}

QStringList storedFlags() { return test::column(kProjects, QStringLiteral("AFSLUITEN")); }

} // namespace

class TestInvoicing : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::useTestServer(); }
    void init()
    {
        test::resetTable(Database::Declarations, kDeclarations);
        test::emptyWindowTables();
    }

    // Only the exact name matches: not another letter case, not a trailing blank, and a
    // row without a project name is no declaration.
    void clientPickMatchesExactly()
    {
        seed({declaration("2008-01-00000003", s("Audit"), "Gemeente Zeist", "Jan"),
              declaration("2008-01-00000001", s("Migratie"), "Gemeente Zeist", "Piet"),
              declaration("2008-01-00000002", s("Audit"), "gemeente zeist", "Klaas"),
              declaration("2008-01-00000004", s("Audit"), "Gemeente Zeist ", "Kees"),
              declaration("2008-01-00000005", s(""), "Gemeente Zeist", "Henk"),
              declaration("2008-01-00000006", std::nullopt, "Gemeente Zeist", "Henk"),
              declaration("2008-01-00000007", s("Audit"), "Waterschap", "Jan")});
        Rig rig;
        rig.tab->projectNamePicker->addItems({"Audit", "Migratie"});
        rig.tab->projectNamePicker->setEditText(QStringLiteral("Audit"));
        rig.tab->clientPicker->addItems({"Gemeente Zeist", "Waterschap"});
        choose(rig.tab->clientPicker, QStringLiteral("Gemeente Zeist"));
        QCOMPARE(rows(rig.tab->declarationList),
                 (QStringList{"2008-01-00000001  Piet" + blanks(42) + "  Migratie",
                              "2008-01-00000003  Jan" + blanks(43) + "  Audit"}));
        QCOMPARE(rig.tab->declarationList->palette().color(QPalette::Base), kYellow);
        QCOMPARE(rig.tab->projectNamePicker->currentText(), QString());
        QCOMPARE(items(rig.tab->projectNamePicker), (QStringList{"Audit", "Migratie"}));
        QVERIFY(platform::selectedListRows(rig.tab->declarationList).isEmpty());
        QVERIFY(rig.dialogs.boxes.empty());
    }

    void projectPickMatchesExactly()
    {
        const QString longName = QStringLiteral("Herinrichting magazijn Zuid-Oost");
        seed({declaration("2008-01-00000002", s(longName), "Waterschap", "Jan"),
              declaration("2008-01-00000001", s(longName), "Gemeente", "Piet de Vries"),
              declaration("2008-01-00000003", s(longName.toUpper()), "Gemeente", "Klaas"),
              declaration("2008-01-00000004", s(longName + " "), "Gemeente", "Kees")});
        Rig rig;
        rig.tab->clientPicker->addItem(QStringLiteral("Gemeente"));
        rig.tab->clientPicker->setEditText(QStringLiteral("Gemeente"));
        rig.tab->projectNamePicker->addItem(longName);
        choose(rig.tab->projectNamePicker, longName);
        QCOMPARE(rows(rig.tab->declarationList),
                 (QStringList{"2008-01-00000001 Herinrichting magazijn Zu  Piet de Vries",
                              "2008-01-00000002 Herinrichting magazijn Zu  Jan"}));
        QCOMPARE(rig.tab->declarationList->palette().color(QPalette::Base), kCyan);
        QCOMPARE(rig.tab->clientPicker->currentText(), QString());
        QCOMPARE(items(rig.tab->clientPicker), QStringList{"Gemeente"});

        // A name that matches nothing still recolours and empties.
        rig.tab->clientPicker->addItem(QStringLiteral("Niemand"));
        choose(rig.tab->clientPicker, QStringLiteral("Niemand"));
        QCOMPARE(count(rig.tab->declarationList), 0);
        QCOMPARE(rig.tab->declarationList->palette().color(QPalette::Base), kYellow);
    }

    // Letter case does not decide the order alone: the list keeps one text order, in
    // which "a" and "A" stand together.
    void listOrderIgnoresCaseFirst()
    {
        seed({declaration("b000000000000001", s("P"), "K", "X"), declaration("A000000000000002", s("P"), "K", "X"),
              declaration("a000000000000003", s("P"), "K", "X"), declaration("B000000000000004", s("P"), "K", "X")});
        Rig rig;
        rig.tab->clientPicker->addItem(QStringLiteral("K"));
        choose(rig.tab->clientPicker, QStringLiteral("K"));
        QStringList numbers;
        for (const QString &row : rows(rig.tab->declarationList))
            numbers << row.left(16);
        QCOMPARE(numbers, (QStringList{"A000000000000002", "a000000000000003", "b000000000000001", "B000000000000004"}));
    }

    void invoiceOfSelectedRows()
    {
        Row hours = declaration("2008-01-00000001", s("Audit"), "Gemeente", "Jan de Vries");
        Row second = declaration("2008-01-00000001", s("Audit fase 2"), "Gemeente", "Jan de Vries");
        second[6] = s("0");       // no hours
        second[9] = s("120");     // but kilometres
        second[11] = s("22,80");
        second[12] = s("12,50");  // and expenses
        second[13] = s("Parkeren 'centrum' \u00e9\u00e9n keer");
        seed({hours, declaration("2008-01-00000002", s("Migratie"), "Gemeente", "Piet"), second,
              declaration("2008-01-0000003", s("Kort"), "Gemeente", "Kees")});
        Rig rig;
        rig.tab->clientPicker->addItem(QStringLiteral("Gemeente"));
        choose(rig.tab->clientPicker, QStringLiteral("Gemeente"));
        QCOMPARE(count(rig.tab->declarationList), 4);
        QVERIFY(rig.tab->invoiceBox->isHidden());

        // Nothing selected: the header alone.
        rig.clickInvoice(3);
        QVERIFY(!rig.tab->invoiceBox->isHidden());
        QCOMPARE(rig.invoice(), (QStringList{"Factuur voor Gemeente", ""}));

        // A second click only hides, whatever the selection; the text stays.
        rig.selectRows({1});
        rig.clickInvoice(6);
        QVERIFY(rig.tab->invoiceBox->isHidden());
        QCOMPARE(rig.invoice(), (QStringList{"Factuur voor Gemeente", ""}));

        // Rows: 0 "...01" first, 1 "...01" second, 2 "...02", 3 "...3" (15 characters, never matches).
        QCOMPARE(platform::listRowText(rig.tab->declarationList, 3).left(16), QStringLiteral("2008-01-0000003 "));
        rig.tab->declarationList->clearSelection();
        rig.selectRows({0, 3});
        rig.clickInvoice(0);
        const QStringList lines = rig.invoice();
        const QString rule = blanks(71) + QString(20, '-');
        const QStringList sums{rule, blanks(71) + "SUBTOTAAL:    600,00", rule, blanks(71) + "BTW:          126,00",
                               blanks(71) + QString(20, '='), blanks(71) + "TOTAAL:       726,00", ""};
        const QStringList expected =
            QStringList{"Factuur voor Gemeente", "",
                        "Factuurnummer: 2008-01-00000001         Projectnaam: Audit",
                        "Consultant:    Jan de Vries" + blanks(34),
                        blanks(40) + "Uren:        008 \u00e1  75,00      Totaal:       600,00"}
            + sums
            + QStringList{"Factuurnummer: 2008-01-00000001         Projectnaam: Audit fase 2",
                          "Consultant:    Jan de Vries" + blanks(34),
                          blanks(40) + "Kilometers:  120 \u00e1   0,19      Totaal:        22,80",
                          "Onkosten:      Parkeren 'centrum' \u00e9\u00e9n keer" + blanks(29) + "Totaal:        12,50"}
            + sums;
        QCOMPARE(lines, expected);
        QCOMPARE(rig.tab->invoiceBox->toPlainText(), expected.join('\n') + '\n');

        // Both rows of the number selected: every block twice.
        rig.clickInvoice(0);
        rig.selectRows({1});
        rig.clickInvoice(0);
        QCOMPARE(rig.invoice(), (QStringList{"Factuur voor Gemeente", ""} + expected.mid(2) + expected.mid(2)));
        QVERIFY(rig.dialogs.boxes.empty());
    }

    // A block that cannot be read is reported, and no half invoice is shown.
    void unreadableDeclarationIsReported()
    {
        Row nullDescription = declaration("2008-01-00000001", s("Audit"), "Gemeente", "Jan");
        nullDescription[13] = std::nullopt;
        Row wordHours = declaration("2008-01-00000002", s("Audit"), "Gemeente", "Jan");
        wordHours[6] = s("acht");
        seed({nullDescription, wordHours});
        Rig rig;
        rig.tab->clientPicker->addItem(QStringLiteral("Gemeente"));
        choose(rig.tab->clientPicker, QStringLiteral("Gemeente"));
        for (int row : {0, 1}) {
            rig.tab->declarationList->clearSelection();
            rig.selectRows({row});
            rig.clickInvoice();
            QCOMPARE(rig.dialogs.boxes.size(), size_t(row + 1));
            QCOMPARE(rig.dialogs.boxes.back().title, QStringLiteral("Talveros"));
            QVERIFY(rig.tab->invoiceBox->isHidden());
        }
        QVERIFY(rig.dialogs.boxes[0].text.contains(QStringLiteral("kostenomschrijving")));
        QVERIFY(rig.dialogs.boxes[1].text.contains(QStringLiteral("acht")));
    }

    void paymentOverview()
    {
        seed({declaration("2008-01-00000001", s("Audit"), "Anna BV", "Jan", "nee", "ja"),
              declaration("2008-01-00000002", s("Migratie"), "Bert NV", "Piet", "ja", "nee"),
              declaration("2008-01-00000003", s("Zorg"), "Anna BV", "Jan", "ja", "ja"),
              declaration("2008-01-00000004", s("Audit"), "Anna BV", "Piet", "Nee", "Ja"),
              declaration("2008-01-00000005", s(""), "Anna BV", "Piet", "nee", "nee"),
              declaration("2008-01-00000006", s("Bouw"), "Bert NV", "Kees", "ja", ""),
              declaration("2008-01-00000007", s("Audit"), "Anna BV", "Jan", "ja", "ja"),
              declaration("2008-01-00000008", s("Audit"), "Anna BV", "Jan", "nee", "ja")});
        Rig rig;
        auto *printerList = named<QComboBox>(rig.form, "Combo9");
        printerList->addItems({"Kantoor", "Kantoor", "Thuis", "Kantoor"});
        printerList->setCurrentIndex(1);
        // A client pick first: the overview keeps its yellow.
        rig.tab->clientPicker->addItem(QStringLiteral("Anna BV"));
        choose(rig.tab->clientPicker, QStringLiteral("Anna BV"));
        QCOMPARE(rig.tab->declarationList->palette().color(QPalette::Base), kYellow);

        for (int load = 0; load < 2; ++load) {
            QTest::mouseClick(rig.tab->paymentOverviewButton, Qt::LeftButton);
            QVERIFY(rig.dialogs.boxes.empty());
            QCOMPARE(rows(rig.tab->declarationList),
                     (QStringList{"2008-01-00000001nee  Audit", "2008-01-00000008nee  Audit"}));
            QCOMPARE(rows(rig.tab->paidByClientsList),
                     (QStringList{"2008-01-00000002ja  Migratie", "2008-01-00000003ja  Zorg", "2008-01-00000006ja  Bouw",
                                  "2008-01-00000007ja  Audit"}));
            QCOMPARE(rows(rig.tab->unpaidToConsultantsList), (QStringList{"2008-01-00000002nee  Migratie"}));
            QCOMPARE(rows(rig.tab->paidToConsultantsList),
                     (QStringList{"2008-01-00000001ja  Audit", "2008-01-00000003ja  Zorg", "2008-01-00000007ja  Audit",
                                  "2008-01-00000008ja  Audit"}));
            QCOMPARE(items(rig.tab->projectNamePicker), QStringList{"Audit"});
            QCOMPARE(items(rig.tab->clientPicker), QStringList{"Anna BV"});
            QCOMPARE(items(rig.tab->paidClientProjectPicker), (QStringList{"Audit", "Bouw", "Migratie", "Zorg"}));
            // Unsorted: only direct repeats go, so Bert, Anna, Bert, Anna stays.
            QCOMPARE(items(rig.tab->paidClientPicker), (QStringList{"Bert NV", "Anna BV", "Bert NV", "Anna BV"}));
            QCOMPARE(items(rig.tab->unpaidConsultantProjectPicker), QStringList{"Migratie"});
            QCOMPARE(items(rig.tab->unpaidConsultantPicker), QStringList{"Piet"});
            QCOMPARE(items(rig.tab->paidConsultantProjectPicker), (QStringList{"Audit", "Zorg", "Audit"}));
            QCOMPARE(items(rig.tab->paidConsultantPicker), QStringList{"Jan"});
            for (QComboBox *c : {rig.tab->projectNamePicker, rig.tab->paidClientProjectPicker, rig.tab->clientPicker,
                                 rig.tab->paidClientPicker, rig.tab->unpaidConsultantProjectPicker,
                                 rig.tab->unpaidConsultantPicker, rig.tab->paidConsultantPicker,
                                 rig.tab->paidConsultantProjectPicker})
                QCOMPARE(c->currentText(), QString());
            QCOMPARE(rig.tab->declarationList->palette().color(QPalette::Base), kYellow);
            QCOMPARE(items(printerList), (QStringList{"Kantoor", "Thuis", "Kantoor"}));
            QCOMPARE(printerList->currentText(), QStringLiteral("Kantoor"));
        }

        // The overview rows feed an invoice as well as the pick rows do.
        rig.selectRows({1});
        rig.clickInvoice();
        QCOMPARE(rig.invoice().mid(0, 3), (QStringList{"Factuur voor ", "",
                                                       "Factuurnummer: 2008-01-00000008         Projectnaam: Audit"}));
    }

    // The network's scripts read the overview by the form names, so each name must reach
    // its own panel's control, also where two panels' controls differ only in what they
    // list. Every panel gets one declaration of its own here.
    void overviewByFormName_data()
    {
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("Combo11") << QStringList{"Anna BV"};
        QTest::newRow("Combo7") << QStringList{"Audit"};
        QTest::newRow("List4") << QStringList{"2008-01-00000001nee  Audit"};
        QTest::newRow("Combo13") << QStringList{"Bert NV"};
        QTest::newRow("Combo10") << QStringList{"Bouw"};
        QTest::newRow("List5") << QStringList{"2008-01-00000002ja  Bouw"};
        QTest::newRow("Combo16") << QStringList{"Piet"};
        QTest::newRow("Combo8") << QStringList{"Migratie"};
        QTest::newRow("List6") << QStringList{"2008-01-00000003nee  Migratie"};
        QTest::newRow("Combo18") << QStringList{"Jan"};
        QTest::newRow("Combo19") << QStringList{"Zorg"};
        QTest::newRow("List7") << QStringList{"2008-01-00000004ja  Zorg"};
    }
    void overviewByFormName()
    {
        QFETCH(QStringList, expected);
        // A flag that is neither "nee" nor "ja" keeps a declaration off that side.
        seed({declaration("2008-01-00000001", s("Audit"), "Anna BV", "Kees", "nee", ""),
              declaration("2008-01-00000002", s("Bouw"), "Bert NV", "Kees", "ja", ""),
              declaration("2008-01-00000003", s("Migratie"), "Cor BV", "Piet", "", "nee"),
              declaration("2008-01-00000004", s("Zorg"), "Cor BV", "Jan", "", "ja")});
        Rig rig;
        QTest::mouseClick(named<QPushButton>(rig.form, "Command3"), Qt::LeftButton);
        QVERIFY(rig.dialogs.boxes.empty());
        QWidget *control = named(rig.form, QTest::currentDataTag());
        if (auto *picker = qobject_cast<QComboBox *>(control)) {
            QCOMPARE(items(picker), expected);
        } else {
            auto *list = qobject_cast<QAbstractItemView *>(control);
            QVERIFY(list);
            QCOMPARE(rows(list), expected);
        }
    }

    // A NULL that would go into a row or a picker is reported by its column; the lists
    // stay empty rather than half filled.
    void nullValuesAreReported_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("overview");
        QTest::newRow("client name, overview") << 2 << true;
        QTest::newRow("consultant name, overview") << 3 << true;
        QTest::newRow("invoice number, overview") << 0 << true;
        QTest::newRow("consultant name, pick") << 3 << false;
        QTest::newRow("invoice number, pick") << 0 << false;
    }
    void nullValuesAreReported()
    {
        QFETCH(int, column);
        QFETCH(bool, overview);
        Row bad = declaration("2008-01-00000002", s("Audit"), "Gemeente", "Jan");
        bad[size_t(column)] = std::nullopt;
        seed({declaration("2008-01-00000001", s("Audit"), "Gemeente", "Jan"), bad});
        Rig rig;
        if (overview) {
            QTest::mouseClick(rig.tab->paymentOverviewButton, Qt::LeftButton);
        } else {
            rig.tab->projectNamePicker->addItem(QStringLiteral("Audit"));
            choose(rig.tab->projectNamePicker, QStringLiteral("Audit"));
        }
        QCOMPARE(rig.dialogs.boxes.size(), size_t(1));
        QCOMPARE(rig.dialogs.boxes[0].title, QStringLiteral("Talveros"));
        QVERIFY2(rig.dialogs.boxes[0].text.contains(kColumns[column]), qPrintable(rig.dialogs.boxes[0].text));
        for (QAbstractItemView *l : {rig.tab->declarationList, rig.tab->paidByClientsList,
                                     rig.tab->unpaidToConsultantsList, rig.tab->paidToConsultantsList})
            QCOMPARE(count(l), 0);
    }

    void emptyTableLeavesEverythingEmpty()
    {
        Rig rig;
        QCOMPARE(rig.tab->declarationList->palette().color(QPalette::Base), kLightYellow);
        QTest::mouseClick(rig.tab->paymentOverviewButton, Qt::LeftButton);
        for (QAbstractItemView *l : {rig.tab->declarationList, rig.tab->paidByClientsList,
                                     rig.tab->unpaidToConsultantsList, rig.tab->paidToConsultantsList})
            QCOMPARE(count(l), 0);
        QCOMPARE(rig.tab->projectNamePicker->count(), 0);
        QCOMPARE(rig.tab->declarationList->palette().color(QPalette::Base), kLightYellow);
        QVERIFY(rig.dialogs.boxes.empty());
    }

    void closingFlagCycles_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("Nee") << "Nee" << QStringList{"Ja", "Nee", "Ja"};
        QTest::newRow("Ja") << "Ja" << QStringList{"Nee", "Ja", "Nee"};
        QTest::newRow("lower case") << "ja" << QStringList{"ja", "ja", "ja"};
        QTest::newRow("empty") << "" << QStringList{"", "", ""};
    }
    void closingFlagCycles()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, shown);
        seedProjects({stored});
        Rig rig;
        QLineEdit *flag = named<QLineEdit>(rig.form, "Text44");
        QCOMPARE(flag->text(), stored);
        QStringList seen;
        for (QWidget *target : {static_cast<QWidget *>(named<QLabel>(rig.form, "Label62")),
                                static_cast<QWidget *>(named<platform::PictureButton>(rig.form, "Image12")),
                                static_cast<QWidget *>(named<QLabel>(rig.form, "Label62"))}) {
            QTest::mouseDClick(target, Qt::LeftButton);
            seen << flag->text();
        }
        QCOMPARE(seen, shown);
        // Nothing is written while the row stays current.
        QCOMPARE(storedFlags(), QStringList{stored});
        QVERIFY(rig.dialogs.boxes.empty());
    }

    // The toggle reaches the row when the pane leaves it and when the window closes;
    // a restarted window shows it.
    void closingFlagIsStored()
    {
        seedProjects({"Nee", "Nee"});
        {
            Rig rig;
            rig.form.show();
            QTest::mouseDClick(named<QLabel>(rig.form, "Label62"), Qt::LeftButton);
            choose(named<QComboBox>(rig.form, "Combo3"), QStringLiteral("0001Project20002"));
            QCOMPARE(storedFlags(), (QStringList{"Ja", "Nee"}));
            QTest::mouseDClick(named<platform::PictureButton>(rig.form, "Image12"), Qt::LeftButton);
            QCOMPARE(storedFlags(), (QStringList{"Ja", "Nee"}));
            QVERIFY(rig.form.close());
            QCOMPARE(storedFlags(), (QStringList{"Ja", "Ja"}));
        }
        Rig again;
        QCOMPARE(named<QLineEdit>(again.form, "Text44")->text(), QStringLiteral("Ja"));
        choose(named<QComboBox>(again.form, "Combo3"), QStringLiteral("0001Project20002"));
        QCOMPARE(named<QLineEdit>(again.form, "Text44")->text(), QStringLiteral("Ja"));
        QVERIFY(again.dialogs.boxes.empty());
    }

    // Another workstation changed the project row meanwhile. A change of another column
    // does not stand in the way of the flip; a change of the flag itself refuses it: the
    // administrator is told, the pane stays, and the box shows the stored flag.
    void closingFlagChangedElsewhere_data()
    {
        QTest::addColumn<QString>("otherChange");
        QTest::addColumn<QStringList>("storedAfterMove");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("boxes");
        QTest::newRow("comment changed") << "CommentaarADMIN='Andere werkplek'" << QStringList{"Ja", "Nee"}
                                         << "Nee" << 0;
        QTest::newRow("flag changed") << "AFSLUITEN='ja'" << QStringList{"ja", "Nee"} << "ja" << 1;
    }
    void closingFlagChangedElsewhere()
    {
        QFETCH(QString, otherChange);
        QFETCH(QStringList, storedAfterMove);
        QFETCH(QString, shown);
        QFETCH(int, boxes);
        seedProjects({"Nee", "Nee"});
        Rig rig;
        rig.form.show();
        QTest::mouseDClick(named<QLabel>(rig.form, "Label62"), Qt::LeftButton);
        test::execute(Database::Main, "UPDATE TALVERO_projecten SET " + otherChange + " WHERE nummer=1");
        choose(named<QComboBox>(rig.form, "Combo3"), QStringLiteral("0001Project20002"));
        QCOMPARE(int(rig.dialogs.boxes.size()), boxes);
        if (boxes)
            QCOMPARE(rig.dialogs.boxes[0].title, QStringLiteral("Talveros"));
        QCOMPARE(storedFlags(), storedAfterMove);
        QCOMPARE(named<QLineEdit>(rig.form, "Text44")->text(), shown);
        // Nothing is left waiting to overwrite the other workstation's flag.
        QVERIFY(rig.form.close());
        QCOMPARE(storedFlags(), storedAfterMove);
    }

    void printAndPdf()
    {
        std::vector<Row> many;
        for (int i = 1; i <= 20; ++i)
            many.push_back(declaration(QStringLiteral("2008-02-%1").arg(i, 8, 10, QLatin1Char('0')), s("Audit"),
                                       "Gemeente", "Jan de Vries"));
        seed(many);
        Rig rig;
        auto *printerList = named<QComboBox>(rig.form, "Combo9");
        printerList->addItems({"Kantoor", "Thuis"});
        printerList->setCurrentIndex(1);
        QAction *print = rig.tab->invoiceBox->findChild<QAction *>(QStringLiteral("actionPrintInvoice"));
        QAction *save = rig.tab->invoiceBox->findChild<QAction *>(QStringLiteral("actionSaveInvoicePdf"));
        QVERIFY(print && save);
        QCOMPARE(print->shortcut(), QKeySequence(QKeySequence::Print));

        // No invoice shown: told so, nothing printed.
        print->trigger();
        save->trigger();
        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
        QVERIFY(rig.pdf.fake.printed.empty());

        rig.tab->clientPicker->addItem(QStringLiteral("Gemeente"));
        choose(rig.tab->clientPicker, QStringLiteral("Gemeente"));
        QTemporaryDir dir;
        for (int selected : {1, 20}) {
            rig.tab->declarationList->clearSelection();
            for (int r = 0; r < selected; ++r)
                platform::setListRowSelected(rig.tab->declarationList, r, true);
            if (!rig.tab->invoiceBox->isHidden())
                rig.clickInvoice();
            rig.clickInvoice();
            const QStringList shown = rig.invoice();
            QCOMPARE(shown.size(), 2 + 10 * selected);

            print->trigger();
            QCOMPARE(rig.pdf.fake.printed.back().target, QStringLiteral("Thuis"));
            QCOMPARE(rig.pdf.fake.printed.back().lines, shown);

            const QString file = dir.filePath(QStringLiteral("factuur%1.pdf").arg(selected));
            rig.pdf.fileName = file;
            save->trigger();
            QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
            const QList<QStringList> read = pages(pdfText(file));
            QCOMPARE(read.size(), selected == 1 ? 1 : 3);
            QStringList joined;
            for (const QStringList &page : read)
                joined += page;
            // Page breaks fall between lines: every line comes back whole, in order.
            QStringList expected;
            // Trailing blanks leave no mark on paper.
            for (QString line : shown) {
                while (line.endsWith(QLatin1Char(' ')))
                    line.chop(1);
                if (!line.isEmpty())
                    expected << line;
            }
            joined.removeAll(QString());
            QCOMPARE(joined, expected);
        }
        // A file that cannot be written is reported, not passed over.
        rig.pdf.fileName = dir.filePath(QStringLiteral("geen/map/factuur.pdf"));
        save->trigger();
        QCOMPARE(rig.dialogs.boxes.size(), size_t(3));
        QCOMPARE(rig.dialogs.boxes.back().text,
                 QStringLiteral("Het bestand '%1' kan niet worden geschreven.").arg(*rig.pdf.fileName));
        rig.dialogs.boxes.pop_back();

        // A printer that refuses is reported in the program's box.
        rig.pdf.fake.failWith = QStringLiteral("De printer 'Thuis' is niet gevonden.");
        print->trigger();
        QCOMPARE(rig.dialogs.boxes.size(), size_t(3));
        QCOMPARE(rig.dialogs.boxes.back().text, rig.pdf.fake.failWith);
        QCOMPARE(rig.dialogs.boxes.back().title, QStringLiteral("Talveros"));
        rig.dialogs.boxes.pop_back();
        rig.pdf.fake.failWith.clear();

        // Cancelling the file dialog writes nothing and says nothing.
        rig.pdf.fileName.reset();
        save->trigger();
        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));

        // Ctrl+P prints while the invoice shows, and does nothing once it is hidden.
        rig.form.show();
        named<QTabWidget>(rig.form, "SSTab1")->setCurrentWidget(rig.tab);
        rig.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig.form));
        size_t before = rig.pdf.fake.printed.size();
        QTest::keyClick(&rig.form, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(rig.pdf.fake.printed.size(), before + 1);
        rig.clickInvoice();
        QTest::keyClick(&rig.form, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(rig.pdf.fake.printed.size(), before + 1);
        QCOMPARE(rig.dialogs.boxes.size(), size_t(2));
        rig.clickInvoice();

        // An emptied text is not printed.
        rig.tab->invoiceBox->setPlainText(QStringLiteral("  \n"));
        const size_t printed = rig.pdf.fake.printed.size();
        print->trigger();
        QCOMPARE(rig.pdf.fake.printed.size(), printed);
        QCOMPARE(rig.dialogs.boxes.size(), size_t(3));
    }
};

QTEST_MAIN(TestInvoicing)
#include "tst_invoicing.moc"
