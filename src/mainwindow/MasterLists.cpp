#include "mainwindow/MasterLists.h"

#include "data/SideBySide.h"
#include "data/TextForms.h"
#include "platform/ListBox.h"
#include "platform/TextBox.h"

namespace talveros::mainwindow {

namespace {

// Keeps the list's own text: a list shows its caption until something is chosen.
void fill(QComboBox *combo, const QStringList &entries) { platform::setListEntries(combo, entries, combo->currentText()); }

QString text(const QWidget *box) { return platform::boxText(box); }

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
    fill(m_ui.consultantPane->Combo1, e.sorted);
    fill(m_ui.projectEntry->Combo5, e.asRead);
    m_ui.consultantPane->Text48->setText(data::counterText(e.asRead.size()));
}

void MasterLists::showClientLists(const Entries &e)
{
    fill(m_ui.clientPane->Combo2, e.sorted);
    fill(m_ui.projectEntry->Combo4, e.asRead);
    m_ui.clientPane->Text47->setText(data::counterText(e.asRead.size()));
}

void MasterLists::showProjectLists(const Entries &e)
{
    fill(m_ui.projectPane->Combo3, e.sorted);
    fill(m_ui.projectEntry->Combo6, e.asRead);
    m_ui.projectPane->Text49->setText(data::counterText(e.asRead.size()));
}

void MasterLists::fillConsultantLists() { showConsultantLists(consultantEntries(*m_ui.Adodc1)); }
void MasterLists::fillClientLists() { showClientLists(clientEntries(*m_ui.Adodc2)); }
void MasterLists::fillProjectLists() { showProjectLists(projectEntries(*m_ui.Adodc3)); }

void MasterLists::fillAllLists()
{
    // The three kinds' entries are made side by side; the lists are shown in the same
    // order, and up to the same point, as filled one after another.
    auto entries = data::readSideBySide<data::BoundSource, Entries>({{consultantEntries, m_ui.Adodc1},
                                                                     {clientEntries, m_ui.Adodc2},
                                                                     {projectEntries, m_ui.Adodc3}});
    showConsultantLists(entries[0].take());
    showClientLists(entries[1].take());
    showProjectLists(entries[2].take());
}

void MasterLists::rebuildConsultantLists()
{
    m_ui.Adodc1->refresh();
    fillConsultantLists();
}

void MasterLists::rebuildClientLists()
{
    m_ui.Adodc2->refresh();
    fillClientLists();
}

void MasterLists::rebuildProjectLists()
{
    m_ui.Adodc3->refresh();
    fillProjectLists();
}

void MasterLists::describeProjectKeepingPanes()
{
    auto *consultant = m_ui.consultantPane;
    auto *client = m_ui.clientPane;
    auto *project = m_ui.projectPane;
    const QString shownClient = QStringLiteral("opdrachtgevernummer = '") + text(client->Text15) + u'\'';
    m_ui.Adodc2->find(QStringLiteral("opdrachtgevernummer = '") + text(project->Text32) + u'\'');
    project->Text50->setText(text(client->Text16));
    m_ui.Adodc2->find(shownClient);

    const QString shownConsultant = QStringLiteral("Consultantnummer = '") + text(consultant->Text2) + u'\'';
    m_ui.Adodc1->find(QStringLiteral("Consultantnummer = '") + text(project->Text34) + u'\'');
    project->Text51->setText(data::personName(text(consultant->Text3), text(consultant->Text4),
                                              text(consultant->Text5), text(consultant->Text6)));
    m_ui.Adodc1->find(shownConsultant);
}

} // namespace talveros::mainwindow
