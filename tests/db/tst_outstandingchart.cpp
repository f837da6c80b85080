#include "data/TextForms.h"
#include "invoicing/InvoicingTab.h"
#include "invoicing/OutstandingChart.h"
#include "support/WindowRig.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using namespace talveros;
using namespace talveros::test;
using namespace talveros::test::tables;
using data::Database;

namespace {

const QStringList kColumns{"Factuurnummer", "Projectnaam", "Opdrachtgevernaam", "Consultantnaam",
                           "IsbetaaldOpdrachtgever", "IsbetaaldConsultant", "totaaluit"};

int serial = 0;
Row declaration(const std::optional<QString> &project, const QString &client, const QString &consultant,
                const QString &clientPaid, const QString &consultantPaid, const std::optional<QString> &total)
{
    return {s(QStringLiteral("2025-06-%1").arg(++serial, 8, 10, QLatin1Char('0'))), project, s(client),
            s(consultant), s(clientPaid), s(consultantPaid), total};
}

void seed(const std::vector<Row> &rows) { insertRows(Database::Declarations, kDeclarations, kColumns, rows); }

// What a panel should show, worked out the plain way from the table as the server holds
// it: every declaration with a project and the flag exactly "nee", its total read by the
// three forms an amount may take, summed by name.
struct Expected {
    QStringList names;  // top to bottom, "overige" last
    QList<qint64> cents;
    int unread = 0;
};
Expected expectedPanel(int flagColumn, int nameColumn)
{
    static const QRegularExpression plain(QStringLiteral("^ *(-?)([0-9]+)(?:[.,]([0-9]{1,2}))? *$"));
    static const QRegularExpression grouped(QStringLiteral("^ *(-?)([0-9]{1,3}(?:\\.[0-9]{3})+),([0-9]{1,2}) *$"));
    QMap<QString, qint64> sums;
    Expected e;
    for (const Row &row : tableRows(Database::Declarations, kDeclarations, kColumns)) {
        if (!row[1] || row[1]->isEmpty() || row[size_t(flagColumn)] != QStringLiteral("nee"))
            continue;
        QRegularExpressionMatch m = plain.match(row[6].value_or(QString()));
        if (!m.hasMatch())
            m = grouped.match(row[6].value_or(QString()));
        if (!m.hasMatch()) {
            ++e.unread;
            continue;
        }
        const qint64 cents = m.captured(2).remove(QLatin1Char('.')).toLongLong() * 100
            + m.captured(3).leftJustified(2, QLatin1Char('0')).toLongLong();
        sums[*row[size_t(nameColumn)]] += m.captured(1).isEmpty() ? cents : -cents;
    }
    QList<std::pair<QString, qint64>> bars;
    for (auto it = sums.cbegin(); it != sums.cend(); ++it)
        bars << std::pair{it.key(), it.value()};
    std::sort(bars.begin(), bars.end(), [](const auto &a, const auto &b) {
        return a.second != b.second ? a.second > b.second : data::textLess(a.first, b.first);
    });
    for (qsizetype i = 0; i < bars.size(); ++i) {
        if (i < 20) {
            e.names << bars[i].first;
            e.cents << bars[i].second;
        } else if (i == 20) {
            e.names << QStringLiteral("overige");
            e.cents << bars[i].second;
        } else {
            e.cents.last() += bars[i].second;
        }
    }
    return e;
}

QString euros(qint64 cents)
{
    return QStringLiteral("\u20ac ") + QLocale(QLocale::Dutch, QLocale::Netherlands).toString(double(cents) / 100, 'f', 2);
}

// What a chart shows, top to bottom: the names on its axis, the values of its bars and
// the sums written beside them.
struct Shown {
    QStringList names;
    QList<qint64> cents;
    QStringList sums;
    QStringList otherTexts; // in place of bars
};
Shown shown(QChart *chart)
{
    Shown s;
    QList<QGraphicsSimpleTextItem *> texts;
    for (QGraphicsItem *item : chart->childItems())
        if (auto *text = qgraphicsitem_cast<QGraphicsSimpleTextItem *>(item))
            texts << text;
    std::sort(texts.begin(), texts.end(), [](auto *a, auto *b) { return a->pos().y() < b->pos().y(); });
    QStringList drawnNames;
    const QRectF inside = chart->rect();
    for (auto *t : texts) {
        const QString role = t->data(0).toString();
        QStringList &list = role == "amount" ? s.sums : role == "name" ? drawnNames : s.otherTexts;
        list << t->text();
        // Written within the chart, where nothing cuts it off.
        if (!inside.contains(t->mapRectToParent(t->boundingRect())))
            list.last() += QStringLiteral(" (cut off)");
    }
    const QList<QAbstractSeries *> series = chart->series();
    if (series.isEmpty())
        return s;
    auto *bars = qobject_cast<QHorizontalBarSeries *>(series.value(0));
    auto *axis = qobject_cast<QBarCategoryAxis *>(chart->axes(Qt::Vertical).value(0));
    if (!bars || !axis || bars->count() != 1)
        return s;
    for (int i = axis->count() - 1; i >= 0; --i) {
        s.names << axis->at(i);
        s.cents << qRound64(bars->barSets()[0]->at(i) * 100);
    }
    // The names written before the bars are the axis's, whole.
    if (drawnNames != s.names)
        s.names << QStringLiteral("drawn: ") + drawnNames.join(QLatin1Char('|'));
    return s;
}

struct Rig : WindowRig {
    invoicing::InvoicingTab *tab = named<invoicing::InvoicingTab>(form, "invoicing");
    QAction *chartAction = tab->findChild<QAction *>(QStringLiteral("actionOutstandingChart"));

