#include "mainwindow/LookUps.h"

#include "data/TextForms.h"
#include "platform/Action.h"
#include "platform/TextBox.h"

namespace talveros::mainwindow {

namespace {
QString text(const QWidget *box) { return platform::boxText(box); }
} // namespace

LookUps::LookUps(Form1Ui &ui, MasterLists &lists, platform::Dialogs &dialogs, QObject *parent)
    : QObject(parent), m_ui(ui), m_lists(lists)
{
    const auto on = [this, &dialogs](QComboBox *combo, void (LookUps::*action)()) {
        connect(combo, &QComboBox::activated, this,
                [this, &dialogs, action] { platform::runAction(dialogs, [this, action] { (this->*action)(); }); });
    };
    on(ui.consultantPane->lookupList, &LookUps::lookUpConsultant);
    on(ui.clientPane->lookupList, &LookUps::lookUpClient);
    on(ui.projectPane->lookupList, &LookUps::lookUpProject);
    on(ui.projectEntry->projectPicker, &LookUps::fetchProject);
}

void LookUps::lookUpConsultant()
{
    data::BoundSource &consultants = *m_ui.consultantSource;
    consultants.findWhere(u"consultantnummer", m_ui.consultantPane->lookupList->currentText().left(4));
    m_ui.consultantPane->lookupList->setEditText(data::consultantListEntry(
        consultants.field(u"Consultantnummer"), consultants.field(u"Titel1"), consultants.field(u"voornaam"),
        consultants.field(u"tussenvoegsel"), consultants.field(u"naam")));
}

void LookUps::lookUpClient()
{
    data::BoundSource &clients = *m_ui.clientSource;
    clients.findWhere(u"opdrachtgevernummer", m_ui.clientPane->lookupList->currentText().left(4));
    m_ui.clientPane->lookupList->setEditText(
        data::clientListEntry(clients.field(u"opdrachtgevernummer"), clients.field(u"Bedrijf")));
}

void LookUps::lookUpProject()
{
    // The client and consultant panes follow the project here, unlike a fetch.
    auto *pane = m_ui.projectPane;
    data::BoundSource &projects = *m_ui.projectSource;
    projects.findWhere(u"Projectcode", pane->lookupList->currentText());
    pane->lookupList->setEditText(projects.field(u"Projectcode"));
    m_ui.clientSource->findWhere(u"opdrachtgevernummer", projects.field(u"Opdrachtgevernummer"));
    pane->clientCompanyBox->setText(m_ui.clientSource->field(u"Bedrijf"));
    m_ui.consultantSource->findWhere(u"consultantnummer", projects.field(u"Consultantnummer"));
    pane->consultantBox->setText(m_ui.consultantSource->field(u"NaamOrganisatie"));
}

void LookUps::fetchProject()
{
    auto *pane = m_ui.projectPane;
    auto *entry = m_ui.projectEntry;
    data::BoundSource &projects = *m_ui.projectSource;
    projects.findWhere(u"Projectcode", entry->projectPicker->currentText());
    m_lists.describeProjectKeepingPanes();

    // Copied whole, whatever the entry boxes let the administrator type; the boxes that
    // take fewer characters than the pane's cut the value as they did.
    const auto value = [&projects](QStringView column) { return projects.field(column); };
    entry->projectNameBox->setText(value(u"PROJECTNAAM"));
    entry->projectCodeBox->setText(value(u"Projectcode"));
    platform::setBoxText(entry->descriptionBox, value(u"ProjectOmschrijving"));
    entry->clientNumberBox->setText(value(u"Opdrachtgevernummer"));
    entry->clientPicker->setEditText(value(u"Opdrachtgevernummer") + u' ' + text(pane->clientCompanyBox));
    entry->consultantNumberBox->setText(value(u"Consultantnummer"));
    entry->consultantPicker->setEditText(value(u"Consultantnummer") + u' ' + text(pane->consultantBox));
    entry->startDateBox->setText(value(u"TijdsplanningDATUMvan"));
    entry->endDateBox->setText(value(u"TijdsplanningDATUMtm"));
    entry->contractDurationBox->setText(value(u"ProjectduurPer8uur"));
    entry->purchaseDayRateBox->setText(value(u"InkoopDagtariefOpdrachtgever"));
    entry->salesDayRateBox->setText(value(u"VerkoopDagtariefConsultant"));
    platform::setBoxText(entry->consultantMessageBox, value(u"CommentaarCONSULTANT"));
}

} // namespace talveros::mainwindow
