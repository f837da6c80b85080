// The form name of every control of the main window, and the one place it is written:
// the network's vocabulary and the checks of the whole program find controls by these
// object names, while the code calls each control by its role.
#include "mainwindow/Form1Ui.h"

#include <initializer_list>
#include <utility>

namespace talveros::mainwindow {

namespace {
using Names = std::initializer_list<std::pair<QObject *, const char *>>;

void name(Names names)
{
    for (const auto &[control, formName] : names)
        control->setObjectName(QLatin1String(formName));
}
} // namespace

void Form1Ui::nameControls()
{
    const Form1Ui &ui = *this;
    // The window's own: sources, tab strips, status strip, web view.
    name({});
    // The record panes.
    name({});
    // The registration tabs.
    name({});
    // Invoicing, communication, presence and the web browser tab.
    name({
        {ui.invoicing->unpaidClientInvoicesHeading, "Label1_0"},
        {ui.invoicing->clientPicker, "Combo11"},
        {ui.invoicing->projectNamePicker, "Combo7"},
        {ui.invoicing->declarationList, "List4"},
        {ui.invoicing->paidClientInvoicesHeading, "Label1_24"},
        {ui.invoicing->paidClientPicker, "Combo13"},
        {ui.invoicing->paidClientProjectPicker, "Combo10"},
        {ui.invoicing->paidByClientsList, "List5"},
        {ui.invoicing->unpaidConsultantInvoicesHeading, "Label1_25"},
        {ui.invoicing->unpaidConsultantPicker, "Combo16"},
        {ui.invoicing->unpaidConsultantProjectPicker, "Combo8"},
        {ui.invoicing->unpaidToConsultantsList, "List6"},
        {ui.invoicing->paidConsultantInvoicesHeading, "Label1_26"},
        {ui.invoicing->paidConsultantPicker, "Combo18"},
        {ui.invoicing->paidConsultantProjectPicker, "Combo19"},
        {ui.invoicing->paidToConsultantsList, "List7"},
        {ui.invoicing->paymentOverviewButton, "Command3"},
        {ui.invoicing->invoicingEmblem, "Image30"},
        {ui.invoicing->invoiceButtons[0], "Image27"},
        {ui.invoicing->invoiceButtons[1], "Image27"},
        {ui.invoicing->invoiceButtons[2], "Image27"},
        {ui.invoicing->invoiceButtons[3], "Image27"},
        {ui.invoicing->invoiceButtons[4], "Image27"},
        {ui.invoicing->invoiceButtons[5], "Image27"},
        {ui.invoicing->invoiceButtons[6], "Image27"},
        {ui.invoicing->invoiceBox, "Text70"},
        {ui.communication->tickerStateHeading, "Label9"},
        {ui.communication->messageBox, "Text144"},
        {ui.communication->sendButton, "Image25"},
        {ui.communication->sendCaption, "Label11"},
        {ui.communication->stopButton, "Image26"},
        {ui.communication->stopCaption, "Label12"},
        {ui.communication->presetGeneral, "Option1"},
        {ui.communication->presetMaintenance, "Option2"},
        {ui.communication->presetHoliday, "Option3"},
        {ui.presence->trackingIndicator, "Image9"},
        {ui.presence->presenceHeading, "Label89"},
        {ui.presence->liveTrackingBox, "Check1"},
        {ui.presence->clientColumnsHeader, "Text114"},
        {ui.presence->clientPresenceList, "List3"},
        {ui.presence->consultantColumnsHeader, "Text115"},
        {ui.presence->consultantPresenceList, "List2"},
        {ui.presence->presenceTimer, "Timer1"},
        {ui.webTab->networkSiteButton, "Image15"},
        {ui.webTab->searchEngineButton, "Image3"},
        {ui.webTab->administrationPageButton, "Image2"},
    });
}

} // namespace talveros::mainwindow