    invoicing::OutstandingChart *chartWindow() const { return form.findChild<invoicing::OutstandingChart *>(); }
    invoicing::OutstandingChart *open() { return chartAction->trigger(), chartWindow(); }
    QChart *chart(const char *name) const { return named<QChartView>(*chartWindow(), name)->chart(); }
    QString notes(const char *name) const { return named<QLabel>(*chartWindow(), name)->text(); }
    void loadOverview() { QTest::mouseClick(named<QPushButton>(form, "Command3"), Qt::LeftButton); }
};

// Ties, the three forms of an amount and what is no amount, flags that are not exactly
// "nee", rows without a project; or more names than get a bar.
std::vector<Row> scenarioRows(int scenario)
{
    if (scenario == 0)
        return {declaration(s("Audit"), "Gemeente", "Jan", "nee", "nee", s("1.234,56")),
                declaration(s("Audit"), "Gemeente", "Jan", "nee", "ja", s("100.44")),
                declaration(s("Zorg"), "Ziekenhuis", "Piet", "nee", "nee", s("1335")),
                declaration(s("Zorg"), "ziekenhuis", "Piet", "nee", "nee", s("7,5")),
                declaration(s("Zorg"), "Waterschap", "Klaas", "Nee", "nee", s("900,00")),
                declaration(s("Zorg"), "Waterschap", "Klaas", "nee ", "NEE", s("900,00")),
                declaration(s(""), "Waterschap", "Klaas", "nee", "nee", s("5000")),
                declaration(std::nullopt, "Waterschap", "Klaas", "nee", "nee", s("5000")),
                declaration(s("Audit"), "Provincie", "Jan", "nee", "nee", s("1.234")),
                declaration(s("Audit"), "Provincie", "Kees", "nee", "nee", std::nullopt),
                declaration(s("Audit"), "Provincie", "Kees", "nee", "nee", s("\u20ac 40,00")),
                declaration(s("Audit"), "Provincie", "Kees", "nee", "nee", s("-40,00")),
                declaration(s("Audit"), "Provincie", "Kees", "ja", "ja", s("99999"))};
    std::vector<Row> rows;
    for (int i = 1; i <= 27; ++i)
        for (int k = 0; k <= i % 3; ++k)
            rows.push_back(declaration(s("P"), QStringLiteral("Klant %1").arg(i),
                                       QStringLiteral("Consultant %1").arg(i % 22), "nee", "nee",
                                       s(QStringLiteral("%1,%2").arg(100 * (i % 9)).arg(i, 2, 10, QLatin1Char('0')))));
    return rows;
}

void compare(const Shown &s, const Expected &e)
{
    QCOMPARE(s.names, e.names);
    QCOMPARE(s.cents, e.cents);
    QStringList sums;
    std::transform(e.cents.cbegin(), e.cents.cend(), std::back_inserter(sums), euros);
    QCOMPARE(s.sums, sums);
}

} // namespace

