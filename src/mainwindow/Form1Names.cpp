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
    name({});
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
    name({});
}

} // namespace talveros::mainwindow
