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

    platform::PictureButton *Image5 = nullptr; // create the project (double-click)
    platform::PictureButton *Image6 = nullptr; // start date from the calendar (double-click)
    platform::PictureButton *Image7 = nullptr; // end date from the calendar (double-click)
    QCalendarWidget *Calendar1 = nullptr;

    QComboBox *Combo4 = nullptr; // clients, in the order the table returns them
    QComboBox *Combo5 = nullptr; // consultants, likewise
    QComboBox *Combo6 = nullptr; // existing projects to fetch into the screen

    QLineEdit *Text52 = nullptr; // chosen client number
    QLineEdit *Text53 = nullptr; // chosen consultant number
    QLineEdit *Text54 = nullptr; // project name
    QLineEdit *Text55 = nullptr; // project code
    QLineEdit *Text56 = nullptr; // planned start
    QLineEdit *Text57 = nullptr; // planned end
    QLineEdit *Text58 = nullptr; // contract duration
    QLineEdit *Text59 = nullptr; // purchase day rate
    QLineEdit *Text60 = nullptr; // sales day rate
    QPlainTextEdit *Text61 = nullptr; // message for the consultant
    QPlainTextEdit *Text68 = nullptr; // project description
};

// "Opdrachtgever aanmaken".
class ClientEntryTab : public QWidget {
    Q_OBJECT
public:
    explicit ClientEntryTab(QWidget *parent = nullptr);

    QLabel *heading = nullptr;
    platform::PictureButton *Image8 = nullptr; // create the client (double-click)

    QLineEdit *Text79 = nullptr, *Text80 = nullptr, *Text39 = nullptr, *Text81 = nullptr, *Text82 = nullptr,
              *Text83 = nullptr, *Text84 = nullptr, *Text136 = nullptr, *Text131 = nullptr, *Text119 = nullptr,
              *Text120 = nullptr, *Text69 = nullptr, *Text130 = nullptr, *Text85 = nullptr, *Text121 = nullptr,
              *Text86 = nullptr, *Text87 = nullptr, *Text132 = nullptr, *Text88 = nullptr, *Text133 = nullptr,
              *Text89 = nullptr, *Text90 = nullptr, *Text135 = nullptr, *Text91 = nullptr, *Text92 = nullptr,
              *Text93 = nullptr, *Text94 = nullptr;
};

// "Consultant aanmaken".
class ConsultantEntryTab : public QWidget {
    Q_OBJECT
public:
    explicit ConsultantEntryTab(QWidget *parent = nullptr);

    QLabel *heading = nullptr;
    platform::PictureButton *Image17 = nullptr; // create the consultant (double-click)

    QLineEdit *Text62 = nullptr, *Text97 = nullptr, *Text98 = nullptr, *Text99 = nullptr, *Text100 = nullptr,
              *Text137 = nullptr, *Text138 = nullptr, *Text139 = nullptr, *Text101 = nullptr, *Text102 = nullptr,
              *Text103 = nullptr, *Text141 = nullptr, *Text104 = nullptr, *Text113 = nullptr, *Text105 = nullptr,
              *Text106 = nullptr, *Text142 = nullptr, *Text107 = nullptr, *Text108 = nullptr, *Text109 = nullptr,
              *Text110 = nullptr, *Text65 = nullptr;
};

} // namespace talveros::registration
