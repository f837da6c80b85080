#include "mainwindow/LookUps.h"

#include "data/TextForms.h"
#include "platform/Action.h"
#include "platform/ListExport.h"

namespace talveros::mainwindow {

LookUps::LookUps(const Sources &sources, const Panes &panes, platform::Dialogs &dialogs, QObject *parent)
    : QObject(parent), m_sources(sources), m_panes(panes)
{
    const auto on = [this, &dialogs](QComboBox *combo, void (LookUps::*action)()) {
        connect(combo, &QComboBox::activated, this,
                [this, &dialogs, action] { platform::runAction(dialogs, [this, action] { (this->*action)(); }); });
    };
    on(panes.consultants->lookupList, &LookUps::lookUpConsultant);
    on(panes.clients->lookupList, &LookUps::lookUpClient);
    on(panes.projects->lookupList, &LookUps::lookUpProject);

    platform::offerExport(panes.consultants->lookupList, dialogs, QStringLiteral("Consultants"),
                          QStringLiteral("Consultant"));
    platform::offerExport(panes.clients->lookupList, dialogs, QStringLiteral("Opdrachtgevers"),
                          QStringLiteral("Opdrachtgever"));
    platform::offerExport(panes.projects->lookupList, dialogs, QStringLiteral("Projecten"), QStringLiteral("Projectcode"));
}

void LookUps::lookUpConsultant()
{
    data::BoundSource &consultants = *m_sources.consultants;
    QComboBox *lookup = m_panes.consultants->lookupList;
    consultants.findWhere(u"consultantnummer", lookup->currentText().left(4));
    lookup->setEditText(data::consultantListEntry(consultants.field(u"Consultantnummer"), consultants.field(u"Titel1"),
                                                  consultants.field(u"voornaam"), consultants.field(u"tussenvoegsel"),
                                                  consultants.field(u"naam")));
}

void LookUps::lookUpClient()
{
    data::BoundSource &clients = *m_sources.clients;
    QComboBox *lookup = m_panes.clients->lookupList;
    clients.findWhere(u"opdrachtgevernummer", lookup->currentText().left(4));
    lookup->setEditText(data::clientListEntry(clients.field(u"opdrachtgevernummer"), clients.field(u"Bedrijf")));
}

void LookUps::lookUpProject()
{
    // The client and consultant panes follow the project here, unlike a fetch.
    panes::ProjectPane *pane = m_panes.projects;
    data::BoundSource &projects = *m_sources.projects;
    projects.findWhere(u"Projectcode", pane->lookupList->currentText());
    pane->lookupList->setEditText(projects.field(u"Projectcode"));
    m_sources.clients->findWhere(u"opdrachtgevernummer", projects.field(u"Opdrachtgevernummer"));
    pane->clientCompanyBox->setText(m_sources.clients->field(u"Bedrijf"));
    m_sources.consultants->findWhere(u"consultantnummer", projects.field(u"Consultantnummer"));
    pane->consultantBox->setText(m_sources.consultants->field(u"NaamOrganisatie"));
}

} // namespace talveros::mainwindow
