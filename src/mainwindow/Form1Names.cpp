// The form name of every control of the main window, and the one place it is written:
// the network's vocabulary and the checks of the whole program find controls by these
// object names, while the code calls each control by its role.
#include "mainwindow/Form1Ui.h"

#include "platform/Accessible.h"

#include <QTabBar>

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

using platform::captionOf;

// Boxes side by side under one caption "A / B": each is called by its part.
void shareCaption(QWidget *first, QWidget *second)
{
    const QStringList parts = captionOf(first).split(QLatin1Char('/'));
    if (parts.size() == 2)
        platform::speak({{first, parts[0]}, {second, parts[1]}});
}

// A list with its design text as caption is called by that text, the one it shows
// before it is filled.
platform::Spoken byDesignText(QComboBox *list, const QString &heading = {})
{
    const QString caption = list->currentText();
    return {list, heading.isEmpty() ? caption : heading.trimmed() + QStringLiteral(", ") + caption};
}
} // namespace

void Form1Ui::nameControls()
{
    // The window's own: sources, tab strips, status strip, web view.
    name({
        {consultantSource, "Adodc1"},
        {clientSource, "Adodc2"},
        {projectSource, "Adodc3"},
        {outerTabs, "SSTab1"},
        {innerTabs, "SSTab2"},
        {titleLabel, "Label19"},
        {clock, "Label46"},
        {printerList, "Combo9"},
        {invoicingButton, "Command1"},
        {routeTraceButton, "Command2"},
        {traceBox, "Text143"},
        {signOffButton, "Image13"},
        {webView, "WebBrowser1"},
        {closeWebViewButton, "Picture1"},
        {clockTimer, "Timer2"},
    });
    // The record panes.
    name({
        {consultantPane->heading, "Label10"},
        {consultantPane->lookupList, "Combo1"},
        {consultantPane->counterHeading, "Text45"},
        {consultantPane->counter, "Text48"},
        {consultantPane->sequenceNumberBox, "Text1"},
        {consultantPane->numberBox, "Text2"},
        {consultantPane->titleBox, "Text3"},
        {consultantPane->firstNameBox, "Text4"},
        {consultantPane->surnamePrefixBox, "Text5"},
        {consultantPane->surnameBox, "Text6"},
        {consultantPane->addressBox, "Text7"},
        {consultantPane->postcodeBox, "Text8"},
        {consultantPane->cityBox, "Text9"},
        {consultantPane->businessPhoneBox, "Text10"},
        {consultantPane->businessEmailBox, "Text11"},
        {consultantPane->loginBox, "Text12"},
        {consultantPane->passwordBox, "Text13"},
        {consultantPane->organisationNameBox, "Text40"},
        {consultantPane->varStatementBox, "Text41"},
        {consultantPane->bankNameBox, "Text75"},
        {consultantPane->bankAccountNumberBox, "Text76"},
        {consultantPane->vatNumberBox, "Text77"},
        {consultantPane->chamberOfCommerceNumberBox, "Text78"},
        {consultantPane->mobilePhoneBox, "Text96"},
        {consultantPane->privatePhoneBox, "Text112"},
        {consultantPane->titleSuffixBox, "Text126"},
        {consultantPane->websiteBox, "Text127"},
        {consultantPane->privateEmailBox, "Text128"},
        {consultantPane->preferredNameBox, "Text134"},
        {consultantPane->jobTitleBox, "Text140"},
        {consultantPane->websiteButton, "Image16"},
        {clientPane->heading, "Label13"},
        {clientPane->lookupList, "Combo2"},
        {clientPane->counterHeading, "Text33"},
        {clientPane->counter, "Text47"},
        {clientPane->sequenceNumberBox, "Text14"},
        {clientPane->numberBox, "Text15"},
        {clientPane->companyBox, "Text16"},
        {clientPane->titleSuffixBox, "Text17"},
        {clientPane->surnameBox, "Text18"},
        {clientPane->surnamePrefixBox, "Text19"},
        {clientPane->firstNameBox, "Text20"},
        {clientPane->titleBox, "Text21"},
        {clientPane->addressBox, "Text22"},
        {clientPane->cityBox, "Text23"},
        {clientPane->postcodeBox, "Text24"},
        {clientPane->businessPhoneBox, "Text25"},
        {clientPane->businessEmailBox, "Text26"},
        {clientPane->loginBox, "Text27"},
        {clientPane->passwordBox, "Text28"},
        {clientPane->jobTitleBox, "Text64"},
        {clientPane->secretaryPhoneBox, "Text66"},
        {clientPane->bankNameBox, "Text71"},
        {clientPane->bankAccountNumberBox, "Text72"},
        {clientPane->vatNumberBox, "Text73"},
        {clientPane->chamberOfCommerceNumberBox, "Text74"},
        {clientPane->mobilePhoneBox, "Text95"},
        {clientPane->assignmentNameBox, "Text116"},
        {clientPane->secretaryBox, "Text117"},
        {clientPane->invoiceAddressBox, "Text118"},
        {clientPane->secretaryEmailBox, "Text122"},
        {clientPane->websiteBox, "Text123"},
        {clientPane->privatePhoneBox, "Text124"},
        {clientPane->privateEmailBox, "Text125"},
        {clientPane->preferredNameBox, "Text129"},
        {clientPane->websiteButton, "Image1"},
        {clientPane->businessMailButton, "Image18"},
        {projectPane->heading, "Label14"},
        {projectPane->lookupList, "Combo3"},
        {projectPane->counterHeading, "Text46"},
        {projectPane->counter, "Text49"},
        {projectPane->clientCompanyBox, "Text50"},
        {projectPane->consultantBox, "Text51"},
        {projectPane->sequenceNumberBox, "Text29"},
        {projectPane->projectNameBox, "Text30"},
        {projectPane->projectCodeBox, "Text31"},
        {projectPane->clientNumberBox, "Text32"},
        {projectPane->consultantNumberBox, "Text34"},
        {projectPane->plannedStartBox, "Text35"},
        {projectPane->plannedEndBox, "Text36"},
        {projectPane->durationInDaysBox, "Text37"},
        {projectPane->clientDayRateBox, "Text38"},
        {projectPane->consultantCommentBox, "Text42"},
        {projectPane->adminCommentBox, "Text43"},
        {projectPane->closingFlagBox, "Text44"},
        {projectPane->consultantDayRateBox, "Text63"},
        {projectPane->descriptionBox, "Text67"},
        {projectPane->deleteProjectButton, "Image4"},
        {projectPane->closingFlagButton, "Image12"},
        {projectPane->closingFlagHint, "Label62"},
    });
    // The registration tabs.
    name({
        {projectEntry->createProjectButton, "Image5"},
        {projectEntry->startDateButton, "Image6"},
        {projectEntry->endDateButton, "Image7"},
        {projectEntry->calendar, "Calendar1"},
        {projectEntry->clientPicker, "Combo4"},
        {projectEntry->consultantPicker, "Combo5"},
        {projectEntry->projectPicker, "Combo6"},
        {projectEntry->clientNumberBox, "Text52"},
        {projectEntry->consultantNumberBox, "Text53"},
        {projectEntry->projectNameBox, "Text54"},
        {projectEntry->projectCodeBox, "Text55"},
        {projectEntry->descriptionBox, "Text68"},
        {projectEntry->startDateBox, "Text56"},
        {projectEntry->endDateBox, "Text57"},
        {projectEntry->contractDurationBox, "Text58"},
        {projectEntry->purchaseDayRateBox, "Text59"},
        {projectEntry->salesDayRateBox, "Text60"},
        {projectEntry->consultantMessageBox, "Text61"},
        {clientEntry->createClientButton, "Image8"},
        {clientEntry->organisationBox, "Text79"},
        {clientEntry->departmentBox, "Text80"},
        {clientEntry->assignmentBox, "Text39"},
        {clientEntry->titleBox, "Text81"},
        {clientEntry->initialsBox, "Text82"},
        {clientEntry->surnamePrefixBox, "Text83"},
        {clientEntry->surnameBox, "Text84"},
        {clientEntry->nameSuffixBox, "Text136"},
        {clientEntry->callingNameBox, "Text131"},
        {clientEntry->jobTitleBox, "Text119"},
        {clientEntry->secretaryBox, "Text120"},
        {clientEntry->secretaryPhoneBox, "Text69"},
        {clientEntry->secretaryEmailBox, "Text130"},
        {clientEntry->addressBox, "Text85"},
        {clientEntry->invoiceAddressBox, "Text121"},
        {clientEntry->postcodeBox, "Text86"},
        {clientEntry->townBox, "Text87"},
        {clientEntry->websiteBox, "Text132"},
        {clientEntry->businessPhoneBox, "Text88"},
        {clientEntry->privatePhoneBox, "Text133"},
        {clientEntry->mobilePhoneBox, "Text89"},
        {clientEntry->businessEmailBox, "Text90"},
        {clientEntry->privateEmailBox, "Text135"},
        {clientEntry->bankNameBox, "Text91"},
        {clientEntry->bankAccountBox, "Text92"},
        {clientEntry->vatNumberBox, "Text93"},
        {clientEntry->chamberOfCommerceBox, "Text94"},
        {consultantEntry->createConsultantButton, "Image17"},
        {consultantEntry->organisationBox, "Text62"},
        {consultantEntry->titleBox, "Text97"},
        {consultantEntry->initialsBox, "Text98"},
        {consultantEntry->surnamePrefixBox, "Text99"},
        {consultantEntry->surnameBox, "Text100"},
        {consultantEntry->nameSuffixBox, "Text137"},
        {consultantEntry->callingNameBox, "Text138"},
        {consultantEntry->jobTitleBox, "Text139"},
        {consultantEntry->addressBox, "Text101"},
        {consultantEntry->postcodeBox, "Text102"},
        {consultantEntry->townBox, "Text103"},
        {consultantEntry->websiteBox, "Text141"},
        {consultantEntry->businessPhoneBox, "Text104"},
        {consultantEntry->privatePhoneBox, "Text113"},
        {consultantEntry->mobilePhoneBox, "Text105"},
        {consultantEntry->businessEmailBox, "Text106"},
        {consultantEntry->privateEmailBox, "Text142"},
        {consultantEntry->bankNameBox, "Text107"},
        {consultantEntry->bankAccountBox, "Text108"},
        {consultantEntry->vatNumberBox, "Text109"},
        {consultantEntry->chamberOfCommerceBox, "Text110"},
        {consultantEntry->employmentDeclarationBox, "Text65"},
    });
    // Invoicing, communication, presence and the web browser tab.
    name({
        {invoicing->unpaidClientInvoicesHeading, "Label1_0"},
        {invoicing->clientPicker, "Combo11"},
        {invoicing->projectNamePicker, "Combo7"},
        {invoicing->declarationList, "List4"},
        {invoicing->paidClientInvoicesHeading, "Label1_24"},
        {invoicing->paidClientPicker, "Combo13"},
        {invoicing->paidClientProjectPicker, "Combo10"},
        {invoicing->paidByClientsList, "List5"},
        {invoicing->unpaidConsultantInvoicesHeading, "Label1_25"},
        {invoicing->unpaidConsultantPicker, "Combo16"},
        {invoicing->unpaidConsultantProjectPicker, "Combo8"},
        {invoicing->unpaidToConsultantsList, "List6"},
        {invoicing->paidConsultantInvoicesHeading, "Label1_26"},
        {invoicing->paidConsultantPicker, "Combo18"},
        {invoicing->paidConsultantProjectPicker, "Combo19"},
        {invoicing->paidToConsultantsList, "List7"},
        {invoicing->paymentOverviewButton, "Command3"},
        {invoicing->invoicingEmblem, "Image30"},
        {invoicing->invoiceButtons[0], "Image27"},
        {invoicing->invoiceButtons[1], "Image27"},
        {invoicing->invoiceButtons[2], "Image27"},
        {invoicing->invoiceButtons[3], "Image27"},
        {invoicing->invoiceButtons[4], "Image27"},
        {invoicing->invoiceButtons[5], "Image27"},
        {invoicing->invoiceButtons[6], "Image27"},
        {invoicing->invoiceBox, "Text70"},
        {communication->tickerStateHeading, "Label9"},
        {communication->messageBox, "Text144"},
        {communication->sendButton, "Image25"},
        {communication->sendCaption, "Label11"},
        {communication->stopButton, "Image26"},
        {communication->stopCaption, "Label12"},
        {communication->presetGeneral, "Option1"},
        {communication->presetMaintenance, "Option2"},
        {communication->presetHoliday, "Option3"},
        {presence->trackingIndicator, "Image9"},
        {presence->presenceHeading, "Label89"},
        {presence->liveTrackingBox, "Check1"},
        {presence->clientColumnsHeader, "Text114"},
        {presence->clientPresenceList, "List3"},
        {presence->consultantColumnsHeader, "Text115"},
        {presence->consultantPresenceList, "List2"},
        {presence->presenceTimer, "Timer1"},
        {webTab->networkSiteButton, "Image15"},
        {webTab->searchEngineButton, "Image3"},
        {webTab->administrationPageButton, "Image2"},
    });
}

