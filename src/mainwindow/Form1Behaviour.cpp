// What the main window does: start-up, clock, information box, web view close and the
// look-ups. Its construction is in Form1.cpp.
#include "data/TextForms.h"
#include "mainwindow/Binder.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Form1Access.h"
#include "platform/Action.h"
#include "platform/TextBox.h"
#include "invoicing/Invoicing.h"
#include "messages/Presence.h"
#include "registration/Registration.h"
#include "tools/Tools.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QStringListModel>
#include <QTextOption>

namespace talveros::mainwindow {

namespace {

// Fills a look-up list in one go (sorted lists in the program's text order) and keeps
// the list's own text, as a list that shows its caption until something is chosen.
void fill(QComboBox *combo, const QStringList &entries, bool sorted)
{
    const QString caption = combo->currentText();
    // One list model for all entries: adding thousands of entries one by one costs an
    // item object and a change signal each.
    auto *model = qobject_cast<QStringListModel *>(combo->model());
    if (!model) {
        model = new QStringListModel(combo);
        combo->setModel(model);
    }
    model->setStringList(sorted ? data::sortedTexts(entries) : entries);
    combo->setCurrentIndex(-1);
    combo->setEditText(caption);
}

QString text(const QWidget *box) { return platform::boxText(box); }

} // namespace

QString informationText()
{
    return QString::fromLatin1(platform::kProductTitle) + QStringLiteral("\r\n")
        + QString::fromLatin1(platform::kModuleTitle) + QStringLiteral("\r\n\r\nEigendom van ")
        + QString::fromLatin1(platform::kOrganisation) + QStringLiteral(". Alle rechten voorbehouden.");
}

Form1::~Form1() = default;

panes::MainWindowAccess &Form1::access()
{
    if (!m_access)
        m_access = std::make_unique<Access>(*this);
    return *m_access;
}

template <class Action>
void Form1::act(Action &&action)
{
    platform::runAction(m_services.dialogs, std::forward<Action>(action));
}

void Form1::load()
{
    if (m_loaded)
        return;
    wireBehaviour();
    ticker->load();
    prepareTraceBox();
    Calendar1->setSelectedDate(m_services.clock.today());
    data::BoundSource::refreshTogether({Adodc1, Adodc2, Adodc3});
    fillLists();
    describeFirstProject();
    tickClock();
    Timer2->start();
    m_loaded = true;
}

void Form1::wireBehaviour()
{
    if (ticker)
        return;
    ticker = new messages::Ticker(*communication, m_services.dialogs, this);
    new Binder(*Adodc1, consultantPane->bindings(), m_services.dialogs, this);
    new Binder(*Adodc2, clientPane->bindings(), m_services.dialogs, this);
    new Binder(*Adodc3, projectPane->bindings(), m_services.dialogs, this);

    connect(Timer2, &QTimer::timeout, this, &Form1::tickClock);
    Label19->installEventFilter(this);

    connect(consultantPane->Combo1, &QComboBox::activated, this, [this] { act([this] { lookUpConsultant(); }); });
    connect(clientPane->Combo2, &QComboBox::activated, this, [this] { act([this] { lookUpClient(); }); });
    connect(projectPane->Combo3, &QComboBox::activated, this, [this] { act([this] { lookUpProject(); }); });
    connect(projectEntry->Combo6, &QComboBox::activated, this, [this] { act([this] { fetchProject(); }); });


    m_strip = {Label19, Label46, Combo9, Command1, Command2, Text143, Image13};
    new registration::RegistrationController(*projectEntry, *clientEntry, *consultantEntry, access(), this);
    new invoicing::InvoicingController(*invoicing, access(), this);
    new messages::PresenceController(*presence, access(), this);
    new tools::ToolsController(*webTab, *WebBrowser1, *Picture1, access(), this);
}

void Form1::prepareTraceBox()
{
    Text143->clear();
    // Tab stops at 30, 54, 105 and 182 dialog units: a quarter of the average
    // character width each.
    const qreal unit = QFontMetricsF(Text143->font()).averageCharWidth() / 4.0;
    QTextOption option = Text143->document()->defaultTextOption();
    QList<QTextOption::Tab> tabs;
    for (int dlu : {30, 54, 105, 182})
        tabs.append(QTextOption::Tab(dlu * unit, QTextOption::LeftTab));
    option.setTabs(tabs);
    Text143->document()->setDefaultTextOption(option);
    Text143->viewport()->update();
}

void Form1::fillLists()
{
    fillConsultantLists();
    fillClientLists();
    fillProjectLists();
}

// The lists read straight from the rows: walking the panes through thousands of rows
// would repaint every bound box at every row for nothing.
void Form1::fillConsultantLists()
{
    QStringList consultants;
    const int number = Adodc1->columnIndex(u"Consultantnummer"), title = Adodc1->columnIndex(u"Titel1"),
              firstName = Adodc1->columnIndex(u"voornaam"), prefix = Adodc1->columnIndex(u"tussenvoegsel"),
              surname = Adodc1->columnIndex(u"naam");
    for (size_t row = 0; row < Adodc1->rowCount(); ++row) {
        consultants << data::consultantListEntry(Adodc1->fieldAt(row, number), Adodc1->fieldAt(row, title),
                                                 Adodc1->fieldAt(row, firstName), Adodc1->fieldAt(row, prefix),
                                                 Adodc1->fieldAt(row, surname));
    }
    fill(consultantPane->Combo1, consultants, true);
    fill(projectEntry->Combo5, consultants, false);
    consultantPane->Text48->setText(data::counterText(consultants.size()));
}

void Form1::fillClientLists()
{
    QStringList clients;
    const int clientNumber = Adodc2->columnIndex(u"opdrachtgevernummer"), company = Adodc2->columnIndex(u"Bedrijf");
    for (size_t row = 0; row < Adodc2->rowCount(); ++row)
        clients << data::clientListEntry(Adodc2->fieldAt(row, clientNumber), Adodc2->fieldAt(row, company));
    fill(clientPane->Combo2, clients, true);
    fill(projectEntry->Combo4, clients, false);
    clientPane->Text47->setText(data::counterText(clients.size()));
}

void Form1::fillProjectLists()
{
    QStringList projects;
    const int code = Adodc3->columnIndex(u"Projectcode");
    for (size_t row = 0; row < Adodc3->rowCount(); ++row)
        projects << Adodc3->fieldAt(row, code);
    fill(projectPane->Combo3, projects, true);
    fill(projectEntry->Combo6, projects, false);
    projectPane->Text49->setText(data::counterText(projects.size()));
}

void Form1::rebuildConsultantLists()
{
    Adodc1->refresh();
    fillConsultantLists();
    Adodc1->moveFirst();
}

void Form1::rebuildClientLists()
{
    Adodc2->refresh();
    fillClientLists();
    Adodc2->moveFirst();
}

void Form1::rebuildProjectLists()
{
    Adodc3->refresh();
    fillProjectLists();
    Adodc3->moveFirst();
}

void Form1::describeFirstProject()
{
    Adodc1->moveFirst();
    Adodc2->moveFirst();
    Adodc3->moveFirst();
    describeProjectKeepingPanes();
}

void Form1::describeProjectKeepingPanes()
{
    const QString shownClient = QStringLiteral("opdrachtgevernummer = '") + text(clientPane->Text15) + u'\'';
    Adodc2->find(QStringLiteral("opdrachtgevernummer = '") + text(projectPane->Text32) + u'\'');
    projectPane->Text50->setText(text(clientPane->Text16));
    Adodc2->find(shownClient);

    const QString shownConsultant = QStringLiteral("Consultantnummer = '") + text(consultantPane->Text2) + u'\'';
    Adodc1->find(QStringLiteral("Consultantnummer = '") + text(projectPane->Text34) + u'\'');
    projectPane->Text51->setText(data::personName(text(consultantPane->Text3), text(consultantPane->Text4),
                                                  text(consultantPane->Text5), text(consultantPane->Text6)));
    Adodc1->find(shownConsultant);
}

void Form1::tickClock()
{
    Label46->setText(data::dateTimeText(m_services.clock.now()));
}

void Form1::showInformationBox()
{
    const QDate shown = Calendar1->selectedDate();
    if (shown.day() != 11 || shown.month() != 1)
        return;
    m_services.dialogs.message(informationText(), QString::fromLatin1(platform::kAppTitle), platform::Icon::Information,
                               platform::Buttons::Ok);
}

void Form1::lookUpConsultant()
{
    auto *pane = consultantPane;
    Adodc1->find(QStringLiteral("consultantnummer = '") + pane->Combo1->currentText().left(4) + u'\'');
    pane->Combo1->setEditText(
        data::consultantListEntry(text(pane->Text2), text(pane->Text3), text(pane->Text4), text(pane->Text5),
                                  text(pane->Text6)));
}

void Form1::lookUpClient()
{
    auto *pane = clientPane;
    Adodc2->find(QStringLiteral("opdrachtgevernummer = '") + pane->Combo2->currentText().left(4) + u'\'');
    pane->Combo2->setEditText(data::clientListEntry(text(pane->Text15), text(pane->Text16)));
}

void Form1::lookUpProject()
{
    auto *pane = projectPane;
    Adodc3->find(QStringLiteral("Projectcode = '") + pane->Combo3->currentText() + u'\'');
    pane->Combo3->setEditText(text(pane->Text31));
    Adodc2->find(QStringLiteral("opdrachtgevernummer = '") + text(pane->Text32) + u'\'');
    pane->Text50->setText(text(clientPane->Text16));
    Adodc1->find(QStringLiteral("consultantnummer = '") + text(pane->Text34) + u'\'');
    pane->Text51->setText(text(consultantPane->Text40));
}

void Form1::fetchProject()
{
    auto *pane = projectPane;
    auto *entry = projectEntry;
    Adodc3->find(QStringLiteral("Projectcode = '") + entry->Combo6->currentText() + u'\'');
    describeProjectKeepingPanes();

    entry->Text54->setText(text(pane->Text30));
    entry->Text55->setText(text(pane->Text31));
    platform::setBoxText(entry->Text68, text(pane->Text67));
    entry->Text52->setText(text(pane->Text32));
    entry->Combo4->setEditText(text(pane->Text32) + u' ' + text(pane->Text50));
    entry->Text53->setText(text(pane->Text34));
    entry->Combo5->setEditText(text(pane->Text34) + u' ' + text(pane->Text51));
    entry->Text56->setText(text(pane->Text35));
    entry->Text57->setText(text(pane->Text36));
    entry->Text58->setText(text(pane->Text37));
    entry->Text59->setText(text(pane->Text38));
    entry->Text60->setText(text(pane->Text63));
    platform::setBoxText(entry->Text61, text(pane->Text42));
}

bool Form1::storePendingEdits()
{
    return platform::runAction(m_services.dialogs, [this] {
        Adodc2->flushPendingEdit();
        Adodc3->flushPendingEdit();
    });
}

QString unsavedEditQuestion()
{
    return QStringLiteral("De wijziging in het projectcommentaar kon niet worden opgeslagen.\r\n\r\n"
                          "Het venster toch sluiten? De wijziging gaat dan verloren.");
}

void Form1::closeEvent(QCloseEvent *event)
{
    // An edit of the administrator's comment is never lost unasked: when it cannot be
    // stored (the server gone, the row changed elsewhere) the administrator chooses
    // between keeping the window open with the text still in its box, and letting it go.
    if (!storePendingEdits()) {
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

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label19 && event->type() == QEvent::MouseButtonDblClick) {
        act([this] { showInformationBox(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace talveros::mainwindow
