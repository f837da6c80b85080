#include "mainwindow/Form1.h"

#include "invoicing/Invoicing.h"
#include "mainwindow/Binder.h"
#include "mainwindow/Form1Access.h"
#include "mainwindow/LookUps.h"
#include "mainwindow/MasterLists.h"
#include "mainwindow/StatusStripBehaviour.h"
#include "messages/Presence.h"
#include "messages/Ticker.h"
#include "platform/Action.h"
#include "registration/Registration.h"
#include "tools/Tools.h"

#include <QCloseEvent>

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

Form1::Form1(platform::Services &services, QWidget *parent) : QWidget(parent), m_services(services)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(windowCaption());
    setupUi(this);
    m_strip = {Label19, Label46, Combo9, Command1, Command2, Text143, Image13};
    m_lists = std::make_unique<MasterLists>(*this);
}

Form1::~Form1() = default;

panes::MainWindowAccess &Form1::access()
{
    if (!m_access)
        m_access = std::make_unique<Access>(*this);
    return *m_access;
}

void Form1::load()
{
    if (m_loaded)
        return;
    // The behaviour is wired, and the ticker reads its message over a connection of its
    // own, while the three tables are read, instead of before them: the reads get only
    // the tables' names, and the sources change only once every read has ended.
    data::BoundSource::refreshTogether({Adodc1, Adodc2, Adodc3}, [this] {
        wireBehaviour();
        ticker->load();
        m_statusStrip->prepareTraceBox();
        Calendar1->setSelectedDate(m_services.clock.today());
    });
    // The reads left every source on its first row, where the first project is described.
    m_lists->fillAllLists();
    m_lists->describeProjectKeepingPanes();
    tickClock();
    Timer2->start();
    m_loaded = true;
}

// Wiring waits for the start-up, so that building the window stays free of behaviour
// (the layout tests build it without a server).
void Form1::wireBehaviour()
{
    if (ticker)
        return;
    ticker = new messages::Ticker(*communication, m_services.dialogs, this);
    new Binder(*Adodc1, consultantPane->bindings(), m_services.dialogs, this);
    new Binder(*Adodc2, clientPane->bindings(), m_services.dialogs, this);
    new Binder(*Adodc3, projectPane->bindings(), m_services.dialogs, this);
    m_statusStrip = new StatusStripBehaviour(*this, m_services, this);
    new LookUps(*this, *m_lists, m_services.dialogs, this);

    new registration::RegistrationController(*projectEntry, *clientEntry, *consultantEntry, access(), this);
    new invoicing::InvoicingController(*invoicing, access(), this);
    new messages::PresenceController(*presence, access(), this);
    new tools::ToolsController(*webTab, *WebBrowser1, *Picture1, access(), this);
}

void Form1::rebuildConsultantLists() { m_lists->rebuildConsultantLists(); }
void Form1::rebuildClientLists() { m_lists->rebuildClientLists(); }
void Form1::rebuildProjectLists() { m_lists->rebuildProjectLists(); }

void Form1::tickClock()
{
    if (m_statusStrip)
        m_statusStrip->tickClock();
}

bool Form1::storePendingEdits()
{
    // Each source on its own, so that one that cannot store does not keep the other from it.
    const bool clients = platform::runAction(m_services.dialogs, [this] { Adodc2->flushPendingEdit(); });
    const bool projects = platform::runAction(m_services.dialogs, [this] { Adodc3->flushPendingEdit(); });
    return clients && projects;
}

void Form1::storePendingEditsAtQuit()
{
    QString failure;
    // Each source on its own: one that fails does not cost the other its edit.
    for (data::BoundSource *source : {Adodc2, Adodc3}) {
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

void Form1::closeEvent(QCloseEvent *event)
{
    // An edit of a bound box is never lost unasked: when it cannot be stored (the
    // server gone, the row changed elsewhere) the administrator chooses between keeping
    // the window open with the text still in its box, and letting the edit go.
    // An edit refused because the row changed elsewhere is already gone, and said so.
    if (!storePendingEdits() && (Adodc2->hasPendingEdit() || Adodc3->hasPendingEdit())) {
        const auto answer = m_services.dialogs.message(unsavedEditQuestion(), QString::fromLatin1(platform::kAppTitle),
                                                       platform::Icon::Exclamation, platform::Buttons::YesNo);
        if (answer != platform::Answer::Yes) {
            event->ignore();
            return;
        }
        Adodc2->discardPendingEdit();
        Adodc3->discardPendingEdit();
    }
    QWidget::closeEvent(event);
}

} // namespace talveros::mainwindow
