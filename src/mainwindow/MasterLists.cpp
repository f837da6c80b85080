#include "mainwindow/MasterLists.h"

#include "data/SideBySide.h"
#include "data/TextForms.h"
#include "platform/ListBox.h"
#include "platform/TextBox.h"

namespace talveros::mainwindow {

namespace {

// Keeps the list's own text: a list shows its caption until something is chosen.
void fill(QComboBox *combo, const QStringList &entries)
{
    platform::setListEntries(combo, entries, combo->currentText());
}

} // namespace

// The lists read straight from the rows: walking the panes through thousands of rows
// would repaint every bound box at every row for nothing. Each list is made in two
// steps, its entries (plain text work, which may run beside the others) and showing
// them.
MasterLists::Entries MasterLists::consultantEntries(const data::BoundSource &source)
{
    QStringList consultants;
    const int number = source.columnIndex(u"Consultantnummer"), title = source.columnIndex(u"Titel1"),
              firstName = source.columnIndex(u"voornaam"), prefix = source.columnIndex(u"tussenvoegsel"),
              surname = source.columnIndex(u"naam");
    consultants.reserve(qsizetype(source.rowCount()));
    for (size_t row = 0; row < source.rowCount(); ++row) {
        consultants << data::consultantListEntry(source.fieldAt(row, number), source.fieldAt(row, title),
                                                 source.fieldAt(row, firstName), source.fieldAt(row, prefix),
                                                 source.fieldAt(row, surname));
    }
    return {data::sortedTexts(consultants), consultants};
}

MasterLists::Entries MasterLists::clientEntries(const data::BoundSource &source)
{
    QStringList clients;
    const int number = source.columnIndex(u"opdrachtgevernummer"), company = source.columnIndex(u"Bedrijf");
    clients.reserve(qsizetype(source.rowCount()));
    for (size_t row = 0; row < source.rowCount(); ++row)
        clients << data::clientListEntry(source.fieldAt(row, number), source.fieldAt(row, company));
    return {data::sortedTexts(clients), clients};
}

MasterLists::Entries MasterLists::projectEntries(const data::BoundSource &source)
{
    QStringList projects;
    const int code = source.columnIndex(u"Projectcode");
    projects.reserve(qsizetype(source.rowCount()));
    for (size_t row = 0; row < source.rowCount(); ++row)
        projects << source.fieldAt(row, code);
    return {data::sortedTexts(projects), projects};
}

QStringList MasterLists::show(QComboBox *lookup, QLineEdit *counter, Entries entries)
{
    fill(lookup, entries.sorted);
    counter->setText(data::counterText(entries.asRead.size()));
    return std::move(entries.asRead);
}

QStringList MasterLists::fillConsultantLists()
{
    return show(m_panes.consultants->lookupList, m_panes.consultants->counter,
                consultantEntries(*m_sources.consultants));
}

QStringList MasterLists::fillClientLists()
{
    return show(m_panes.clients->lookupList, m_panes.clients->counter, clientEntries(*m_sources.clients));
}

QStringList MasterLists::fillProjectLists()
{
    return show(m_panes.projects->lookupList, m_panes.projects->counter, projectEntries(*m_sources.projects));
}

MasterLists::Listed MasterLists::fillAllLists()
{
    // The three kinds' entries are made side by side; the lists are shown in the same
    // order, and up to the same point, as filled one after another.
    auto entries = data::readSideBySide<data::BoundSource, Entries>({{consultantEntries, m_sources.consultants},
                                                                     {clientEntries, m_sources.clients},
                                                                     {projectEntries, m_sources.projects}});
    Listed listed;
    listed.consultants = show(m_panes.consultants->lookupList, m_panes.consultants->counter, entries[0].take());
    listed.clients = show(m_panes.clients->lookupList, m_panes.clients->counter, entries[1].take());
    listed.projects = show(m_panes.projects->lookupList, m_panes.projects->counter, entries[2].take());
    return listed;
}

QStringList MasterLists::rebuildConsultantLists()
{
    m_sources.consultants->refresh();
    return fillConsultantLists();
}

QStringList MasterLists::rebuildClientLists()
{
    m_sources.clients->refresh();
    return fillClientLists();
}

QStringList MasterLists::rebuildProjectLists()
{
    m_sources.projects->refresh();
    return fillProjectLists();
}

panes::ProjectParties MasterLists::describeProjectKeepingPanes()
{
    // Looked up in the rows, so the client and consultant panes stay on the very row they
    // showed (also when their number repeats) and have nothing to write or repaint; a
    // number that is nowhere leaves the parts empty, as a search past the last row does.
    const data::BoundSource &projects = *m_sources.projects;
    const data::BoundSource &clients = *m_sources.clients;
    const data::BoundSource &consultants = *m_sources.consultants;
    panes::ProjectParties parties;
    const size_t client = clients.rowWhere(u"opdrachtgevernummer", projects.field(u"Opdrachtgevernummer"));
    parties.clientCompany = clients.fieldAt(client, clients.columnIndex(u"Bedrijf"));
    const size_t consultant = consultants.rowWhere(u"Consultantnummer", projects.field(u"Consultantnummer"));
    const auto part = [&consultants, consultant](QStringView column) {
        return consultants.fieldAt(consultant, consultants.columnIndex(column));
    };
    parties.consultantName =
        data::personName(part(u"Titel1"), part(u"voornaam"), part(u"tussenvoegsel"), part(u"naam"));
    m_panes.projects->clientCompanyBox->setText(parties.clientCompany);
    m_panes.projects->consultantBox->setText(parties.consultantName);
    return parties;
}

} // namespace talveros::mainwindow