class TestOutstandingChart : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useTestServer(); }
    void init()
    {
        resetTable(Database::Declarations, kDeclarations);
        emptyWindowTables();
        serial = 0;
    }

    void sumsAgainstTheTable_data()
    {
        QTest::addColumn<int>("scenario");
        QTest::newRow("forms, ties, flags, projects") << 0;
        QTest::newRow("more than twenty names") << 1;
    }
    void sumsAgainstTheTable()
    {
        QFETCH(int, scenario);
        seed(scenarioRows(scenario));
        Rig rig;
        // Opened before any overview was loaded: the table as it is now.
        invoicing::OutstandingChart *window = rig.open();
        QVERIFY(window && window->isVisible());
        QVERIFY(window->isWindow() && !window->isModal());
        const Expected clients = expectedPanel(4, 2), consultants = expectedPanel(5, 3);
        compare(shown(rig.chart("clientsChartView")), clients);
        compare(shown(rig.chart("consultantsChartView")), consultants);
        QCOMPARE(rig.notes("clientsNotes").contains(QStringLiteral("overige")), clients.names.contains("overige"));
        QCOMPARE(rig.notes("consultantsNotes").contains(QStringLiteral("Niet meegeteld: %1 declaraties").arg(consultants.unread)),
                 consultants.unread > 1);
        QVERIFY(rig.dialogs.boxes.empty());
    }

    void nothingOutstanding()
    {
        seed({declaration(s("Audit"), "Gemeente", "Jan", "ja", "ja", s("10")),
              declaration(s("Audit"), "Gemeente", "Jan", "ja", "nee", s("onbekend"))});
        Rig rig;
        rig.open();
        const Shown clients = shown(rig.chart("clientsChartView"));
        QCOMPARE(clients.otherTexts, QStringList{"Geen openstaande declaraties."});
        QCOMPARE(rig.notes("clientsHeading"), QStringLiteral("Nog te ontvangen van opdrachtgevers"));
        QCOMPARE(shown(rig.chart("consultantsChartView")).otherTexts,
                 QStringList{"Geen bedrag om te tonen: zie de toelichting hieronder."});
        QCOMPARE(rig.notes("consultantsNotes"),
                 QStringLiteral("Niet meegeteld: 1 declaratie waarvan het totaalbedrag geen getal is: "
                                "2025-06-00000002 ('onbekend')."));
        // An empty table: both say so.
        resetTable(Database::Declarations, kDeclarations);
        rig.open();
        QCOMPARE(shown(rig.chart("consultantsChartView")).otherTexts, QStringList{"Geen openstaande declaraties."});
        QVERIFY(rig.dialogs.boxes.empty());
    }

    // The chart follows every load of the overview while it is open, and is reached from
    // the menus of all four lists and with Ctrl+G on the tab.
    void followsTheOverview()
    {
        seed({declaration(s("Audit"), "Gemeente", "Jan", "nee", "nee", s("10"))});
        Rig rig;
        for (const char *list : {"List4", "List5", "List6", "List7"}) {
            auto *view = named<QWidget>(rig.form, list);
            QCOMPARE(view->contextMenuPolicy(), Qt::ActionsContextMenu);
            QVERIFY(view->actions().contains(rig.chartAction));
        }
        QCOMPARE(rig.chartAction->text(), QStringLiteral("Grafiek\u2026"));
        rig.form.show();
        named<QTabWidget>(rig.form, "SSTab1")->setCurrentWidget(rig.tab);
        rig.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig.form));
        named<QWidget>(rig.form, "List6")->setFocus();
        QTest::keyClick(named<QWidget>(rig.form, "List6"), Qt::Key_G, Qt::ControlModifier);
        QVERIFY(rig.chartWindow() && rig.chartWindow()->isVisible());
        QCOMPARE(shown(rig.chart("clientsChartView")).sums, QStringList{"\u20ac 10,00"});

        seed({declaration(s("Audit"), "Gemeente", "Jan", "nee", "nee", s("5,5")),
              declaration(s("Zorg"), "Ziekenhuis", "Piet", "nee", "ja", s("20"))});
        rig.loadOverview();
        QCOMPARE(shown(rig.chart("clientsChartView")).sums, (QStringList{"\u20ac 20,00", "\u20ac 15,50"}));
        QCOMPARE(shown(rig.chart("consultantsChartView")).names, QStringList{"Jan"});

        // Closed, it is gone; the overview loads without it.
        rig.chartWindow()->close();
        QTRY_VERIFY(!rig.chartWindow());
        rig.loadOverview();
        QVERIFY(!rig.chartWindow());
        QVERIFY(rig.dialogs.boxes.empty());
    }

    void savePngAndPrint()
    {
        seed({declaration(s("Audit"), "Gemeente Houten  (ICT)", "J.P. van Dijk", "nee", "nee", s("11336.27"))});
        Rig rig;
        invoicing::OutstandingChart *window = rig.open();
        QTemporaryDir dir;
        auto *save = named<QPushButton>(*window, "savePngButton");

        // Without a suffix the file gets one, and holds the picture of the charts.
        rig.dialogs.saveAnswers = {dir.filePath(QStringLiteral("grafiek"))};
        save->click();
        QVERIFY(rig.dialogs.boxes.empty());
        QCOMPARE(rig.dialogs.saves.back().suggestedPath, QStringLiteral("openstaande-bedragen-2008-01-15.png"));
        const QImage written(dir.filePath(QStringLiteral("grafiek.png")), "PNG");
        QCOMPARE(written.convertToFormat(QImage::Format_RGB32), window->picture(1));

        // A folder that is not there: told so, and nothing is left behind.
        const QString nowhere = dir.filePath(QStringLiteral("geen/map/grafiek.png"));
        rig.dialogs.saveAnswers = {nowhere};
        save->click();
        QCOMPARE(rig.dialogs.texts(), QStringList{"Het bestand '" + nowhere + "' kan niet worden geschreven."});
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"grafiek.png"});
        // Cancelled: nothing happens.
        rig.dialogs.boxes.clear();
        save->click();
        QVERIFY(rig.dialogs.boxes.empty());

        auto *print = named<QPushButton>(*window, "printChartButton");
        print->click();
        QCOMPARE(rig.dialogs.texts(), QStringList{"Er is geen printer gekozen."});
        QVERIFY(rig.pages.pictures.empty());
        rig.dialogs.boxes.clear();
        auto *printers = rig.combo("Combo9");
        printers->addItems({"Kantoor", "Thuis"});
        printers->setCurrentIndex(1);
        print->click();
        QCOMPARE(rig.pages.pictures.size(), size_t(1));
        QCOMPARE(rig.pages.pictures[0].printer, QStringLiteral("Thuis"));
        QCOMPARE(rig.pages.pictures[0].document, QStringLiteral("Openstaande bedragen"));
        QCOMPARE(rig.pages.pictures[0].picture.size(), window->picture(1).size() * 2);
        rig.pages.failWith = QStringLiteral("De printer 'Thuis' is niet gevonden.");
        print->click();
        QCOMPARE(rig.dialogs.texts(), QStringList{rig.pages.failWith});
    }
};

QTEST_MAIN(TestOutstandingChart)
#include "tst_outstandingchart.moc"
