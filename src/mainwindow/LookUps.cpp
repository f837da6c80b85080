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
    on(ui.consultantPane->Combo1, &LookUps::lookUpConsultant);
    on(ui.clientPane->Combo2, &LookUps::lookUpClient);
    on(ui.projectPane->Combo3, &LookUps::lookUpProject);
    on(ui.projectEntry->Combo6, &LookUps::fetchProject);
}

void LookUps::lookUpConsultant()
{
    auto *pane = m_ui.consultantPane;
    m_ui.Adodc1->find(QStringLiteral("consultantnummer = '") + pane->Combo1->currentText().left(4) + u'\'');
    pane->Combo1->setEditText(data::consultantListEntry(text(pane->Text2), text(pane->Text3), text(pane->Text4),
                                                        text(pane->Text5), text(pane->Text6)));
}

void LookUps::lookUpClient()
{
    auto *pane = m_ui.clientPane;
    m_ui.Adodc2->find(QStringLiteral("opdrachtgevernummer = '") + pane->Combo2->currentText().left(4) + u'\'');
    pane->Combo2->setEditText(data::clientListEntry(text(pane->Text15), text(pane->Text16)));
}

void LookUps::lookUpProject()
{
    auto *pane = m_ui.projectPane;
    m_ui.Adodc3->find(QStringLiteral("Projectcode = '") + pane->Combo3->currentText() + u'\'');
    pane->Combo3->setEditText(text(pane->Text31));
    m_ui.Adodc2->find(QStringLiteral("opdrachtgevernummer = '") + text(pane->Text32) + u'\'');
    pane->Text50->setText(text(m_ui.clientPane->Text16));
    m_ui.Adodc1->find(QStringLiteral("consultantnummer = '") + text(pane->Text34) + u'\'');
    pane->Text51->setText(text(m_ui.consultantPane->Text40));
}

void LookUps::fetchProject()
{
    auto *pane = m_ui.projectPane;
    auto *entry = m_ui.projectEntry;
    m_ui.Adodc3->find(QStringLiteral("Projectcode = '") + entry->Combo6->currentText() + u'\'');
    m_lists.describeProjectKeepingPanes();

    // Copied whole, whatever the entry boxes let the administrator type.
    entry->Text54->setText(text(pane->Text30));
    entry->Text55->setText(text(pane->Text31));
    platform::setBoxText(entry->Text68, text(pane->Text67));
    entry->Text52->setText(text(pane->Text32));
    entry->Combo4->setEditText(text(pane->Text32) + u' ' + text(pane->Text50));
    entry->Text53->setText(text(pane->Text34));
    entry->Combo5->setEditText(text(pane->Text34) + u' ' + text(pane->Text51));
    entry->Text56->setText(text(pane->Text35));
    entry->Text57->setText(text(pane->Text36));
    entry->Text58->setText(text(pane->Text37));
    entry->Text59->setText(text(pane->Text38));
    entry->Text60->setText(text(pane->Text63));
    platform::setBoxText(entry->Text61, text(pane->Text42));
}

} // namespace talveros::mainwindow
