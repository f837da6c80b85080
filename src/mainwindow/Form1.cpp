#include "mainwindow/Form1.h"

#include "data/TextForms.h"
#include "invoicing/Invoicing.h"
#include "mainwindow/Binder.h"
#include "mainwindow/Form1Access.h"
#include "mainwindow/Form1Ui.h"
#include "mainwindow/LookUps.h"
#include "mainwindow/MasterLists.h"
#include "mainwindow/StatusStripBehaviour.h"
#include "messages/Presence.h"
#include "messages/Ticker.h"
#include "platform/Action.h"
#include "registration/Registration.h"
#include "tools/Tools.h"

#include <QCloseEvent>
#include <QTabBar>

#ifndef TALVEROS_VERSION
#define TALVEROS_VERSION "0.0"
#endif

namespace talveros::mainwindow {

QString windowCaption()
{
    return QString::fromLatin1(kOrganisationName) + QStringLiteral("  ") + QString::fromLatin1(platform::kProductTitle);
}

QString titleLine()
{
    return QStringLiteral("%1  -  %2  -  %3  -  versie %4")
        .arg(QLatin1String(kProductName), QLatin1String(platform::kProductTitle), QLatin1String(platform::kModuleTitle),
             QLatin1String(TALVEROS_VERSION));
}

QString informationText()
{
    return QString::fromLatin1(platform::kProductTitle) + QStringLiteral("\r\n")
        + QString::fromLatin1(platform::kModuleTitle) + QStringLiteral("\r\n\r\nEigendom van ")
        + QString::fromLatin1(platform::kOrganisation) + QStringLiteral(". Alle rechten voorbehouden.");
}

QString unsavedEditQuestion()
{
    return QStringLiteral("De wijziging in het projectcommentaar kon niet worden opgeslagen.\r\n\r\n"
                          "Het venster toch sluiten? De wijziging gaat dan verloren.");
}

QString lostEditReport(const QString &failure)
{
    return QStringLiteral("De wijziging in het projectcommentaar kon niet worden opgeslagen en gaat verloren: "
                          "het programma wordt be\u00EBindigd.\r\n\r\n")
        + failure;
}

namespace {
Sources sources(const Form1Ui &ui) { return {ui.consultantSource, ui.clientSource, ui.projectSource}; }
Panes panes(const Form1Ui &ui) { return {ui.consultantPane, ui.clientPane, ui.projectPane}; }
} // namespace

Form1::Form1(platform::Services &services, Reads reads, QWidget *parent)
    : QWidget(parent), m_services(services), m_ui(std::make_unique<Form1Ui>())
{
    if (reads == Reads::AtOnce)
        m_reads = data::BoundSource::startReading(Form1Ui::sourceTables());
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(windowCaption());
    m_ui->setupUi(this);
    m_lists = std::make_unique<MasterLists>(sources(*m_ui), panes(*m_ui));
}

Form1::~Form1()
{
    // The controllers and filters were handed the controls, the lists and the window's
    // interface, which go with this object: they and the controls go first, in the
    // order they were made, while all of those still exist.
    while (!children().isEmpty())
        delete children().constFirst();
}

panes::MainWindowAccess &Form1::access()
{
    if (!m_access)
        m_access = std::make_unique<Access>(*this, *m_ui, *m_lists);
    return *m_access;
}

void Form1::showPrinters(const QStringList &printers, int chosen)
{
    m_ui->printerList->addItems(printers);
    m_ui->printerList->setCurrentIndex(chosen);
}

void Form1::load()
{
    if (m_loaded)
        return;
    // The behaviour is wired, and the ticker reads its message over a connection of its
    // own, while the three tables are read, instead of before them: the reads get only
    // the tables' names, and the sources change only once every read has ended.
    const auto meanwhile = [this] {
        wireBehaviour();
        m_ticker->load();
        m_statusStrip->prepareTraceBox();
        m_ui->projectEntry->calendar->setSelectedDate(m_services.clock.today());
    };
    const std::vector<data::BoundSource *> sources{m_ui->consultantSource, m_ui->clientSource, m_ui->projectSource};
    if (m_reads)
        data::BoundSource::refreshTogether(sources, std::exchange(m_reads, nullptr), meanwhile);
    else
        data::BoundSource::refreshTogether(sources, meanwhile);
    // The reads left every source on its first row, where the first project is described.
    m_access->listed(m_lists->fillAllLists());
    m_lists->describeProjectKeepingPanes();
    tickClock();
    m_ui->clockTimer->start();
    m_loaded = true;
}

// Wiring waits for the start-up, so that building the window stays free of behaviour
// (the layout tests build it without a server).
void Form1::wireBehaviour()
{
    if (m_ticker)
        return;
    Form1Ui &ui = *m_ui;
    m_ticker = new messages::Ticker(*ui.communication, m_services.dialogs, this);
    new Binder(*ui.consultantSource, ui.consultantPane->bindings(), m_services.dialogs, this);
    new Binder(*ui.clientSource, ui.clientPane->bindings(), m_services.dialogs, this);
    new Binder(*ui.projectSource, ui.projectPane->bindings(), m_services.dialogs, this);
    m_statusStrip = new StatusStripBehaviour(
        {ui.titleLabel, ui.clock, ui.traceBox, ui.clockTimer, ui.projectEntry->calendar}, m_services, this);
    new LookUps(sources(ui), panes(ui), m_services.dialogs, this);
    forwardRequests();

    new registration::RegistrationController(*ui.projectEntry, *ui.clientEntry, *ui.consultantEntry, access(), this);
    new invoicing::InvoicingController(*ui.invoicing, access(), this);
    new messages::PresenceController(*ui.presence, access(), this);
    new tools::ToolsController(*ui.webTab, *ui.webView, *ui.closeWebViewButton, access(), this);
}

void Form1::forwardRequests()
{
    Form1Ui &ui = *m_ui;
    panes::MainWindowAccess *main = &access();
    using platform::PictureButton;
    using Main = panes::MainWindowAccess;
    connect(ui.projectPane->deleteProjectButton, &PictureButton::doubleClicked, main, &Main::deleteProjectAsked);
    connect(ui.projectPane->closingFlagButton, &PictureButton::doubleClicked, main, &Main::closingFlipAsked);
    connect(ui.consultantPane->websiteButton, &PictureButton::clicked, main, &Main::consultantSiteAsked);
    connect(ui.clientPane->websiteButton, &PictureButton::clicked, main, &Main::clientSiteAsked);
    connect(ui.clientPane->businessMailButton, &PictureButton::clicked, main, &Main::mailAsked);
    connect(ui.invoicingButton, &QPushButton::clicked, main, &Main::invoicingTabAsked);
    connect(ui.routeTraceButton, &QPushButton::clicked, main, &Main::routeTraceAsked);
    connect(ui.signOffButton, &PictureButton::doubleClicked, main, &Main::signOffAsked);
    m_closingFlagHint = ui.projectPane->closingFlagHint;
    m_closingFlagHint->installEventFilter(this);

    // A click on a tab gives the strip the focus, as the administrator expects of it.
    QTabBar *tabs = ui.innerTabs->tabBar();
    tabs->setFocusPolicy(Qt::StrongFocus);
    m_tabStrip = ui.innerTabs;
    m_tabBar = tabs;
    for (QObject *strip : {m_tabStrip, m_tabBar})
        strip->installEventFilter(this);

    // Hop lines stand in tab columns; a bar wrapped onto a line of its own would break
    // them, so long lines scroll instead.
    ui.traceBox->setLineWrapMode(QPlainTextEdit::NoWrap);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    // Compared by the pointers kept at wiring time: the last events may come from controls
    // half torn down.
    if (event->type() == QEvent::MouseButtonDblClick && watched == m_closingFlagHint) {
        emit m_access->closingFlipAsked();
        return true;
    }
    if (event->type() == QEvent::FocusIn && (watched == m_tabStrip || watched == m_tabBar)) {
        // Coming back to the window, or out of a menu, is not the administrator going to
        // the strip.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            emit m_access->tabStripEntered();
    }
    return QWidget::eventFilter(watched, event);
}

namespace {
// The printer list is filled by the printing system, not by us; only its direct
// repeats go, and the chosen printer stays chosen.
void removeAdjacentRepeats(QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    const QStringList kept = data::withoutNeighbourRepeats(items);
    if (kept.size() == items.size())
        return;
    // `kept` is `items` with every run cut to its first entry, so walking both side by
    // side meets each kept item where it stands; every other item goes, from the back.
    std::vector<int> gone;
    for (qsizetype i = 0, k = 0; i < items.size(); ++i) {
        if (k < kept.size() && items[i] == kept[k])
            ++k;
        else
            gone.push_back(int(i));
    }
    const QString chosen = combo->currentText();
    for (auto it = gone.crbegin(); it != gone.crend(); ++it)
        combo->removeItem(*it);
    if (combo->currentText() != chosen)
        combo->setCurrentIndex(combo->findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive));
}
} // namespace