void Form1Ui::describeControls()
{
    // Most boxes are named by the caption that has them as buddy; these are the rest.
    // The message and the picture that publishes or stops it are called by what the
    // labels beside them say at the time.
    communication->tickerStateHeading->setBuddy(communication->messageBox);
    communication->sendCaption->setBuddy(communication->sendButton);
    communication->stopCaption->setBuddy(communication->stopButton);

    shareCaption(clientEntry->callingNameBox, clientEntry->jobTitleBox);
    shareCaption(clientEntry->secretaryBox, clientEntry->secretaryPhoneBox);
    shareCaption(clientEntry->postcodeBox, clientEntry->townBox);
    shareCaption(consultantEntry->callingNameBox, consultantEntry->jobTitleBox);
    shareCaption(consultantEntry->postcodeBox, consultantEntry->townBox);

    const QString archive = presence->presenceHeading->text();
    platform::speak({
        byDesignText(consultantPane->lookupList),
        byDesignText(clientPane->lookupList),
        byDesignText(projectPane->lookupList),
        {consultantPane->counterHeading, consultantPane->counterHeading->text()},
        {consultantPane->counter, consultantPane->counterHeading->text()},
        {clientPane->counterHeading, clientPane->counterHeading->text()},
        {clientPane->counter, clientPane->counterHeading->text()},
        {projectPane->counterHeading, projectPane->counterHeading->text()},
        {projectPane->counter, projectPane->counterHeading->text()},
        {projectPane->closingFlagBox, captionOf(projectPane->closingFlagBox->parentWidget())},
        {projectPane->closingFlagHint, projectPane->closingFlagHint->text(), projectPane->closingFlagButton->toolTip()},
        byDesignText(projectEntry->clientPicker),
        byDesignText(projectEntry->consultantPicker),
        byDesignText(projectEntry->projectPicker),
        {projectEntry->startDateButton, captionOf(projectEntry->startDateBox)},
        {projectEntry->endDateButton, captionOf(projectEntry->endDateBox)},
        byDesignText(invoicing->clientPicker, invoicing->unpaidClientInvoicesHeading->text()),
        byDesignText(invoicing->projectNamePicker, invoicing->unpaidClientInvoicesHeading->text()),
        {invoicing->declarationList, invoicing->unpaidClientInvoicesHeading->text()},
        byDesignText(invoicing->paidClientPicker, invoicing->paidClientInvoicesHeading->text()),
        byDesignText(invoicing->paidClientProjectPicker, invoicing->paidClientInvoicesHeading->text()),
        {invoicing->paidByClientsList, invoicing->paidClientInvoicesHeading->text()},
        byDesignText(invoicing->unpaidConsultantPicker, invoicing->unpaidConsultantInvoicesHeading->text()),
        byDesignText(invoicing->unpaidConsultantProjectPicker, invoicing->unpaidConsultantInvoicesHeading->text()),
        {invoicing->unpaidToConsultantsList, invoicing->unpaidConsultantInvoicesHeading->text()},
        byDesignText(invoicing->paidConsultantPicker, invoicing->paidConsultantInvoicesHeading->text()),
        byDesignText(invoicing->paidConsultantProjectPicker, invoicing->paidConsultantInvoicesHeading->text()),
        {invoicing->paidToConsultantsList, invoicing->paidConsultantInvoicesHeading->text()},
        {invoicing->invoiceBox, QStringLiteral("Factuur")},
        {presence->clientColumnsHeader, QStringLiteral("Kolommen van de opdrachtgevers")},
        {presence->clientPresenceList, archive + QStringLiteral(" van de opdrachtgevers")},
        {presence->consultantColumnsHeader, QStringLiteral("Kolommen van de consultants")},
        {presence->consultantPresenceList, archive + QStringLiteral(" van de consultants")},
        {traceBox, routeTraceButton->text()},
    });
}

