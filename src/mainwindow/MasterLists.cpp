#include "mainwindow/MasterLists.h"

#include "data/SideBySide.h"
#include "data/TextForms.h"
#include "platform/ListBox.h"
#include "platform/TextBox.h"

namespace talveros::mainwindow {

namespace {

// Keeps the list's own text: a list shows its caption until something is chosen.
void fill(QComboBox *combo, const QStringList &entries) { platform::setListEntries(combo, entries, combo->currentText()); }

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

void MasterLists::showConsultantLists(const Entries &e)
{
    fill(m_ui.consultantPane->lookupList, e.sorted);
    fill(m_ui.projectEntry->consultantPicker, e.asRead);
    m_ui.consultantPane->counter->setText(data::counterText(e.asRead.size()));
}

void MasterLists::showClientLists(const Entries &e)
{
    fill(m_ui.clientPane->lookupList, e.sorted);
    fill(m_ui.projectEntry->clientPicker, e.asRead);
    m_ui.clientPane->counter->setText(data::counterText(e.asRead.size()));
}

void MasterLists::showProjectLists(const Entries &e)
{
    fill(m_ui.projectPane->lookupList, e.sorted);
    fill(m_ui.projectEntry->projectPicker, e.asRead);
    m_ui.projectPane->counter->setText(data::counterText(e.asRead.size()));
}

void MasterLists::fillConsultantLists() { showConsultantLists(consultantEntries(*m_ui.consultantSource)); }
void MasterLists::fillClientLists() { showClientLists(clientEntries(*m_ui.clientSource)); }
void MasterLists::fillProjectLists() { showProjectLists(projectEntries(*m_ui.projectSource)); }

void MasterLists::fillAllLists()
{
    // The three kinds' entries are made side by side; the lists are shown in the same
    // order, and up to the same point, as filled one after another.
    auto entries = data::readSideBySide<data::BoundSource, Entries>({{consultantEntries, m_ui.consultantSource},
                                                                     {clientEntries, m_ui.clientSource},
                                                                     {projectEntries, m_ui.projectSource}});
    showConsultantLists(entries[0].take());
    showClientLists(entries[1].take());
    showProjectLists(entries[2].take());
}

void MasterLists::rebuildConsultantLists()
{
    m_ui.consultantSource->refresh();
    fillConsultantLists();
}

void MasterLists::rebuildClientLists()
{
    m_ui.clientSource->refresh();
    fillClientLists();
}

void MasterLists::rebuildProjectLists()
{
    m_ui.projectSource->refresh();
    fillProjectLists();
}

void MasterLists::describeProjectKeepingPanes()
{
    // Looked up in the rows, so the client and consultant panes stay on the very row they
    // showed (also when their number repeats) and have nothing to write or repaint; a
    // number that is nowhere leaves the parts empty, as a search past the last row does.
    const data::BoundSource &projects = *m_ui.projectSource;
    const data::BoundSource &clients = *m_ui.clientSource;
    const data::BoundSource &consultants = *m_ui.consultantSource;
    const size_t client = clients.rowWhere(u"opdrachtgevernummer", projects.field(u"Opdrachtgevernummer"));
    m_ui.projectPane->clientCompanyBox->setText(clients.fieldAt(client, clients.columnIndex(u"Bedrijf")));

    const size_t consultant = consultants.rowWhere(u"Consultantnummer", projects.field(u"Consultantnummer"));
    const auto part = [&consultants, consultant](QStringView column) {
        return consultants.fieldAt(consultant, consultants.columnIndex(column));
    };
    m_ui.projectPane->consultantBox->setText(
        data::personName(part(u"Titel1"), part(u"voornaam"), part(u"tussenvoegsel"), part(u"naam")));
}

} // namespace talveros::mainwindow
