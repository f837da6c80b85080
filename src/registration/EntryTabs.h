#pragma once

#include "platform/PictureButton.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

namespace talveros::registration {

// "NIEUW Project aanmaken": a project links one client and one consultant; its code is
// composed from their numbers and the project name.
class ProjectEntryTab : public QWidget {
    Q_OBJECT
public:
    explicit ProjectEntryTab(QWidget *parent = nullptr);

    // Each acts when double-clicked.
    platform::PictureButton *createProjectButton = nullptr;
    platform::PictureButton *startDateButton = nullptr;
    platform::PictureButton *endDateButton = nullptr;

    QCalendarWidget *calendar = nullptr;

    // Clients and consultants in the order the table returns them; a project chosen
    // from the third is fetched into the screen.
    QComboBox *clientPicker = nullptr;
    QComboBox *consultantPicker = nullptr;
    QComboBox *projectPicker = nullptr;

    QLineEdit *clientNumberBox = nullptr;
    QLineEdit *consultantNumberBox = nullptr;
    QLineEdit *projectNameBox = nullptr;
    QLineEdit *projectCodeBox = nullptr;
    QPlainTextEdit *descriptionBox = nullptr;
    QLineEdit *startDateBox = nullptr;
    QLineEdit *endDateBox = nullptr;
    QLineEdit *contractDurationBox = nullptr;
    QLineEdit *purchaseDayRateBox = nullptr;
    QLineEdit *salesDayRateBox = nullptr;
    QPlainTextEdit *consultantMessageBox = nullptr;
};

// "Opdrachtgever aanmaken".
class ClientEntryTab : public QWidget {
    Q_OBJECT
public:
    explicit ClientEntryTab(QWidget *parent = nullptr);

    QLabel *heading = nullptr;
    platform::PictureButton *createClientButton = nullptr; // double-clicked

    QLineEdit *organisationBox = nullptr;
    QLineEdit *departmentBox = nullptr;
    QLineEdit *assignmentBox = nullptr;
    QLineEdit *titleBox = nullptr;
    QLineEdit *initialsBox = nullptr;
    QLineEdit *surnamePrefixBox = nullptr;
    QLineEdit *surnameBox = nullptr;
    QLineEdit *nameSuffixBox = nullptr;
    QLineEdit *callingNameBox = nullptr;
    QLineEdit *jobTitleBox = nullptr;
    QLineEdit *secretaryBox = nullptr;
    QLineEdit *secretaryPhoneBox = nullptr;
    QLineEdit *secretaryEmailBox = nullptr;
    QLineEdit *addressBox = nullptr;
    QLineEdit *invoiceAddressBox = nullptr;
    QLineEdit *postcodeBox = nullptr;
    QLineEdit *townBox = nullptr;
    QLineEdit *websiteBox = nullptr;
    QLineEdit *businessPhoneBox = nullptr;
    QLineEdit *privatePhoneBox = nullptr;
    QLineEdit *mobilePhoneBox = nullptr;
    QLineEdit *businessEmailBox = nullptr;
    QLineEdit *privateEmailBox = nullptr;
    QLineEdit *bankNameBox = nullptr;
    QLineEdit *bankAccountBox = nullptr;
    QLineEdit *vatNumberBox = nullptr;
    QLineEdit *chamberOfCommerceBox = nullptr;
};

// "Consultant aanmaken".
class ConsultantEntryTab : public QWidget {
    Q_OBJECT
public:
    explicit ConsultantEntryTab(QWidget *parent = nullptr);

    QLabel *heading = nullptr;
    platform::PictureButton *createConsultantButton = nullptr; // double-clicked

    QLineEdit *organisationBox = nullptr;
    QLineEdit *titleBox = nullptr;
    QLineEdit *initialsBox = nullptr;
    QLineEdit *surnamePrefixBox = nullptr;
    QLineEdit *surnameBox = nullptr;
    QLineEdit *nameSuffixBox = nullptr;
    QLineEdit *callingNameBox = nullptr;
    QLineEdit *jobTitleBox = nullptr;
    QLineEdit *addressBox = nullptr;
    QLineEdit *postcodeBox = nullptr;
    QLineEdit *townBox = nullptr;
    QLineEdit *websiteBox = nullptr;
    QLineEdit *businessPhoneBox = nullptr;
    QLineEdit *privatePhoneBox = nullptr;
    QLineEdit *mobilePhoneBox = nullptr;
    QLineEdit *businessEmailBox = nullptr;
    QLineEdit *privateEmailBox = nullptr;
    QLineEdit *bankNameBox = nullptr;
    QLineEdit *bankAccountBox = nullptr;
    QLineEdit *vatNumberBox = nullptr;
    QLineEdit *chamberOfCommerceBox = nullptr;
    // The consultant's statement of employment status for the tax office.
    QLineEdit *employmentDeclarationBox = nullptr;
};

} // namespace talveros::registration
