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
    // The window's own: sources, tab strips, status strip, web view.
    name({});
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
    name({});
    // Invoicing, communication, presence and the web browser tab.
    name({});
}

} // namespace talveros::mainwindow