void Form1Ui::orderFocus()
{
    // As the administrator reads each part, from the top left; a picture after the boxes
    // it acts on. The bound boxes of the panes and the numbers and dates the entry screen
    // fills itself take no focus from the Tab key.
    QList<QWidget *> order = {
        consultantPane->lookupList, consultantPane->websiteButton,
        clientPane->lookupList, clientPane->businessMailButton, clientPane->websiteButton,
        projectPane->lookupList, projectPane->deleteProjectButton, projectPane->closingFlagButton,
        projectPane->closingFlagHint, projectPane->adminCommentBox,
        closeWebViewButton, outerTabs->tabBar(), innerTabs->tabBar(),
        projectEntry->clientPicker, projectEntry->consultantPicker, projectEntry->projectNameBox,
        projectEntry->descriptionBox, projectEntry->calendar, projectEntry->startDateButton,
        projectEntry->endDateButton, projectEntry->contractDurationBox, projectEntry->purchaseDayRateBox,
        projectEntry->salesDayRateBox, projectEntry->consultantMessageBox, projectEntry->projectPicker,
        projectEntry->createProjectButton,
        clientEntry->organisationBox, clientEntry->departmentBox, clientEntry->assignmentBox, clientEntry->titleBox,
        clientEntry->initialsBox, clientEntry->surnamePrefixBox, clientEntry->surnameBox, clientEntry->nameSuffixBox,
        clientEntry->callingNameBox, clientEntry->jobTitleBox, clientEntry->secretaryBox,
        clientEntry->secretaryPhoneBox, clientEntry->secretaryEmailBox, clientEntry->addressBox,
        clientEntry->invoiceAddressBox, clientEntry->postcodeBox, clientEntry->townBox, clientEntry->websiteBox,
        clientEntry->businessPhoneBox, clientEntry->privatePhoneBox, clientEntry->mobilePhoneBox,
        clientEntry->businessEmailBox, clientEntry->privateEmailBox, clientEntry->bankNameBox,
        clientEntry->bankAccountBox, clientEntry->vatNumberBox, clientEntry->chamberOfCommerceBox,
        clientEntry->createClientButton,
        consultantEntry->organisationBox, consultantEntry->titleBox, consultantEntry->initialsBox,
        consultantEntry->surnamePrefixBox, consultantEntry->surnameBox, consultantEntry->nameSuffixBox,
        consultantEntry->callingNameBox, consultantEntry->jobTitleBox, consultantEntry->addressBox,
        consultantEntry->postcodeBox, consultantEntry->townBox, consultantEntry->websiteBox,
        consultantEntry->businessPhoneBox, consultantEntry->privatePhoneBox, consultantEntry->mobilePhoneBox,
        consultantEntry->businessEmailBox, consultantEntry->privateEmailBox, consultantEntry->bankNameBox,
        consultantEntry->bankAccountBox, consultantEntry->vatNumberBox, consultantEntry->chamberOfCommerceBox,
        consultantEntry->employmentDeclarationBox, consultantEntry->createConsultantButton,
        presence->trackingIndicator, presence->liveTrackingBox, presence->clientPresenceList,
        presence->consultantPresenceList,
        invoicing->clientPicker, invoicing->projectNamePicker, invoicing->declarationList,
        invoicing->paidClientPicker, invoicing->paidClientProjectPicker, invoicing->paidByClientsList,
        invoicing->unpaidConsultantPicker, invoicing->unpaidConsultantProjectPicker,
        invoicing->unpaidToConsultantsList, invoicing->paidConsultantPicker, invoicing->paidConsultantProjectPicker,
        invoicing->paidToConsultantsList, invoicing->paymentOverviewButton,
    };
    for (platform::PictureButton *invoice : invoicing->invoiceButtons)
        order.append(invoice);
    order += {
        invoicing->invoiceBox,
        communication->messageBox, communication->sendButton, communication->stopButton,
        communication->presetGeneral, communication->presetMaintenance, communication->presetHoliday,
        webTab->networkSiteButton, webTab->searchEngineButton, webTab->administrationPageButton,
        titleLabel, printerList, invoicingButton, routeTraceButton, traceBox, signOffButton,
    };
    platform::chainFocus(order);
}

} // namespace talveros::mainwindow
