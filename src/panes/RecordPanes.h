#pragma once

#include "platform/PictureButton.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPair>
#include <QPlainTextEdit>
#include <QString>

namespace talveros::panes {

// A bound box and the column of its data source's current row that it shows.
using Binding = QPair<QWidget *, QString>;

// What the three record panes share: a coloured frame with a heading line and counter,
// the look-up list, and a grid of captioned boxes that mirror the current row of one
// bound data source. The boxes are read-only for the administrator and skipped by the
// tab key; the one exception (the administrator's project comment) says so itself.
class RecordPane : public QFrame {
    Q_OBJECT
public:
    // Every bound box with its column, in the order the table was designed.
    QList<Binding> bindings() const { return m_bindings; }

protected:
    RecordPane(const QString &objectName, const QColor &background, QWidget *parent);

    // The controls are made without names: the window gives each its form name once it
    // has built them all.
    QLabel *makeHeading(const QString &word);
    QComboBox *makeLookup(const QString &designText, const QColor &colour);
    // A read-only box the program writes itself (counter, heading, description).
    QLineEdit *makeInfoBox(const QString &designText);
    QLineEdit *bindLine(const QString &column, int maxLength = 0);
    QPlainTextEdit *bindText(const QString &column, int lines, bool editable = false);

    // Heading label, counter heading and counter on one line, the look-up list with
    // the pane's picture buttons below it.
    void buildTop(QLabel *heading, QLineEdit *countHeading, QLineEdit *count, QComboBox *lookup,
                  const QList<QWidget *> &besideLookup = {});
    // A caption above the box, in a cell of the pane's grid; `extra` (a picture
    // button) sits to the right of the box.
    void place(QWidget *box, const QString &caption, int row, int column, int columnSpan = 1, int rowSpan = 1,
               QWidget *extra = nullptr);
    QGridLayout *grid() const { return m_grid; }

private:
    QGridLayout *m_grid = nullptr;
    QList<Binding> m_bindings;
};

// Consultants, from the consultant source (read only); light green.
class ConsultantPane : public RecordPane {
    Q_OBJECT
public:
    explicit ConsultantPane(QWidget *parent = nullptr);

    QLabel *heading = nullptr;
    QComboBox *lookupList = nullptr;
    QLineEdit *counterHeading = nullptr;
    QLineEdit *counter = nullptr;

    QLineEdit *numberBox = nullptr;
    QLineEdit *titleBox = nullptr;
    QLineEdit *titleSuffixBox = nullptr;
    QLineEdit *sequenceNumberBox = nullptr;

    QLineEdit *firstNameBox = nullptr;
    QLineEdit *surnamePrefixBox = nullptr;
    QLineEdit *surnameBox = nullptr;
    QLineEdit *preferredNameBox = nullptr;
    QLineEdit *jobTitleBox = nullptr;
    QLineEdit *organisationNameBox = nullptr;

    QLineEdit *addressBox = nullptr;
    QLineEdit *postcodeBox = nullptr;
    QLineEdit *cityBox = nullptr;

    QLineEdit *businessPhoneBox = nullptr;
    QLineEdit *mobilePhoneBox = nullptr;
    QLineEdit *privatePhoneBox = nullptr;
    QLineEdit *varStatementBox = nullptr;
    QLineEdit *businessEmailBox = nullptr;
    QLineEdit *privateEmailBox = nullptr;
    QLineEdit *websiteBox = nullptr;
    platform::PictureButton *websiteButton = nullptr;

    QLineEdit *loginBox = nullptr;
    QLineEdit *passwordBox = nullptr;

    QLineEdit *bankNameBox = nullptr;
    QLineEdit *bankAccountNumberBox = nullptr;
    QLineEdit *vatNumberBox = nullptr;
    QLineEdit *chamberOfCommerceNumberBox = nullptr;
};

// Clients, from the client source; light yellow.
class ClientPane : public RecordPane {
    Q_OBJECT
public:
    explicit ClientPane(QWidget *parent = nullptr);

    QLabel *heading = nullptr;
    QComboBox *lookupList = nullptr;
    QLineEdit *counterHeading = nullptr;
    QLineEdit *counter = nullptr;

    QLineEdit *numberBox = nullptr;
    QLineEdit *companyBox = nullptr;
    QLineEdit *sequenceNumberBox = nullptr;
    QLineEdit *assignmentNameBox = nullptr;

    QLineEdit *titleBox = nullptr;
    QLineEdit *titleSuffixBox = nullptr;
    QLineEdit *firstNameBox = nullptr;
    QLineEdit *surnamePrefixBox = nullptr;
    QLineEdit *surnameBox = nullptr;
    QLineEdit *preferredNameBox = nullptr;
    QLineEdit *jobTitleBox = nullptr;
    QLineEdit *secretaryBox = nullptr;

    QLineEdit *businessPhoneBox = nullptr;
    QLineEdit *mobilePhoneBox = nullptr;
    QLineEdit *privatePhoneBox = nullptr;
    QLineEdit *secretaryPhoneBox = nullptr;

    QLineEdit *addressBox = nullptr;
    QLineEdit *postcodeBox = nullptr;
    QLineEdit *cityBox = nullptr;
    QPlainTextEdit *invoiceAddressBox = nullptr;

    QLineEdit *loginBox = nullptr;
    QLineEdit *passwordBox = nullptr;

    QLineEdit *businessEmailBox = nullptr;
    platform::PictureButton *businessMailButton = nullptr;
    QLineEdit *privateEmailBox = nullptr;
    QLineEdit *secretaryEmailBox = nullptr;
    QLineEdit *websiteBox = nullptr;
    platform::PictureButton *websiteButton = nullptr;

    QLineEdit *bankNameBox = nullptr;
    QLineEdit *bankAccountNumberBox = nullptr;
    QLineEdit *vatNumberBox = nullptr;
    QLineEdit *chamberOfCommerceNumberBox = nullptr;
};

// Projects, from the project source; light cyan.
class ProjectPane : public RecordPane {
    Q_OBJECT
public:
    explicit ProjectPane(QWidget *parent = nullptr);

    QLabel *heading = nullptr;
    QComboBox *lookupList = nullptr;
    platform::PictureButton *deleteProjectButton = nullptr;
    QLineEdit *counterHeading = nullptr;
    QLineEdit *counter = nullptr;

    QLineEdit *projectCodeBox = nullptr;
    QLineEdit *projectNameBox = nullptr;
    QLineEdit *sequenceNumberBox = nullptr;

    // The project's client and consultant by number, and as the program describes them.
    QLineEdit *clientNumberBox = nullptr;
    QLineEdit *clientCompanyBox = nullptr;
    QLineEdit *consultantNumberBox = nullptr;
    QLineEdit *consultantBox = nullptr;

    QLineEdit *plannedStartBox = nullptr;
    QLineEdit *plannedEndBox = nullptr;
    QLineEdit *clientDayRateBox = nullptr;
    QLineEdit *consultantDayRateBox = nullptr;
    QLineEdit *durationInDaysBox = nullptr;

    QLineEdit *closingFlagBox = nullptr;
    platform::PictureButton *closingFlagButton = nullptr;
    QLabel *closingFlagHint = nullptr;

    QPlainTextEdit *descriptionBox = nullptr;
    QPlainTextEdit *consultantCommentBox = nullptr;
    QPlainTextEdit *adminCommentBox = nullptr;
};

} // namespace talveros::panes
