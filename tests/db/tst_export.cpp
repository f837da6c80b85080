#include "data/BoundSource.h"
#include "invoicing/DeclarationText.h"
#include "invoicing/InvoicingTab.h"
#include "messages/Presence.h"
#include "messages/PresenceLines.h"
#include "platform/ListExport.h"
#include "platform/RowList.h"
#include "support/WindowRig.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListView>
#include <QMenu>
#include <QStackedWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>

using namespace talveros;
using namespace talveros::test;
using namespace talveros::test::tables;
using data::Database;

namespace {

const QString kLong = QString(200, QLatin1Char('x')) + QStringLiteral("\u00e9\u00e9n ") + QString(50, QLatin1Char('y'));
const QString kOdd = QStringLiteral("\u00c6r\u00f8 caf\u00e9 \u2013 \u2615 \U0001D11E");
const QString kProject = QStringLiteral("Proj;ect \"A\"");
const QString kNever = QStringLiteral("00-00-0000  00:00:00");

const QStringList kDeclarationColumns{"Factuurnummer",          "Projectnaam",         "Opdrachtgevernaam",
                                      "Consultantnaam",         "IsbetaaldOpdrachtgever", "IsbetaaldConsultant"};
const QStringList kPersonColumns{"Titel1", "voornaam", "tussenvoegsel", "naam", "isAANGEMELD", "isAFGEMELD", "isONLINE"};

// Leading zeros, separators, quotes, line breaks, text beyond ASCII, empty and long
// values, in every column a list shows.
void seed()
{
    insertRows(Database::Declarations, kDeclarations, kDeclarationColumns,
               {{s("000123"), s(kProject), s("Klant"), s(""), s("nee"), s("nee")},
                {s("0042"), s(kOdd), s("Klant"), s("regel1\r\nregel2"), s("ja"), s("nee")},
                {s("7;8"), s(kProject), s("Klant"), s(kLong), s("nee"), s("ja")},
                {s("\"q\""), s(kLong), s("Ander"), s(kOdd), s("ja"), s("ja")},
                {s("00"), s(kProject), s("Klant"), s("Z\u00e9 _x0041_"), s("nee"), s("nee")}});
    insertRows(Database::Main, kConsultants, QStringList{"consultantnummer"} + kPersonColumns,
               {{s("0007"), s("ir."), s("Zo\u00eb"), s(""), s("O\"Brien;x"), s("01-15-2008  09:30:00"), s(kNever),
                 s("ONLINE")},
                {s("0001"), s(""), s("Ann\r\nA"), s(""), s(kLong), s(kNever), s(kNever), s("OFFLINE")}});
    insertRows(Database::Main, kClients, QStringList{"opdrachtgevernummer", "Bedrijf"} + kPersonColumns,
               {{s("0003"), s(kOdd), s("mr."), s("Els"), s("de"), s("Bruin;"), s(kNever), s(kNever), s("OFFLINE")},
                {s("0002"), s("B.V. \"Nul\""), s(""), s(""), s(""), s(""), s("01-02-2008  08:00:00"), s(kNever),
                 s("ONLINE")}});
    insertRows(Database::Main, kProjects, {"Projectnaam", "Projectcode", "Opdrachtgevernummer", "consultantnummer",
                                           "AFSLUITEN"},
               {{s(kProject), s("00030007" + kProject), s("0003"), s("0007"), s("Nee")}});
}

// The fields as the table holds them.
std::vector<QStringList> tableFields(Database db, const QString &table, const QStringList &columns)
{
    std::vector<QStringList> rows;
    for (const Row &row : tableRows(db, table, columns)) {
        QStringList fields;
        for (const auto &v : row)
            fields << v.value_or(QString());
        rows.push_back(fields);
    }
    return rows;
}

// One kind of list: how it is filled, its columns, the text each row of fields is shown
// as, and which rows of its table it lists. A picker (no table) lists its entries.
struct Kind {
    const char *name;
    std::function<void(WindowRig &)> fill;
    QStringList columns;
    std::function<QString(const QStringList &)> shownAs;
    std::function<std::vector<QStringList>()> tableRows;
};

invoicing::InvoicingTab *tab(WindowRig &rig) { return named<invoicing::InvoicingTab>(rig.form, "invoicing"); }
void overview(WindowRig &rig) { QTest::mouseClick(tab(rig)->paymentOverviewButton, Qt::LeftButton); }

std::function<std::vector<QStringList>()> declarations(const QStringList &columns, int column, const QString &value)
{
    return [=] {
        std::vector<QStringList> rows;
        for (const QStringList &f : tableFields(Database::Declarations, kDeclarations, kDeclarationColumns))
            if (f[column] == value) {
                QStringList picked;
                for (const QString &c : columns)
                    picked << f[kDeclarationColumns.indexOf(c)];
                rows.push_back(picked);
            }
        return rows;
    };
}

Kind overviewKind(const char *name, int flagColumn, const QString &flag)
{
    const QStringList columns{"Factuurnummer", kDeclarationColumns[flagColumn], "Projectnaam"};
    return {name, overview, columns,
            [](const QStringList &f) { return invoicing::overviewRow(f[0], f[1], f[2]); },
            declarations(columns, flagColumn, flag)};
}

Kind presenceKind(const char *name, const QString &table, const QString &numberColumn)
{
    const QStringList columns = QStringList{"isONLINE", "isAANGEMELD", "isAFGEMELD", numberColumn, "Titel1",
                                            "voornaam", "tussenvoegsel", "naam"};
    return {name,
            [](WindowRig &rig) {
                rig.form.findChild<messages::PresenceController *>()->refresh(
                    messages::PresenceController::Trigger::Picture);
            },
            columns,
            [](const QStringList &f) { return messages::presenceLine({f[3], f[4], f[5], f[6], f[7], f[1], f[2], f[0]}); },
            [=] { return tableFields(Database::Main, table, columns); }};
}

// Still the lines as listed after another program changed every name and the window
// read the table again for something else: the export gives what the list shows, not
// what the table holds now.
Kind presenceReadAgainKind(const char *name, const QString &table, const QString &numberColumn, const char *source)
{
    Kind k = presenceKind(name, table, numberColumn);
    auto listedRows = std::make_shared<std::vector<QStringList>>();
    k.fill = [fill = k.fill, rows = k.tableRows, listedRows, table, source](WindowRig &rig) {
        fill(rig);
        *listedRows = rows();
        execute(Database::Main, QStringLiteral("UPDATE %1 SET naam = CONCAT('x', naam)").arg(table));
        named<data::BoundSource>(rig.form, source)->refresh();
    };
    k.tableRows = [listedRows] { return *listedRows; };
    return k;
}

Kind pickerKind(const char *name, const QString &column, std::function<void(WindowRig &)> fill = [](WindowRig &) {})
{
    return {name, std::move(fill), {column}, {}, {}};
}

const std::vector<Kind> &kinds()
{
    static const std::vector<Kind> all{
        {"List4",
         [](WindowRig &rig) {
             overview(rig);
             choose(tab(rig)->clientPicker, QStringLiteral("Klant"));
         },
         {"Factuurnummer", "Consultantnaam", "Projectnaam"},
         [](const QStringList &f) { return invoicing::clientRow(f[0], f[1], f[2]); },
         declarations({"Factuurnummer", "Consultantnaam", "Projectnaam"}, 2, QStringLiteral("Klant"))},
        {"List4",
         [](WindowRig &rig) {
             overview(rig);
             choose(tab(rig)->projectNamePicker, kProject);
         },
         {"Factuurnummer", "Projectnaam", "Consultantnaam"},
         [](const QStringList &f) { return invoicing::projectRow(f[0], f[1], f[2]); },
         declarations({"Factuurnummer", "Projectnaam", "Consultantnaam"}, 1, kProject)},
        overviewKind("List4", 4, QStringLiteral("nee")),
        overviewKind("List5", 4, QStringLiteral("ja")),
        overviewKind("List6", 5, QStringLiteral("nee")),
        overviewKind("List7", 5, QStringLiteral("ja")),
        presenceKind("List2", kConsultants, QStringLiteral("Consultantnummer")),
        presenceKind("List3", kClients, QStringLiteral("Opdrachtgevernummer")),
        presenceReadAgainKind("List2", kConsultants, QStringLiteral("Consultantnummer"), "Adodc1"),
        presenceReadAgainKind("List3", kClients, QStringLiteral("Opdrachtgevernummer"), "Adodc2"),
        pickerKind("Combo1", QStringLiteral("Consultant")),
        pickerKind("Combo2", QStringLiteral("Opdrachtgever")),
        pickerKind("Combo3", QStringLiteral("Projectcode")),
        pickerKind("Combo4", QStringLiteral("Opdrachtgever")),
        pickerKind("Combo5", QStringLiteral("Consultant")),
        pickerKind("Combo6", QStringLiteral("Projectcode")),
        pickerKind("Combo11", QStringLiteral("Opdrachtgevernaam"), overview),
        pickerKind("Combo19", QStringLiteral("Projectnaam"), overview),
    };
    return all;
}

// What a list shows, line by line, whatever kind of list it is.
QStringList shown(QWidget *list)
{
    if (auto *combo = qobject_cast<QComboBox *>(list))
        return items(combo);
    if (auto *widget = qobject_cast<QListWidget *>(list))
        return items(widget);
    return platform::listRowTexts(qobject_cast<QListView *>(list));
}

struct Sheet {
    QList<QStringList> rows;
    QStringList types;
    QString failure;
};

Sheet readBack(const QString &file)
{
    QProcess p;
    // Debian's own Python, which has the Debian reader of workbooks.
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(TALVEROS_TESTS_DIR "/support/read_sheet.py"), file});
    Sheet sheet;
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        sheet.failure = QString::fromUtf8(p.readAllStandardError());
        return sheet;
    }
    const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    for (const QJsonValue &row : o.value(QStringLiteral("rows")).toArray()) {
        QStringList fields;
        for (const QJsonValue &v : row.toArray())
            fields << v.toString();
        sheet.rows << fields;
    }
    for (const QJsonValue &t : o.value(QStringLiteral("types")).toArray())
        sheet.types << t.toString();
    return sheet;
}

