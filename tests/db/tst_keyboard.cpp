#include "mainwindow/Form1.h"
#include "signin/Form1Host.h"
#include "signin/frmSplash.h"
#include "support/WindowRig.h"
#include "tools/WebBrowserTab.h"
#include "tools/WebView.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCalendarWidget>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

using namespace talveros;
using namespace talveros::test;
using data::Database;

namespace {

void seed(const QString &message)
{
    emptyWindowTables();
    resetTable(Database::Main, QStringLiteral("LOGINadministrator"));
    execute(Database::Main, "UPDATE `TALVERO_berichten` SET `Bericht` = '" + message + "'");
    insertRows(Database::Main, tables::kConsultants, {"consultantnummer", "Titel1", "voornaam", "naam", "WEBSITE"},
               {{s("0001"), s("ir."), s("Anna"), s("Smit"), s("https://smit.example")}});
    insertRows(Database::Main, tables::kClients, {"Opdrachtgevernummer", "Bedrijf", "WEBSITE"},
               {{s("0001"), s("Waterschap"), s("https://water.example")}});
    insertRows(Database::Main, tables::kProjects,
               {"Projectnaam", "Projectcode", "Opdrachtgevernummer", "consultantnummer", "AFSLUITEN"},
               {{s("Zaak"), s("0001Zaak0001"), s("0001"), s("0001"), s("Nee")}});
    setAdministrators({{s("ADMIN"), s("qorun")}});
}

QAccessibleInterface *accessible(QWidget *widget) { return QAccessible::queryAccessibleInterface(widget); }

bool holdsFocus(const QWidget *widget)
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && (focus == widget || widget->isAncestorOf(focus));
}

// Everything a gesture may change that the administrator or the network sees: boxes
// shown and answered, addresses handed on, the end of the run, what every named control
// shows, and the stored rows.
QStringList outcome(const FakeServices &fakes, const QWidget &window)
{
    QStringList seen = fakes.dialogs.texts() + fakes.shell.opened;
    seen << QString::number(fakes.dialogs.inputs.size()) << QString::number(fakes.app.exitCodes.size());
    for (QWidget *w : window.findChildren<QWidget *>(QRegularExpression(QStringLiteral("^[A-Z]")))) {
        QString shows = w->objectName() + (w->isVisible() ? u' ' : u'-');
        if (auto *line = qobject_cast<QLineEdit *>(w))
            shows += line->text();
        else if (auto *text = qobject_cast<QPlainTextEdit *>(w))
            shows += text->toPlainText();
        else if (auto *combo = qobject_cast<QComboBox *>(w))
            shows += combo->currentText() + u'|' + items(combo).join(u'|');
        else if (auto *list = qobject_cast<QAbstractItemView *>(w))
            shows += QString::number(list->model()->rowCount());
        else if (auto *view = qobject_cast<tools::WebView *>(w))
            shows += view->address();
        seen << shows;
    }
    for (const auto &[table, columns] : {std::pair{tables::kConsultants, QStringList{"consultantnummer", "naam"}},
                                         {tables::kProjects, {"Projectcode", "AFSLUITEN"}},
                                         {tables::kClients, {"Opdrachtgevernummer", "Bedrijf"}},
                                         {tables::kMessages, {"Bericht"}},
                                         {QStringLiteral("LOGINadministrator"), {"LOGINnaam"}}})
        for (const Row &row : tableRows(Database::Main, table, columns))
            seen << table + u' ' + row[0].value_or(QString()) + u' ' + row.back().value_or(QString());
    return seen;
}

// Brings the tabs holding `target` to the front and walks Tab from where the window put
// the focus until it is there.
void tabTo(QWidget &window, QWidget *target)
{
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    for (QWidget *w = target; w; w = w->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr))
            tabs->setCurrentWidget(w);
    for (int i = 0; i < 300 && QApplication::focusWidget() && !holdsFocus(target); ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY2(holdsFocus(target), qPrintable(target->objectName() + " is not reached by Tab"));
}

// The key on the focused target, held so long that it repeats; no key is the screen
// reader's press.
void press(QWidget *target, int key)
{
    if (!key)
        return accessible(target)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTest::keyPress(target, Qt::Key(key));
    for (int i = 0; i < 3; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(target, &repeat);
    }
    QTest::keyRelease(target, Qt::Key(key));
}

