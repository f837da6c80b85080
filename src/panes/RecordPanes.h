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

    QLabel *makeHeading(const QString &name, const QString &word);
    QComboBox *makeLookup(const QString &name, const QString &designText, const QColor &colour);
    // A read-only box the program writes itself (counter, heading, description).
    QLineEdit *makeInfoBox(const QString &name, const QString &designText);
    QLineEdit *bindLine(const QString &name, const QString &column, int maxLength = 0);
    QPlainTextEdit *bindText(const QString &name, const QString &column, int lines, bool editable = false);

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

// Consultants (Adodc1), light green.
class ConsultantPane : public RecordPane {
    Q_OBJECT
public:
    explicit ConsultantPane(QWidget *parent = nullptr);

    QLabel *Label10 = nullptr;
    QComboBox *Combo1 = nullptr;
    QLineEdit *Text45 = nullptr; // counter heading
    QLineEdit *Text48 = nullptr; // counter

    QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr, *Text5 = nullptr,
              *Text6 = nullptr, *Text7 = nullptr, *Text8 = nullptr, *Text9 = nullptr, *Text10 = nullptr,
              *Text11 = nullptr, *Text12 = nullptr, *Text13 = nullptr, *Text40 = nullptr, *Text41 = nullptr,
              *Text75 = nullptr, *Text76 = nullptr, *Text77 = nullptr, *Text78 = nullptr, *Text96 = nullptr,
              *Text112 = nullptr, *Text126 = nullptr, *Text127 = nullptr, *Text128 = nullptr,
              *Text134 = nullptr, *Text140 = nullptr;

    platform::PictureButton *Image16 = nullptr; // the consultant's web site
};

// Clients (Adodc2), light yellow.
class ClientPane : public RecordPane {
    Q_OBJECT
public:
    explicit ClientPane(QWidget *parent = nullptr);

    QLabel *Label13 = nullptr;
    QComboBox *Combo2 = nullptr;
    QLineEdit *Text33 = nullptr; // counter heading
    QLineEdit *Text47 = nullptr; // counter

    QLineEdit *Text14 = nullptr, *Text15 = nullptr, *Text16 = nullptr, *Text17 = nullptr, *Text18 = nullptr,
              *Text19 = nullptr, *Text20 = nullptr, *Text21 = nullptr, *Text22 = nullptr, *Text23 = nullptr,
              *Text24 = nullptr, *Text25 = nullptr, *Text26 = nullptr, *Text27 = nullptr, *Text28 = nullptr,
              *Text64 = nullptr, *Text66 = nullptr, *Text71 = nullptr, *Text72 = nullptr, *Text73 = nullptr,
              *Text74 = nullptr, *Text95 = nullptr, *Text116 = nullptr, *Text117 = nullptr,
              *Text122 = nullptr, *Text123 = nullptr, *Text124 = nullptr, *Text125 = nullptr,
              *Text129 = nullptr;
    QPlainTextEdit *Text118 = nullptr; // invoice address, several lines

    platform::PictureButton *Image1 = nullptr;  // the client's web site
    platform::PictureButton *Image18 = nullptr; // business mail
};

// Projects (Adodc3), light cyan.
class ProjectPane : public RecordPane {
    Q_OBJECT
public:
    explicit ProjectPane(QWidget *parent = nullptr);

    QLabel *Label14 = nullptr;
    QComboBox *Combo3 = nullptr;
    QLineEdit *Text46 = nullptr; // counter heading
    QLineEdit *Text49 = nullptr; // counter
    QLineEdit *Text50 = nullptr; // company of the project's client
    QLineEdit *Text51 = nullptr; // the project's consultant

    QLineEdit *Text29 = nullptr, *Text30 = nullptr, *Text31 = nullptr, *Text32 = nullptr, *Text34 = nullptr,
              *Text35 = nullptr, *Text36 = nullptr, *Text37 = nullptr, *Text38 = nullptr, *Text44 = nullptr,
              *Text63 = nullptr;
    QPlainTextEdit *Text42 = nullptr, *Text43 = nullptr, *Text67 = nullptr;

    platform::PictureButton *Image4 = nullptr;  // delete the project
    QLabel *Label62 = nullptr;                  // hint beside the closing flag
    platform::PictureButton *Image12 = nullptr; // flips the closing flag
};

} // namespace talveros::panes
