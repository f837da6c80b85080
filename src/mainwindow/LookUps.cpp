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
    on(ui.projectEntry->Combo6, &LookUps::fetchProject);
}

void LookUps::lookUpConsultant()
{
    data::BoundSource &consultants = *m_ui.Adodc1;
    consultants.findWhere(u"consultantnummer", m_ui.consultantPane->lookupList->currentText().left(4));
    m_ui.consultantPane->lookupList->setEditText(data::consultantListEntry(
        consultants.field(u"Consultantnummer"), consultants.field(u"Titel1"), consultants.field(u"voornaam"),
        consultants.field(u"tussenvoegsel"), consultants.field(u"naam")));
}

void LookUps::lookUpClient()
{
    data::BoundSource &clients = *m_ui.Adodc2;
    clients.findWhere(u"opdrachtgevernummer", m_ui.clientPane->lookupList->currentText().left(4));
    m_ui.clientPane->lookupList->setEditText(
        data::clientListEntry(clients.field(u"opdrachtgevernummer"), clients.field(u"Bedrijf")));
}

void LookUps::lookUpProject()
{
    // The client and consultant panes follow the project here, unlike a fetch.
    auto *pane = m_ui.projectPane;
    data::BoundSource &projects = *m_ui.Adodc3;
    projects.findWhere(u"Projectcode", pane->lookupList->currentText());
    pane->lookupList->setEditText(projects.field(u"Projectcode"));
    m_ui.Adodc2->findWhere(u"opdrachtgevernummer", projects.field(u"Opdrachtgevernummer"));
    pane->clientCompanyBox->setText(m_ui.Adodc2->field(u"Bedrijf"));
    m_ui.Adodc1->findWhere(u"consultantnummer", projects.field(u"Consultantnummer"));
    pane->consultantBox->setText(m_ui.Adodc1->field(u"NaamOrganisatie"));
}

void LookUps::fetchProject()
{
    auto *pane = m_ui.projectPane;
    auto *entry = m_ui.projectEntry;
    data::BoundSource &projects = *m_ui.Adodc3;
    projects.findWhere(u"Projectcode", entry->Combo6->currentText());
    m_lists.describeProjectKeepingPanes();

    // Copied whole, whatever the entry boxes let the administrator type; the boxes that
    // take fewer characters than the pane's cut the value as they did.
    const auto value = [&projects](QStringView column) { return projects.field(column); };
    entry->Text54->setText(value(u"PROJECTNAAM"));
    entry->Text55->setText(value(u"Projectcode"));
    platform::setBoxText(entry->Text68, value(u"ProjectOmschrijving"));
    entry->Text52->setText(value(u"Opdrachtgevernummer"));
    entry->Combo4->setEditText(value(u"Opdrachtgevernummer") + u' ' + text(pane->clientCompanyBox));
    entry->Text53->setText(value(u"Consultantnummer"));
    entry->Combo5->setEditText(value(u"Consultantnummer") + u' ' + text(pane->consultantBox));
    entry->Text56->setText(value(u"TijdsplanningDATUMvan"));
    entry->Text57->setText(value(u"TijdsplanningDATUMtm"));
    entry->Text58->setText(value(u"ProjectduurPer8uur"));
    entry->Text59->setText(value(u"InkoopDagtariefOpdrachtgever"));
    entry->Text60->setText(value(u"VerkoopDagtariefConsultant"));
    platform::setBoxText(entry->Text61, value(u"CommentaarCONSULTANT"));
}

} // namespace talveros::mainwindow