// The sign-in window over its own fakes.
struct SignIn : FakeServices {
    signin::WorkstationInfo info;
    signin::Form1Host host{services};
    signin::frmSplash window{services, info, host};
};

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useTestServer(); }

    // Every control the windows act on when clicked or double-clicked does exactly that,
    // once, when reached by Tab and pressed from the keyboard or by a screen reader.
    void everyActingControlByKeyboard_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("spoken");
        QTest::addColumn<int>("key"); // 0: the screen reader's press action
        QTest::addColumn<bool>("doubleClick");
        const auto row = [](const char *name, const QString &spoken, int key, bool doubleClick) {
            QTest::newRow(name) << QString::fromLatin1(name) << spoken << key << doubleClick;
        };
        const int space = Qt::Key_Space, enter = Qt::Key_Enter, ret = Qt::Key_Return, reader = 0;
        row("Image16", "Bezoek de WEBsite van deze consultant", space, false);
        row("Image18", "E-Mail ZAKELIJK naar deze opdrachtgever", enter, false);
        row("Image1", "Bezoek de WEBsite van deze opdrachtgever", reader, false);
        row("Image4", "Dit project verwijderen (dubbel-klik)", space, true);
        row("Image12", "Dubbel-klik om het afsluiten te wijzigen", space, true);
        row("Label62", "<< dubbel-klik om te wijzigen", enter, true);
        row("Image5", "Dit Project AANMAKEN", space, true);
        row("Image6", "Projectplanning VAN", reader, true);
        row("Image7", "Projectplanning T/M", enter, true);
        row("Image8", "Opdrachtgever AANMAKEN", space, true);
        row("Image17", "Consultant AANMAKEN", ret, true);
        row("Image9", "Dubbel-klik om de lijsten te verversen", space, true);
        row("Image27", "Factuur van de geselecteerde OPENSTAANDE regels tonen / verbergen", space, false);
        row("Image25", "Bovenstaand bericht AANZETTEN", space, false);
        row("Image26", "Bovenstaand bericht UITZETTEN", enter, false); // shown while the message runs
        row("Image15", QStringLiteral("De website van het netwerk (%1)").arg(tools::WebBrowserTab::networkSiteHost()),
            space, false);
        row("Image3", "Zoeken met Google", reader, false);
        row("Image2",
            QStringLiteral("Databasebeheer met PHP Myadmin (%1), met paswoord")
                .arg(tools::WebBrowserTab::administrationHost()),
            enter, false);
        row("Label19", mainwindow::titleLine(), space, true);
        row("Picture1", "Sluit deze WEB pagina", enter, false);
        row("Image13", "Afmelden en het programma be\u00ebindigen (dubbel-klik)", space, true);
        // The sign-in window's, named apart: the main window has controls of these names.
        row("signin Image1", "Aanmelden", space, false);
        row("signin Image3", "Afsluiten", enter, false);
    }
    void everyActingControlByKeyboard()
    {
        QFETCH(QString, name);
        QFETCH(QString, spoken);
        QFETCH(int, key);
        QFETCH(bool, doubleClick);
        QStringList before, after[2];
        for (int run = 0; run < 2; ++run) { // the mouse, then the keyboard
            seed(name == "Image26" ? QStringLiteral("Let op") : QString());
            std::unique_ptr<WindowRig> rig;
            std::unique_ptr<SignIn> signIn;
            FakeServices *fakes;
            QWidget *window;
            if (name.startsWith(u"signin ")) {
                fakes = (signIn = std::make_unique<SignIn>()).get();
                window = &signIn->window;
            } else {
                fakes = (rig = std::make_unique<WindowRig>()).get();
                window = &rig->form;
                fakes->dialogs.answers = {platform::Answer::Yes, platform::Answer::Yes};
                // The information box shows on this day only; the web view's close
                // button only over a page.
                named<QCalendarWidget>(*window, "Calendar1")->setSelectedDate(QDate(2008, 1, 11));
                named<QLineEdit>(*window, "Text144")->setText(QStringLiteral("Let op"));
                if (name == "Picture1")
                    for (const char *shown : {"WebBrowser1", "Picture1"})
                        named(*window, shown)->show();
            }
            QWidget *target = window->findChild<QWidget *>(name.section(u' ', -1));
            QVERIFY2(target, qPrintable(name));
            QCOMPARE(accessible(target)->text(QAccessible::Name), spoken);
            tabTo(*window, target);
            if (QTest::currentTestFailed())
                return;
            // Going to the tab strip refreshed the presence lists; emptied, they show
            // what a refresh does.
            for (QListWidget *list : window->findChildren<QListWidget *>(QRegularExpression("^List[23]$")))
                list->clear();
            before = outcome(*fakes, *window);
            if (run == 1)
                press(target, key);
            else if (doubleClick)
                QTest::mouseDClick(target, Qt::LeftButton);
            else
                QTest::mouseClick(target, Qt::LeftButton);
            after[run] = outcome(*fakes, *window);
        }
        QVERIFY2(after[0] != before, "the mouse did nothing to compare with");
        QCOMPARE(after[1], after[0]);
    }

    // A screen reader finds every box and list by its caption, every picture that acts
    // by a name and a description; the windows open with the focus where it always was.
    void everyControlIsNamed()
    {
        seed(QString());
        WindowRig rig;
        SignIn signIn;
        QWidget &splash = signIn.window;
        const QRegularExpression box(QStringLiteral("^(Text|Combo|List)\\d+$"));
        for (const QWidget *window : {static_cast<QWidget *>(&rig.form), static_cast<QWidget *>(&splash)}) {
            for (QWidget *w : window->findChildren<QWidget *>()) {
                QAccessibleInterface *a = accessible(w);
                const bool isBox = box.match(w->objectName()).hasMatch() && !qobject_cast<QLabel *>(w);
                const auto *picture = qobject_cast<platform::PictureButton *>(w);
                if (isBox || qobject_cast<platform::ActionCaption *>(w) || (picture && picture->acts()))
                    QVERIFY2(!a->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
                if (picture && picture->acts())
                    QVERIFY2(!a->text(QAccessible::Description).isEmpty(), qPrintable(w->objectName()));
                if (picture) // decoration is passed over
                    QVERIFY2(bool(picture->focusPolicy() & Qt::TabFocus) == picture->acts(), qPrintable(w->objectName()));
            }
        }
        for (auto [window, first] : {std::pair<QWidget *, const char *>{&splash, "Text1"}, {&rig.form, "Combo1"}}) {
            window->show();
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            QVERIFY2(holdsFocus(named(*window, first)), first);
        }
        // A picture shows a frame while it has the focus, and only then.
        QWidget *picture = named(rig.form, "Image12");
        const QImage plain = picture->grab().toImage();
        picture->setFocus(Qt::TabFocusReason);
        QVERIFY(picture->grab().toImage() != plain);
        named(rig.form, "Combo1")->setFocus(Qt::TabFocusReason);
        QCOMPARE(picture->grab().toImage(), plain);
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