void Form1::Access::dropRepeatedPrinters() { removeAdjacentRepeats(m_ui.printerList); }

void Form1::Access::showTrace(const QString &text)
{
    if (!m_traceBox)
        return;
    m_traceBox->setPlainText(text);
    m_traceBox->moveCursor(QTextCursor::End);
    m_traceBox->repaint();
}

void Form1::Access::setTraceRunning(bool running)
{
    if (m_traceButton)
        m_traceButton->setEnabled(!running);
}

void Form1::tickClock()
{
    if (m_statusStrip)
        m_statusStrip->tickClock();
}

bool Form1::storePendingEdits()
{
    // Each source on its own, so that one that cannot store does not keep the other from it.
    const bool clients = platform::runAction(m_services.dialogs, [this] { m_ui->clientSource->flushPendingEdit(); });
    const bool projects = platform::runAction(m_services.dialogs, [this] { m_ui->projectSource->flushPendingEdit(); });
    return clients && projects;
}

void Form1::storePendingEditsAtQuit()
{
    QString failure;
    // Each source on its own: one that fails does not cost the other its edit.
    for (data::BoundSource *source : {m_ui->clientSource, m_ui->projectSource}) {
        try {
            source->flushPendingEdit();
        } catch (const std::exception &e) {
            if (failure.isEmpty())
                failure = QString::fromUtf8(e.what());
            source->discardPendingEdit();
        } catch (...) {
            if (failure.isEmpty())
                failure = QStringLiteral("Onbekende fout.");
            source->discardPendingEdit();
        }
    }
    if (!failure.isEmpty())
        m_services.dialogs.message(lostEditReport(failure), QString::fromLatin1(platform::kAppTitle),
                                   platform::Icon::Critical, platform::Buttons::Ok);
}

// An edit of a bound box is never lost unasked: when it cannot be stored (the server
// gone) the administrator chooses between keeping it, with the text still in its box,
// and letting it go. An edit refused because the row changed elsewhere is already gone,
// and said so.
bool Form1::storePendingEditsOrLetGo(const QString &question)
{
    if (storePendingEdits() || (!m_ui->clientSource->hasPendingEdit() && !m_ui->projectSource->hasPendingEdit()))
        return true;
    if (m_services.dialogs.message(question, QString::fromLatin1(platform::kAppTitle), platform::Icon::Exclamation,
                                   platform::Buttons::YesNo)
        != platform::Answer::Yes)
        return false;
    m_ui->clientSource->discardPendingEdit();
    m_ui->projectSource->discardPendingEdit();
    return true;
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (!storePendingEditsOrLetGo(unsavedEditQuestion())) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace talveros::mainwindow
