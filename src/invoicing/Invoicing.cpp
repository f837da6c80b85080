#include "invoicing/Invoicing.h"

#include "data/BoundSource.h"
#include "data/TextForms.h"
#include "invoicing/DeclarationText.h"
#include "invoicing/Declarations.h"
#include "invoicing/OutstandingChart.h"
#include "panes/MainWindowAccess.h"
#include "platform/Action.h"
#include "platform/Colours.h"
#include "platform/ListBox.h"
#include "platform/ListExport.h"
#include "platform/RowList.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>

#include <array>
#include <vector>

namespace talveros::invoicing {

namespace {

using namespace platform::colours;

void fillPicker(QComboBox *combo, const QStringList &entries) { platform::setListEntries(combo, entries, QString()); }

void setBackground(QListView *list, const QColor &colour)
{
    QPalette p = list->palette();
    p.setColor(QPalette::Base, colour);
    list->setPalette(p);
}

} // namespace

InvoicingController::InvoicingController(InvoicingTab &tab, panes::MainWindowAccess &main, QObject *parent)
    : QObject(parent), m_tab(tab), m_main(main)
{
    connect(m_tab.clientPicker, &QComboBox::activated, this,
            [this] { m_main.act([this] { showClientDeclarations(); }); });
    connect(m_tab.projectNamePicker, &QComboBox::activated, this,
            [this] { m_main.act([this] { showProjectDeclarations(); }); });
    connect(m_tab.paymentOverviewButton, &QPushButton::clicked, this,
            [this] { m_main.act([this] { loadPaymentOverview(); }); });
    for (platform::PictureButton *button : m_tab.invoiceButtons)
        connect(button, &platform::PictureButton::clicked, this, [this] { m_main.act([this] { toggleInvoice(); }); });

    connect(&main, &panes::MainWindowAccess::closingFlipAsked, this, [this] { m_main.act([this] { toggleProjectClosing(); }); });
    connect(&main, &panes::MainWindowAccess::projectListChanged, this, [this](panes::ProjectListChange change) {
        m_main.act([this, change] { fillProjectNames(change == panes::ProjectListChange::Created); });
    });

    // Printing belongs to the invoice text: its context menu and Ctrl+P while it shows.
    m_print = new QAction(QStringLiteral("Afdrukken"), m_tab.invoiceBox);
    m_print->setObjectName(QStringLiteral("actionPrintInvoice"));
    m_print->setShortcut(QKeySequence::Print);
    m_print->setShortcutContext(Qt::WindowShortcut);
    m_tab.invoiceBox->addAction(m_print);
    connect(m_print, &QAction::triggered, this, [this] { m_main.act([this] { printInvoice(); }); });
    m_savePdf = new QAction(QStringLiteral("Opslaan als PDF\u2026"), m_tab.invoiceBox);
    m_savePdf->setObjectName(QStringLiteral("actionSaveInvoicePdf"));
    connect(m_savePdf, &QAction::triggered, this, [this] { m_main.act([this] { saveInvoiceAsPdf(); }); });
    m_tab.invoiceBox->setContextMenuPolicy(Qt::CustomContextMenu);

    // The chart of the outstanding money: in the menus of the overview's four lists,
    // and Ctrl+G anywhere on the tab. It reads the table itself, so it needs no overview
    // loaded first.
    m_chart = new QAction(QStringLiteral("Grafiek\u2026"), &m_tab);
    m_chart->setObjectName(QStringLiteral("actionOutstandingChart"));
    m_chart->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    m_chart->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_tab.addAction(m_chart);
    for (QListView *list : {m_tab.declarationList, m_tab.paidByClientsList, m_tab.unpaidToConsultantsList,
                            m_tab.paidToConsultantsList}) {
        list->setContextMenuPolicy(Qt::ActionsContextMenu);
        list->addAction(m_chart);
    }
    connect(m_chart, &QAction::triggered, this, [this] { m_main.act([this] { showOutstandingChart(); }); });
    connect(m_tab.invoiceBox, &QWidget::customContextMenuRequested, this, &InvoicingController::showInvoiceMenu);

    // Every list and picker of the tab can be taken into a spreadsheet as it is listed.
    platform::Dialogs &dialogs = m_main.services().dialogs;
    const struct {
        QListView *list;
        const char *name;
    } lists[] = {{m_tab.declarationList, "Openstaande opdrachtgeverfacturen"},
                 {m_tab.paidByClientsList, "Betaalde opdrachtgeverfacturen"},
                 {m_tab.unpaidToConsultantsList, "Openstaande consultantfacturen"},
                 {m_tab.paidToConsultantsList, "Betaalde consultantfacturen"}};
    for (const auto &l : lists)
        platform::offerExport(l.list, dialogs, QString::fromUtf8(l.name));
    const struct {
        QComboBox *picker;
        const char *name, *column;
    } pickers[] = {{m_tab.clientPicker, "Opdrachtgevers", "Opdrachtgevernaam"},
                   {m_tab.projectNamePicker, "Projecten", "Projectnaam"},
                   {m_tab.paidClientPicker, "Opdrachtgevers", "Opdrachtgevernaam"},
                   {m_tab.paidClientProjectPicker, "Projecten", "Projectnaam"},
                   {m_tab.unpaidConsultantPicker, "Consultants", "Consultantnaam"},
                   {m_tab.unpaidConsultantProjectPicker, "Projecten", "Projectnaam"},
                   {m_tab.paidConsultantPicker, "Consultants", "Consultantnaam"},
                   {m_tab.paidConsultantProjectPicker, "Projecten", "Projectnaam"}};
    for (const auto &p : pickers)
        platform::offerExport(p.picker, dialogs, QString::fromUtf8(p.name), QString::fromUtf8(p.column));
}

void InvoicingController::fillProjectNames(bool dropRepeats)
{
    const data::BoundSource &projects = m_main.projectSource();
    const int nameColumn = projects.columnIndex(u"PROJECTNAAM");
    QStringList names;
    names.reserve(qsizetype(projects.rowCount()));
    for (size_t row = 0; row < projects.rowCount(); ++row)
        names << projects.fieldAt(row, nameColumn);
    m_projectNames = m_projectNames.with(std::move(names));
    platform::setListEntries(m_tab.projectNamePicker,
                             dropRepeats ? data::withoutNeighbourRepeats(m_projectNames.sorted())
                                         : m_projectNames.sorted(),
                             m_tab.projectNamePicker->currentText());
}

void InvoicingController::showClientDeclarations()
{
    platform::setListRows(m_tab.declarationList, nullptr);
    setBackground(m_tab.declarationList, kYellow);
    m_tab.projectNamePicker->setEditText(QString());
    const QString client = m_tab.clientPicker->currentText();
    platform::setListRows(m_tab.declarationList, clientDeclarationList(client));
}

void InvoicingController::showProjectDeclarations()
{
    platform::setListRows(m_tab.declarationList, nullptr);
    setBackground(m_tab.declarationList, kCyan);
    m_tab.clientPicker->setEditText(QString());
    const QString project = m_tab.projectNamePicker->currentText();
    platform::setListRows(m_tab.declarationList, projectDeclarationList(project));
}

void InvoicingController::toggleInvoice()
{
    QPlainTextEdit *text = m_tab.invoiceBox;
    if (!text->isHidden()) {
        text->hide();
        return;
    }
    QStringList keys;
    for (const int row : platform::selectedListRows(m_tab.declarationList))
        keys << firstChars(platform::listRowText(m_tab.declarationList, row), 16);
    const std::vector<KeyedDeclaration> declarations = keys.isEmpty() ? std::vector<KeyedDeclaration>{}
                                                                       : invoiceDeclarations(keys);
    // Composed whole before it is shown: a declaration that cannot be read leaves no
    // half invoice behind.
    const QStringList lines = invoiceLines(m_tab.clientPicker->currentText(), keys, declarations);
    text->setPlainText(invoiceText(lines));
    text->show();
    text->raise();
}

void InvoicingController::loadPaymentOverview()
{
    QListView *lists[] = {m_tab.declarationList, m_tab.paidByClientsList, m_tab.unpaidToConsultantsList,
                          m_tab.paidToConsultantsList};
    QComboBox *projectPickers[] = {m_tab.projectNamePicker, m_tab.paidClientProjectPicker,
                                   m_tab.unpaidConsultantProjectPicker, m_tab.paidConsultantProjectPicker};
    QComboBox *namePickers[] = {m_tab.clientPicker, m_tab.paidClientPicker, m_tab.unpaidConsultantPicker,
                                m_tab.paidConsultantPicker};
    // Which pickers keep text order: the first panel's two and the paid clients' projects.
    const std::array<bool, 4> sortedProjects{true, true, false, false};
    const std::array<bool, 4> sortedNames{true, false, false, false};
    for (int panel = 0; panel < 4; ++panel) {
        platform::setListRows(lists[panel], nullptr);
        fillPicker(projectPickers[panel], {});
        fillPicker(namePickers[panel], {});
    }

    const PaymentOverview overview = readPaymentOverview(sortedProjects, sortedNames);
    for (size_t panel = 0; panel < 4; ++panel) {
        platform::setListRows(lists[panel], overview.rows[panel]);
        fillPicker(projectPickers[panel], overview.projects[panel]);
        fillPicker(namePickers[panel], overview.names[panel]);
    }
    m_main.dropRepeatedPrinters();
    if (m_chartWindow && m_chartWindow->isVisible())
        m_chartWindow->refresh();
}

void InvoicingController::showOutstandingChart()
{
    if (!m_chartWindow)
        m_chartWindow = new OutstandingChart(m_main);
    m_chartWindow->refresh();
    m_chartWindow->show();
    m_chartWindow->raise();
    m_chartWindow->activateWindow();
}

void InvoicingController::toggleProjectClosing()
{
    // The project source writes the new value when it leaves the row or the program
    // ends, as it does a typed one; the flag's box shows it at once.
    data::BoundSource &projects = m_main.projectSource();
    if (projects.eof())
        return;
    const QString flag = projects.field(u"AFSLUITEN");
    if (flag == QLatin1String("Nee"))
        projects.editCurrent(u"AFSLUITEN", QStringLiteral("Ja"));
    else if (flag == QLatin1String("Ja"))
        projects.editCurrent(u"AFSLUITEN", QStringLiteral("Nee"));
}

QStringList InvoicingController::invoiceLinesShown() const
{
    QStringList lines = m_tab.invoiceBox->toPlainText().split(QLatin1Char('\n'));
    for (QString &line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    // The last line's end leaves nothing behind it that is a line.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList InvoicingController::linesToOutput()
{
    platform::Dialogs &dialogs = m_main.services().dialogs;
    if (m_tab.invoiceBox->isHidden()) {
        dialogs.message(QStringLiteral("Er wordt geen factuur getoond. Maak eerst een factuur met de factuurknop."),
                        QString::fromLatin1(platform::kAppTitle), platform::Icon::Exclamation, platform::Buttons::Ok);
        return {};
    }
    const QStringList lines = invoiceLinesShown();
    if (m_tab.invoiceBox->toPlainText().trimmed().isEmpty()) {
        dialogs.message(QStringLiteral("De factuur is leeg; er is niets af te drukken."),
                        QString::fromLatin1(platform::kAppTitle), platform::Icon::Exclamation, platform::Buttons::Ok);
        return {};
    }
    return lines;
}

void InvoicingController::printInvoice()
{
    const QStringList lines = linesToOutput();
    if (lines.isEmpty())
        return;
    const QString printer = m_main.printerOrSayNone();
    if (printer.isEmpty())
        return;
    m_main.services().pages.print(lines, printer);
}

void InvoicingController::saveInvoiceAsPdf()
{
    const QStringList lines = linesToOutput();
    if (lines.isEmpty())
        return;
    const std::optional<QString> file =
        m_main.services().pages.askPdfFileName(m_main.window(), QStringLiteral("factuur.pdf"));
    if (!file)
        return;
    m_main.services().pages.writePdf(lines, *file);
}

void InvoicingController::showInvoiceMenu(const QPoint &at)
{
    QMenu *menu = m_tab.invoiceBox->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    menu->addAction(m_print);
    menu->addAction(m_savePdf);
    menu->popup(m_tab.invoiceBox->mapToGlobal(at));
}

} // namespace talveros::invoicing
