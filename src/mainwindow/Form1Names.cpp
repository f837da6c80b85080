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
    name({});
    // Invoicing, communication, presence and the web browser tab.
    name({});
}

} // namespace talveros::mainwindow
