#pragma once

#include "platform/PictureButton.h"
#include "support/Fakes.h"
#include "support/Named.h"
#include "support/TestDb.h"

// What checks of the window drive.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <QTabWidget>

#include <memory>

namespace talveros::mainwindow {
class Form1;
}

namespace talveros::test {

// Empties what the main window reads when it starts (the three record tables, the
// project data and the broadcast message), leaving one empty message for it to read.
void emptyWindowTables();

// The main window over the fakes, filled from the test server as start-up fills it.
// Checks drive it as the administrator does, through its controls' names; the window's
// own calls are on `window` (include mainwindow/Form1.h for those).
class WindowRig : public FakeServices {
public:
    // `output` replaces the fake page output, for checks that read back what was printed.
    explicit WindowRig(platform::PageOutput *output = nullptr);
    ~WindowRig();

private:
    platform::Services m_services;
    std::unique_ptr<mainwindow::Form1> m_window;

public:
    mainwindow::Form1 &window;
    QWidget &form;

    QComboBox *combo(const char *name) const;
    // What the box called `name` shows, one line or several.
    QString text(const char *name) const;
};

// Every entry of a list, in the list's order.
QStringList items(const QComboBox *combo);
QStringList items(const QListWidget *list);
// Chooses an entry the way a click in the open list does.
void choose(QComboBox *combo, const QString &entry);

} // namespace talveros::test