QAction *exportAction(QWidget *list)
{
    for (QAction *a : list->actions())
        if (a->objectName() == QLatin1String("actionExportList"))
            return a;
    return nullptr;
}

} // namespace

class TestExport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useTestServer(); }
    void init()
    {
        emptyWindowTables();
        execute(Database::Declarations, QStringLiteral("DELETE FROM Declaraties"));
        seed();
    }

    void everyListAsListed_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("suffix");
        for (int k = 0; k < int(kinds().size()); ++k)
            for (const char *suffix : {"xlsx", "csv"})
                QTest::addRow("%d %s %s", k, kinds()[size_t(k)].name, suffix) << k << QString::fromLatin1(suffix);
    }
    void everyListAsListed()
    {
        QFETCH(int, kind);
        QFETCH(QString, suffix);
        const Kind &k = kinds()[size_t(kind)];
        WindowRig rig;
        k.fill(rig);
        QWidget *list = named<QWidget>(rig.form, k.name);
        const QStringList listed = shown(list);
        QVERIFY(!listed.isEmpty());

        QAction *action = exportAction(list);
        QVERIFY(action);
        QCOMPARE(action->text(), QStringLiteral("Exporteren\u2026"));
        QCOMPARE(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
        QCOMPARE(action->shortcutContext(), Qt::WidgetWithChildrenShortcut);
        QCOMPARE(list->contextMenuPolicy(), Qt::ActionsContextMenu);

        if (auto *combo = qobject_cast<QComboBox *>(list)) {
            // The edit field's own menu keeps its entries and ends with the export.
            emit combo->lineEdit()->customContextMenuRequested(QPoint(1, 1));
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QVERIFY(menu->actions().size() > 5);
            QCOMPARE(menu->actions().last(), action);
            menu->close();
        }

        // Ctrl+E where the list (or its edit field) has the focus.
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("lijst.") + suffix);
        rig.dialogs.saveAnswers.push_back(file);
        for (QWidget *w = list; w->parentWidget(); w = w->parentWidget())
            if (auto *pages = qobject_cast<QStackedWidget *>(w->parentWidget()))
                pages->setCurrentWidget(w);
        rig.form.window()->show();
        QVERIFY(QTest::qWaitForWindowActive(rig.form.window()));
        list->setFocus();
        QVERIFY(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(rig.dialogs.texts(), QStringList());
        QCOMPARE(rig.dialogs.saves.size(), size_t(1));
        QCOMPARE(rig.dialogs.saves[0].filters,
                 QStringList({"Excel-werkmap (*.xlsx)", "CSV, puntkomma's (*.csv)"}));
        QCOMPARE(rig.dialogs.progresses.size(), size_t(1));
        QCOMPARE(rig.dialogs.progresses[0].text, QStringLiteral("De lijst wordt opgeslagen in \u201clijst.%1\u201d\u2026").arg(suffix));
        QCOMPARE(rig.dialogs.progresses[0].steps.last(), int(listed.size()));

        const Sheet sheet = readBack(file);
        QVERIFY2(sheet.failure.isEmpty(), qPrintable(sheet.failure));
        QCOMPARE(sheet.types, QStringList{"s"}); // every value a text, leading zeros and all
        QCOMPARE(sheet.rows.value(0), k.columns);
        QList<QStringList> rows = sheet.rows.mid(1);
        // Padded as a workbook reads it back: a row's empty last cells are none.
        for (QStringList &r : rows)
            while (r.size() < k.columns.size())
                r << QString();
        QCOMPARE(rows.size(), listed.size());
        if (!k.shownAs) {
            QStringList entries;
            for (const QStringList &r : rows)
                entries << r.value(0);
            QCOMPARE(entries, listed);
            return;
        }
        // In the order listed: each row's fields are what its line shows ...
        for (qsizetype i = 0; i < rows.size(); ++i)
            QCOMPARE(k.shownAs(rows[i]), listed[i]);
        // ... and they are the table's rows, whole.
        std::vector<QStringList> expected = k.tableRows(), got(rows.cbegin(), rows.cend());
        std::sort(expected.begin(), expected.end());
        std::sort(got.begin(), got.end());
        QCOMPARE(got, expected);
    }

    // Written whole or not at all: a target that cannot be written and a stop half-way
    // leave the folder as it was, an earlier file at the target included.
    void failureOrStopLeavesNothing_data()
    {
        QTest::addColumn<QString>("target"); // in a folder holding "oud.xlsx", "oud.csv" and "map.xlsx"
        QTest::addColumn<int>("stopAt");
        QTest::addColumn<QString>("reason"); // empty: stopped, no box
        QTest::newRow("no such folder") << "weg/lijst.xlsx" << -1 << "de map bestaat niet";
        QTest::newRow("folder is a file") << "oud.csv/lijst.csv" << -1 << "de map bestaat niet";
        QTest::newRow("a folder at the target") << "map.xlsx" << -1 << "er staat al een map met die naam";
        QTest::newRow("stopped, workbook") << "oud.xlsx" << 1500 << "";
        QTest::newRow("stopped, csv") << "oud.csv" << 1500 << "";
    }
    void failureOrStopLeavesNothing()
    {
        QFETCH(QString, target);
        QFETCH(int, stopAt);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("map.xlsx")));
        for (const char *name : {"oud.xlsx", "oud.csv"}) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("al hier");
        }
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

        FakeDialogs dialogs;
        QWidget window;
        QListView *list = platform::rowList(&window, QStringLiteral("lijst"), QFont(), Qt::white, Qt::black, false);
        QStringList entries;
        for (int i = 0; i < 5000; ++i)
            entries << QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'));
        platform::setListRows(list, platform::rowsOf(entries, QStringLiteral("Nummer")));
        platform::offerExport(list, dialogs, QStringLiteral("lijst"));
        const QString path = dir.filePath(target);
        dialogs.saveAnswers.push_back(path);
        dialogs.stopProgressAt = stopAt;
        exportAction(list)->trigger();

        if (reason.isEmpty()) {
            QCOMPARE(dialogs.texts(), QStringList());
            QVERIFY(dialogs.progresses.at(0).steps.last() >= stopAt);
            QVERIFY(dialogs.progresses.at(0).steps.last() < entries.size());
        } else {
            QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("De lijst kon niet worden opgeslagen in \u201c%1\u201d: %2.")
                                                      .arg(QDir::toNativeSeparators(path), reason)});
            QCOMPARE(dialogs.boxes.at(0).icon, platform::Icon::Critical);
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
        for (const char *name : {"oud.xlsx", "oud.csv"}) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray("al hier"));
        }
    }
};

QTEST_MAIN(TestExport)
#include "tst_export.moc"
