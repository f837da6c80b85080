#include "registration/Registration.h"

#include "data/BoundSource.h"
#include "data/TextForms.h"
#include "panes/MainWindowAccess.h"
#include "platform/Action.h"
#include "platform/ListBox.h"
#include "platform/ListExport.h"
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
    connect(consultant.createConsultantButton, &platform::PictureButton::doubleClicked, this,
            [this] { m_main.act([this] { createConsultant(); }); });
    connect(client.createClientButton, &platform::PictureButton::doubleClicked, this,
            [this] { m_main.act([this] { createClient(); }); });
    connect(project.createProjectButton, &platform::PictureButton::doubleClicked, this,
            [this] { m_main.act([this] { createProject(); }); });
    connect(project.startDateButton, &platform::PictureButton::doubleClicked, this,
            [this] { m_main.act([this] { pickPlanningDate(true); }); });
    connect(project.endDateButton, &platform::PictureButton::doubleClicked, this,
            [this] { m_main.act([this] { pickPlanningDate(false); }); });
    connect(&main, &panes::MainWindowAccess::deleteProjectAsked, this,
            [this] { m_main.act([this] { deleteProject(); }); });

    connect(project.projectNameBox, &QLineEdit::textChanged, this,
            [this] { m_main.act([this] { composeProjectCode(); }); });
    connect(project.clientPicker, &QComboBox::activated, this, [this](int index) {
        m_main.act([this, index] {
            m_project.clientNumberBox->setText(m_project.clientPicker->itemText(index).left(4));
            composeProjectCode();
        });
    });
    connect(project.consultantPicker, &QComboBox::activated, this, [this](int index) {
        m_main.act([this, index] {
            m_project.consultantNumberBox->setText(m_project.consultantPicker->itemText(index).left(4));
            composeProjectCode();
        });
    });

    // The pickers list the master rows in the table's order, as the window reads them.
    const auto fillWith = [](QComboBox *picker) {
        return [picker](const QStringList &entries) {
            platform::setListEntries(picker, entries, picker->currentText());
        };
    };
    connect(&main, &panes::MainWindowAccess::consultantsListed, this, fillWith(project.consultantPicker));
    connect(&main, &panes::MainWindowAccess::clientsListed, this, fillWith(project.clientPicker));
    connect(&main, &panes::MainWindowAccess::projectsListed, this, fillWith(project.projectPicker));
    connect(project.projectPicker, &QComboBox::activated, this, [this] { m_main.act([this] { fetchProject(); }); });
    platform::Dialogs &dialogs = main.services().dialogs;
    platform::offerExport(project.clientPicker, dialogs, QStringLiteral("Opdrachtgevers"), QStringLiteral("Opdrachtgever"));
    platform::offerExport(project.consultantPicker, dialogs, QStringLiteral("Consultants"), QStringLiteral("Consultant"));
    platform::offerExport(project.projectPicker, dialogs, QStringLiteral("Projecten"), QStringLiteral("Projectcode"));

    for (QWidget *box : {project.clientNumberBox, project.consultantNumberBox, project.startDateBox, project.endDateBox,
                         project.contractDurationBox, project.purchaseDayRateBox, project.salesDayRateBox})
        box->installEventFilter(this);
    for (QLineEdit *box : {project.contractDurationBox, project.purchaseDayRateBox, project.salesDayRateBox})
        platform::restrictTyping(box, numericKeyAllowed);
}

