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
data::SortedTexts MasterLists::consultantEntries(const EntriesFrom &from)
{
    const data::BoundSource &source = *from.rows;
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
    return from.before->with(std::move(consultants));
}

data::SortedTexts MasterLists::clientEntries(const EntriesFrom &from)
{
    const data::BoundSource &source = *from.rows;
    QStringList clients;
    const int number = source.columnIndex(u"opdrachtgevernummer"), company = source.columnIndex(u"Bedrijf");
    clients.reserve(qsizetype(source.rowCount()));
    for (size_t row = 0; row < source.rowCount(); ++row)
        clients << data::clientListEntry(source.fieldAt(row, number), source.fieldAt(row, company));
    return from.before->with(std::move(clients));
}

data::SortedTexts MasterLists::projectEntries(const EntriesFrom &from)
{
    const data::BoundSource &source = *from.rows;
    QStringList projects;
    const int code = source.columnIndex(u"Projectcode");
    projects.reserve(qsizetype(source.rowCount()));
    for (size_t row = 0; row < source.rowCount(); ++row)
        projects << source.fieldAt(row, code);
    return from.before->with(std::move(projects));
}

QStringList MasterLists::show(QComboBox *lookup, QLineEdit *counter, data::SortedTexts &kept, data::SortedTexts entries)
{
    kept = std::move(entries);
    fill(lookup, kept.sorted());
    counter->setText(data::counterText(kept.asGiven().size()));
    return kept.asGiven();
}

QStringList MasterLists::fillConsultantLists()
{
    return show(m_panes.consultants->lookupList, m_panes.consultants->counter, m_consultantEntries,
                consultantEntries({m_sources.consultants, &m_consultantEntries}));
}

QStringList MasterLists::fillClientLists()
{
    return show(m_panes.clients->lookupList, m_panes.clients->counter, m_clientEntries,
                clientEntries({m_sources.clients, &m_clientEntries}));
}

QStringList MasterLists::fillProjectLists()
{
    return show(m_panes.projects->lookupList, m_panes.projects->counter, m_projectEntries,
                projectEntries({m_sources.projects, &m_projectEntries}));
}

MasterLists::Listed MasterLists::fillAllLists()
{
    // The three kinds' entries are made side by side; the lists are shown in the same
    // order, and up to the same point, as filled one after another.
    const EntriesFrom from[] = {{m_sources.consultants, &m_consultantEntries},
                                {m_sources.clients, &m_clientEntries},
                                {m_sources.projects, &m_projectEntries}};
    auto entries = data::readSideBySide<EntriesFrom, data::SortedTexts>(
        {{consultantEntries, &from[0]}, {clientEntries, &from[1]}, {projectEntries, &from[2]}});
    Listed listed;
    listed.consultants =
        show(m_panes.consultants->lookupList, m_panes.consultants->counter, m_consultantEntries, entries[0].take());
    listed.clients = show(m_panes.clients->lookupList, m_panes.clients->counter, m_clientEntries, entries[1].take());
    listed.projects =
        show(m_panes.projects->lookupList, m_panes.projects->counter, m_projectEntries, entries[2].take());
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
