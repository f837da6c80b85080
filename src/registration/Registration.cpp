#include "registration/Registration.h"

#include "data/BoundSource.h"
#include "data/TextForms.h"
#include "panes/MainWindowAccess.h"
#include "platform/Action.h"
#include "platform/ListBox.h"
#include "platform/TextBox.h"
#include "registration/RegistrationStore.h"
#include "registration/RegistrationTexts.h"

#include <QComboBox>
#include <QKeyEvent>

namespace talveros::registration {

namespace {

const QString kNeverSignedIn = QStringLiteral("00-00-0000  00:00:00");
const QString kOffline = QStringLiteral("OFFLINE");

QString appTitle() { return QString::fromLatin1(platform::kAppTitle); }

} // namespace

RegistrationController::RegistrationController(ProjectEntryTab &project, ClientEntryTab &client,
                                               ConsultantEntryTab &consultant, panes::MainWindowAccess &main,
                                               QObject *parent)
    : QObject(parent), m_project(project), m_client(client), m_consultant(consultant), m_main(main)
{
    connect(consultant.Image17, &platform::PictureButton::doubleClicked, this,
            [this] { act([this] { createConsultant(); }); });
    connect(client.Image8, &platform::PictureButton::doubleClicked, this, [this] { act([this] { createClient(); }); });
    connect(project.Image5, &platform::PictureButton::doubleClicked, this, [this] { act([this] { createProject(); }); });
    connect(project.Image6, &platform::PictureButton::doubleClicked, this,
            [this] { act([this] { pickPlanningDate(true); }); });
    connect(project.Image7, &platform::PictureButton::doubleClicked, this,
            [this] { act([this] { pickPlanningDate(false); }); });
    connect(&main, &panes::MainWindowAccess::deleteProjectAsked, this, [this] { act([this] { deleteProject(); }); });

    connect(project.Text54, &QLineEdit::textChanged, this, [this] { act([this] { composeProjectCode(); }); });
    connect(project.Combo4, &QComboBox::activated, this, [this](int index) {
        act([this, index] {
            m_project.Text52->setText(m_project.Combo4->itemText(index).left(4));
            composeProjectCode();
        });
    });
    connect(project.Combo5, &QComboBox::activated, this, [this](int index) {
        act([this, index] {
            m_project.Text53->setText(m_project.Combo5->itemText(index).left(4));
            composeProjectCode();
        });
    });

    for (QWidget *box : {project.Text52, project.Text53, project.Text56, project.Text57, project.Text58,
                         project.Text59, project.Text60})
        box->installEventFilter(this);
    for (QLineEdit *box : {project.Text58, project.Text59, project.Text60})
        platform::restrictTyping(box, numericKeyAllowed);
}

template <class Action>
void RegistrationController::act(Action &&action)
{
    platform::runAction(m_main.services().dialogs, std::forward<Action>(action));
}

bool RegistrationController::eventFilter(QObject *watched, QEvent *event)
{
    auto &p = m_project;
    if (event->type() == QEvent::FocusIn) {
        // The number boxes change only by choosing from the lists beside them.
        if (watched == p.Text52)
            p.Combo4->setFocus();
        else if (watched == p.Text53)
            p.Combo5->setFocus();
        else if (watched == p.Text56 || watched == p.Text57)
            act([this, start = watched == p.Text56] { pickPlanningDate(start); });
        return false;
    }
    if (event->type() == QEvent::KeyPress && (watched == p.Text58 || watched == p.Text59 || watched == p.Text60)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Shortcuts (copy, select all) type nothing; keys without a character (arrows,
        // Delete) edit without typing.
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        const QString typed = key->text();
        if (typed.isEmpty())
            return false;
        for (QChar c : typed) {
            if (!numericKeyAllowed(c))
                return true;
        }
        return false;
    }
    return QObject::eventFilter(watched, event);
}

void RegistrationController::createConsultant()
{
    auto &e = m_consultant;
    auto &dialogs = m_main.services().dialogs;
    auto t = [](const QLineEdit *box) { return box->text(); };

    const QString summary = consultantSummary(
        {t(e.Text97), t(e.Text98), t(e.Text99), t(e.Text100), t(e.Text101), t(e.Text102), t(e.Text103)});
    if (dialogs.message(summary, QStringLiteral("Bevestigen consultant aanmaken"), platform::Icon::Question,
                        platform::Buttons::YesNo)
        != platform::Answer::Yes) {
        dialogs.inform(QStringLiteral("De consultant is NIET aangemaakt"));
        return;
    }
    const Credentials credentials = deriveCredentials(t(e.Text100), t(e.Text101), t(e.Text102), t(e.Text104));
    const QString number = insertNumberedRow(
        {QStringLiteral("TALVERO_consultants"), QStringLiteral("consultantnummer"), consultantNumberInUse},
        [&](const QString &n) -> Fields {
            return {{"NaamOrganisatie", t(e.Text62)},
                    {"consultantnummer", n},
                    {"Titel1", t(e.Text97)},
                    {"voornaam", t(e.Text98)},
                    {"tussenvoegsel", t(e.Text99)},
                    {"naam", t(e.Text100)},
                    {"Titel2", t(e.Text137)},
                    {"Roepnaam", t(e.Text138)},
                    {"Functie", t(e.Text139)},
                    {"adres", t(e.Text101)},
                    {"postcode", t(e.Text102)},
                    {"woonplaats", t(e.Text103)},
                    {"WEBSITE", t(e.Text141)},
                    {"TELzakelijk", t(e.Text104)},
                    {"TELprive", t(e.Text113)},
                    {"TELmobiel", t(e.Text105)},
                    {"EMAILzakelijk", t(e.Text106)},
                    {"EMAILprive", t(e.Text142)},
                    {"LOGIN", credentials.login},
                    {"PASWOORD", credentials.password},
                    {"BANKnaam", t(e.Text107)},
                    {"BANKnummer", t(e.Text108)},
                    {"BTWnummer", t(e.Text109)},
                    {"KVKnummer", t(e.Text110)},
                    {"VARverklaring", t(e.Text65)},
                    {"isAANGEMELD", kNeverSignedIn},
                    {"isAFGEMELD", kNeverSignedIn},
                    {"isONLINE", kOffline}};
        });
    reportStored([this] { m_main.rebuildConsultantLists(); }, consultantResult(number, t(e.Text100), credentials));
}

void RegistrationController::createClient()
{
    auto &e = m_client;
    auto &dialogs = m_main.services().dialogs;
    auto t = [](const QLineEdit *box) { return box->text(); };

    const QString summary = clientSummary({t(e.Text79), t(e.Text80), t(e.Text81), t(e.Text82), t(e.Text83),
                                           t(e.Text84), t(e.Text85), t(e.Text86), t(e.Text87)});
    if (dialogs.message(summary, QStringLiteral("Bevestigen opdrachtgever aanmaken"), platform::Icon::Question,
                        platform::Buttons::YesNo)
        != platform::Answer::Yes) {
        dialogs.inform(QStringLiteral("De opdrachtgever is NIET aangemaakt"));
        return;
    }
    const Credentials credentials = deriveCredentials(t(e.Text84), t(e.Text85), t(e.Text86), t(e.Text88));
    const QString number = insertNumberedRow(
        {QStringLiteral("TALVERO_opdrachtgevers"), QStringLiteral("Opdrachtgevernummer"), clientNumberInUse},
        [&](const QString &n) -> Fields {
            return {{"Opdrachtgevernummer", n},
                    {"Bedrijf", clientCompany(t(e.Text79), t(e.Text80))},
                    {"Opdrachtnaam", t(e.Text39)},
                    {"Titel1", t(e.Text81)},
                    {"voornaam", t(e.Text82)},
                    {"tussenvoegsel", t(e.Text83)},
                    {"naam", t(e.Text84)},
                    {"Titel2", t(e.Text136)},
                    {"Roepnaam", t(e.Text131)},
                    {"Functie", t(e.Text119)},
                    {"Secretaresse", t(e.Text120)},
                    {"TELsecretaresse", t(e.Text69)},
                    {"EMAILsecretaresse", t(e.Text130)},
                    {"adres", t(e.Text85)},
                    {"Factuuradres", t(e.Text121)},
                    {"postcode", t(e.Text86)},
                    {"woonplaats", t(e.Text87)},
                    {"WEBSITE", t(e.Text132)},
                    {"TELzakelijk", t(e.Text88)},
                    {"TELprive", t(e.Text133)},
                    {"TELmobiel", t(e.Text89)},
                    {"EMAILzakelijk", t(e.Text90)},
                    {"EMAILprive", t(e.Text135)},
                    {"BANKnaam", t(e.Text91)},
                    {"BANKnummer", t(e.Text92)},
                    {"BTWnummer", t(e.Text93)},
                    {"KVKnummer", t(e.Text94)},
                    {"LOGIN", credentials.login},
                    {"PASWOORD", credentials.password},
                    {"isAANGEMELD", kNeverSignedIn},
                    {"isAFGEMELD", kNeverSignedIn},
                    {"isONLINE", kOffline}};
        });
    reportStored([this] { m_main.rebuildClientLists(); }, clientResult(number, t(e.Text84), credentials));
}

void RegistrationController::composeProjectCode()
{
    auto &p = m_project;
    p.Text55->setText(projectCode(p.Text53->text(), p.Text54->text(), p.Text52->text()));
}

void RegistrationController::pickPlanningDate(bool start)
{
    // Focus moves to the calendar, and the refusal box can return it to the date box,
    // which would pick again: one pick at a time.
    if (m_picking)
        return;
    m_picking = true;
    struct Reset {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{m_picking};

    auto &p = m_project;
    const QString picked = planningDateText(p.Calendar1->selectedDate());
    QLineEdit *own = start ? p.Text56 : p.Text57;
    const QString other = (start ? p.Text57 : p.Text56)->text();
    // The calendar has the focus before any box opens, so that closing the box gives it
    // back to the calendar and not to the date box.
    p.Calendar1->setFocus();
    if (!planningDateAccepted(start, other, picked)) {
        m_main.services().dialogs.inform(planningDateRefusal(start));
        return;
    }
    own->setText(picked);
}

void RegistrationController::createProject()
{
    auto &p = m_project;
    auto &dialogs = m_main.services().dialogs;
    data::BoundSource &projects = m_main.projectSource();
    const QString code = p.Text55->text();

    // The window's own copy first: a known project is shown in the pane.
    const int codeColumn = projects.columnIndex(u"Projectcode");
    for (size_t row = 0; row < projects.rowCount(); ++row) {
        if (projects.fieldAt(row, codeColumn) == code) {
            projects.findWhere(u"Projectcode", code);
            m_main.describeCurrentProject();
            dialogs.inform(projectExists(code));
            return;
        }
    }

    const QString summary = projectSummary(p.Combo4->currentText(), p.Combo5->currentText(), p.Text54->text(),
                                           platform::boxText(p.Text68));
    if (dialogs.message(summary, QStringLiteral("Bevestigen project aanmaken"), platform::Icon::Question,
                        platform::Buttons::YesNo)
        != platform::Answer::Yes) {
        dialogs.inform(QStringLiteral("Het project is NIET aangemaakt"));
        return;
    }

    const Fields fields = {{"Projectnaam", p.Text54->text()},
                           {"ProjectOmschrijving", platform::boxText(p.Text68)},
                           {"Projectcode", code},
                           {"Opdrachtgevernummer", p.Text52->text()},
                           {"consultantnummer", p.Text53->text()},
                           {"TijdsplanningDATUMvan", p.Text56->text()},
                           {"TijdsplanningDATUMtm", p.Text57->text()},
                           {"ProjectduurPer8uur", p.Text58->text()},
                           {"InkoopDagtariefOpdrachtgever", p.Text59->text()},
                           {"VerkoopDagtariefConsultant", p.Text60->text()},
                           {"CommentaarCONSULTANT", platform::boxText(p.Text61)},
                           {"CommentaarADMIN", QStringLiteral("GEEN")},
                           {"AFSLUITEN", QStringLiteral("Nee")}};
    // Another workstation may have stored the code since this window last read the table.
    if (!insertProjectUnlessTaken(code, fields)) {
        dialogs.inform(projectExists(code));
        return;
    }
    reportStored(
        [this] {
            m_main.rebuildProjectLists();
            m_main.describeCurrentProject();
            emit m_main.projectListChanged(panes::ProjectListChange::Created);
        },
        QStringLiteral("Het project is aangemaakt"));
}

void RegistrationController::deleteProject()
{
    const data::BoundSource &projects = m_main.projectSource();
    auto &dialogs = m_main.services().dialogs;
    const QString number = projects.field(u"nummer");

    const QString question =
        deletionQuestion(number, projects.field(u"PROJECTNAAM"), projects.field(u"ProjectOmschrijving"));
    if (dialogs.message(question, QStringLiteral("Bevestigen van een definitieve verwijdering"),
                        platform::Icon::Critical, platform::Buttons::YesNo)
        != platform::Answer::Yes) {
        dialogs.inform(QStringLiteral("Het project is NIET verwijderd"));
        return;
    }
    const Deletion deletion = deleteFirstProjectData(number, [&](qint64 rowsNow) {
        return dialogs.message(deletionAfterDoubtQuestion(number, rowsNow), appTitle(), platform::Icon::Question,
                               platform::Buttons::YesNo)
            == platform::Answer::Yes;
    });
    if (deletion == Deletion::Kept) {
        dialogs.inform(QStringLiteral("Het project is NIET verwijderd"));
        return;
    }
    if (deletion == Deletion::NoDataRow) {
        dialogs.message(projectHasNoData(number), appTitle(), platform::Icon::Exclamation, platform::Buttons::Ok);
        return;
    }
    m_main.rebuildProjectLists();
    m_main.describeCurrentProject();
    emit m_main.projectListChanged(panes::ProjectListChange::Deleted);
    dialogs.inform(QStringLiteral("Het project is verwijderd"));
}

void RegistrationController::reportStored(const std::function<void()> &refresh, const QString &result)
{
    // The row is stored: the administrator learns its number and credentials even when
    // the lists cannot be read again, and then why they could not.
    try {
        refresh();
    } catch (...) {
        m_main.services().dialogs.inform(result);
        throw;
    }
    m_main.services().dialogs.inform(result);
}

} // namespace talveros::registration
