#pragma once

class QComboBox;

namespace talveros::signin {

// How the sign-in window reaches the main window, which exists at most once per run.
class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;
    // The main window's printer list. Asking for it creates and loads the main window
    // (hidden) when it does not exist yet; nullptr when its start-up failed, which has
    // then been reported and has ended the program.
    virtual QComboBox *printerList() = 0;
    // Creates and loads the main window if needed, then shows it.
    virtual void showMainWindow() = 0;
};

} // namespace talveros::signin
