#pragma once

#include <QStringList>

namespace talveros::signin {

// How the sign-in window reaches the main window, which exists at most once per run.
class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;
    // The installed printers into the main window's printer list, `chosen` (an index,
    // or -1) selected. This creates and loads the main window (hidden) when it does not
    // exist yet; false when its start-up failed, which has then been reported and has
    // ended the program.
    virtual bool showPrinters(const QStringList &printers, int chosen) = 0;
    // Creates and loads the main window if needed, then shows it.
    virtual void showMainWindow() = 0;
};

} // namespace talveros::signin