bool RegistrationController::eventFilter(QObject *watched, QEvent *event)
{
    auto &p = m_project;
    if (event->type() == QEvent::FocusIn) {
        // The number boxes change only by choosing from the lists beside them.
        if (watched == p.clientNumberBox)
            p.clientPicker->setFocus();
        else if (watched == p.consultantNumberBox)
            p.consultantPicker->setFocus();
        else if (watched == p.startDateBox || watched == p.endDateBox)
            m_main.act([this, start = watched == p.startDateBox] { pickPlanningDate(start); });
        return false;
    }
    if (event->type() == QEvent::KeyPress
        && (watched == p.contractDurationBox || watched == p.purchaseDayRateBox || watched == p.salesDayRateBox)) {
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
    auto t = [](const QLineEdit *box) { return box->text(); };

    const QString summary = consultantSummary({t(e.titleBox), t(e.initialsBox), t(e.surnamePrefixBox), t(e.surnameBox),
                                               t(e.addressBox), t(e.postcodeBox), t(e.townBox)});
    if (!confirmed(summary, QStringLiteral("Bevestigen consultant aanmaken"), QStringLiteral("De consultant is NIET aangemaakt")))
        return;
    const Credentials credentials =
        deriveCredentials(t(e.surnameBox), t(e.addressBox), t(e.postcodeBox), t(e.businessPhoneBox));
    const QString number = insertNumberedRow(
        {QStringLiteral("TALVERO_consultants"), QStringLiteral("consultantnummer"), consultantNumberInUse},
        [&](const QString &n) -> Fields {
            return {{"NaamOrganisatie", t(e.organisationBox)},
                    {"consultantnummer", n},
                    {"Titel1", t(e.titleBox)},
                    {"voornaam", t(e.initialsBox)},
                    {"tussenvoegsel", t(e.surnamePrefixBox)},
                    {"naam", t(e.surnameBox)},
                    {"Titel2", t(e.nameSuffixBox)},
                    {"Roepnaam", t(e.callingNameBox)},
                    {"Functie", t(e.jobTitleBox)},
                    {"adres", t(e.addressBox)},
                    {"postcode", t(e.postcodeBox)},
                    {"woonplaats", t(e.townBox)},
                    {"WEBSITE", t(e.websiteBox)},
                    {"TELzakelijk", t(e.businessPhoneBox)},
                    {"TELprive", t(e.privatePhoneBox)},
                    {"TELmobiel", t(e.mobilePhoneBox)},
                    {"EMAILzakelijk", t(e.businessEmailBox)},
                    {"EMAILprive", t(e.privateEmailBox)},
                    {"LOGIN", credentials.login},
                    {"PASWOORD", credentials.password},
                    {"BANKnaam", t(e.bankNameBox)},
                    {"BANKnummer", t(e.bankAccountBox)},
                    {"BTWnummer", t(e.vatNumberBox)},
                    {"KVKnummer", t(e.chamberOfCommerceBox)},
                    {"VARverklaring", t(e.employmentDeclarationBox)},
                    {"isAANGEMELD", kNeverSignedIn},
                    {"isAFGEMELD", kNeverSignedIn},
                    {"isONLINE", kOffline}};
        });
    reportStored([this] { m_main.rebuildConsultantLists(); },
                 consultantResult(number, t(e.surnameBox), credentials));
}

void RegistrationController::createClient()
{
    auto &e = m_client;
    auto t = [](const QLineEdit *box) { return box->text(); };

    const QString summary = clientSummary({t(e.organisationBox), t(e.departmentBox), t(e.titleBox), t(e.initialsBox),
                                           t(e.surnamePrefixBox), t(e.surnameBox), t(e.addressBox), t(e.postcodeBox),
                                           t(e.townBox)});
    if (!confirmed(summary, QStringLiteral("Bevestigen opdrachtgever aanmaken"), QStringLiteral("De opdrachtgever is NIET aangemaakt")))
        return;
    const Credentials credentials =
        deriveCredentials(t(e.surnameBox), t(e.addressBox), t(e.postcodeBox), t(e.businessPhoneBox));
    const QString number = insertNumberedRow(
        {QStringLiteral("TALVERO_opdrachtgevers"), QStringLiteral("Opdrachtgevernummer"), clientNumberInUse},
        [&](const QString &n) -> Fields {
            return {{"Opdrachtgevernummer", n},
                    {"Bedrijf", clientCompany(t(e.organisationBox), t(e.departmentBox))},
                    {"Opdrachtnaam", t(e.assignmentBox)},
                    {"Titel1", t(e.titleBox)},
                    {"voornaam", t(e.initialsBox)},
                    {"tussenvoegsel", t(e.surnamePrefixBox)},
                    {"naam", t(e.surnameBox)},
                    {"Titel2", t(e.nameSuffixBox)},
                    {"Roepnaam", t(e.callingNameBox)},
                    {"Functie", t(e.jobTitleBox)},
                    {"Secretaresse", t(e.secretaryBox)},
                    {"TELsecretaresse", t(e.secretaryPhoneBox)},
                    {"EMAILsecretaresse", t(e.secretaryEmailBox)},
                    {"adres", t(e.addressBox)},
                    {"Factuuradres", t(e.invoiceAddressBox)},
                    {"postcode", t(e.postcodeBox)},
                    {"woonplaats", t(e.townBox)},
                    {"WEBSITE", t(e.websiteBox)},
                    {"TELzakelijk", t(e.businessPhoneBox)},
                    {"TELprive", t(e.privatePhoneBox)},
                    {"TELmobiel", t(e.mobilePhoneBox)},
                    {"EMAILzakelijk", t(e.businessEmailBox)},
                    {"EMAILprive", t(e.privateEmailBox)},
                    {"BANKnaam", t(e.bankNameBox)},
                    {"BANKnummer", t(e.bankAccountBox)},
                    {"BTWnummer", t(e.vatNumberBox)},
                    {"KVKnummer", t(e.chamberOfCommerceBox)},
                    {"LOGIN", credentials.login},
                    {"PASWOORD", credentials.password},
                    {"isAANGEMELD", kNeverSignedIn},
                    {"isAFGEMELD", kNeverSignedIn},
                    {"isONLINE", kOffline}};
        });
    reportStored([this] { m_main.rebuildClientLists(); }, clientResult(number, t(e.surnameBox), credentials));
}

void RegistrationController::composeProjectCode()
{
    auto &p = m_project;
    p.projectCodeBox->setText(
        projectCode(p.consultantNumberBox->text(), p.projectNameBox->text(), p.clientNumberBox->text()));
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
    const QString picked = planningDateText(p.calendar->selectedDate());
    QLineEdit *own = start ? p.startDateBox : p.endDateBox;
    const QString other = (start ? p.endDateBox : p.startDateBox)->text();
    // The calendar has the focus before any box opens, so that closing the box gives it
    // back to the calendar and not to the date box.
    p.calendar->setFocus();
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
    const QString code = p.projectCodeBox->text();

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

    const QString summary = projectSummary(p.clientPicker->currentText(), p.consultantPicker->currentText(),
                                           p.projectNameBox->text(), platform::boxText(p.descriptionBox));
    if (!confirmed(summary, QStringLiteral("Bevestigen project aanmaken"), QStringLiteral("Het project is NIET aangemaakt")))
        return;

    const Fields fields = {{"Projectnaam", p.projectNameBox->text()},
                           {"ProjectOmschrijving", platform::boxText(p.descriptionBox)},
                           {"Projectcode", code},
                           {"Opdrachtgevernummer", p.clientNumberBox->text()},
                           {"consultantnummer", p.consultantNumberBox->text()},
                           {"TijdsplanningDATUMvan", p.startDateBox->text()},
                           {"TijdsplanningDATUMtm", p.endDateBox->text()},
                           {"ProjectduurPer8uur", p.contractDurationBox->text()},
                           {"InkoopDagtariefOpdrachtgever", p.purchaseDayRateBox->text()},
                           {"VerkoopDagtariefConsultant", p.salesDayRateBox->text()},
                           {"CommentaarCONSULTANT", platform::boxText(p.consultantMessageBox)},
                           {"CommentaarADMIN", QStringLiteral("GEEN")},
                           {"AFSLUITEN", QStringLiteral("Nee")}};
    // Another workstation may have stored the code since this window last read the table.
    if (!insertProjectUnlessTaken(code, fields)) {
        dialogs.inform(projectExists(code));
        return;
    }
    reportStored(
        [this] {
            m_main.rebuildProjectLists(panes::ProjectListChange::Created);
            m_main.describeCurrentProject();
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
    m_main.rebuildProjectLists(panes::ProjectListChange::Deleted);
    m_main.describeCurrentProject();
    dialogs.inform(QStringLiteral("Het project is verwijderd"));
}

void RegistrationController::fetchProject()
{
    auto &entry = m_project;
    data::BoundSource &projects = m_main.projectSource();
    projects.findWhere(u"Projectcode", entry.projectPicker->currentText());
    const panes::ProjectParties parties = m_main.describeCurrentProject();

    // Copied whole, whatever the entry boxes let the administrator type; the boxes that
    // take fewer characters than the pane's cut the value as they did.
    const auto value = [&projects](QStringView column) { return projects.field(column); };
    entry.projectNameBox->setText(value(u"PROJECTNAAM"));
    entry.projectCodeBox->setText(value(u"Projectcode"));
    platform::setBoxText(entry.descriptionBox, value(u"ProjectOmschrijving"));
    entry.clientNumberBox->setText(value(u"Opdrachtgevernummer"));
    entry.clientPicker->setEditText(value(u"Opdrachtgevernummer") + u' ' + parties.clientCompany);
    entry.consultantNumberBox->setText(value(u"Consultantnummer"));
    entry.consultantPicker->setEditText(value(u"Consultantnummer") + u' ' + parties.consultantName);
    entry.startDateBox->setText(value(u"TijdsplanningDATUMvan"));
    entry.endDateBox->setText(value(u"TijdsplanningDATUMtm"));
    entry.contractDurationBox->setText(value(u"ProjectduurPer8uur"));
    entry.purchaseDayRateBox->setText(value(u"InkoopDagtariefOpdrachtgever"));
    entry.salesDayRateBox->setText(value(u"VerkoopDagtariefConsultant"));
    platform::setBoxText(entry.consultantMessageBox, value(u"CommentaarCONSULTANT"));
}

bool RegistrationController::confirmed(const QString &summary, const QString &title, const QString &declined)
{
    auto &dialogs = m_main.services().dialogs;
    if (dialogs.message(summary, title, platform::Icon::Question, platform::Buttons::YesNo) == platform::Answer::Yes)
        return true;
    dialogs.inform(declined);
    return false;
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
