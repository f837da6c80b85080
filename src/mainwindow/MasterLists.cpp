#include "mainwindow/MasterLists.h"

#include "data/TextForms.h"
#include "platform/TextBox.h"

#include <QStringListModel>

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

// The lists read straight from the rows: walking the panes through thousands of rows
// would repaint every bound box at every row for nothing.
void MasterLists::fillConsultantLists()
{
    const data::BoundSource &source = *m_ui.Adodc1;
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
    fill(m_ui.consultantPane->Combo1, consultants, true);
    fill(m_ui.projectEntry->Combo5, consultants, false);
    m_ui.consultantPane->Text48->setText(data::counterText(consultants.size()));
}

void MasterLists::fillClientLists()
{
    const data::BoundSource &source = *m_ui.Adodc2;
    QStringList clients;
    const int number = source.columnIndex(u"opdrachtgevernummer"), company = source.columnIndex(u"Bedrijf");
    clients.reserve(qsizetype(source.rowCount()));
    for (size_t row = 0; row < source.rowCount(); ++row)
        clients << data::clientListEntry(source.fieldAt(row, number), source.fieldAt(row, company));
    fill(m_ui.clientPane->Combo2, clients, true);
    fill(m_ui.projectEntry->Combo4, clients, false);
    m_ui.clientPane->Text47->setText(data::counterText(clients.size()));
}

void MasterLists::fillProjectLists()
{
    const data::BoundSource &source = *m_ui.Adodc3;
    QStringList projects;
    const int code = source.columnIndex(u"Projectcode");
    projects.reserve(qsizetype(source.rowCount()));
    for (size_t row = 0; row < source.rowCount(); ++row)
        projects << source.fieldAt(row, code);
    fill(m_ui.projectPane->Combo3, projects, true);
    fill(m_ui.projectEntry->Combo6, projects, false);
    m_ui.projectPane->Text49->setText(data::counterText(projects.size()));
}

void MasterLists::rebuildConsultantLists()
{
    m_ui.Adodc1->refresh();
    fillConsultantLists();
    m_ui.Adodc1->moveFirst();
}

void MasterLists::rebuildClientLists()
{
    m_ui.Adodc2->refresh();
    fillClientLists();
    m_ui.Adodc2->moveFirst();
}

void MasterLists::rebuildProjectLists()
{
    m_ui.Adodc3->refresh();
    fillProjectLists();
    m_ui.Adodc3->moveFirst();
}

void MasterLists::describeFirstProject()
{
    m_ui.Adodc1->moveFirst();
    m_ui.Adodc2->moveFirst();
    m_ui.Adodc3->moveFirst();
    describeProjectKeepingPanes();
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
