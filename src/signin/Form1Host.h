#pragma once

#include "platform/Services.h"
#include "signin/MainWindowHost.h"

#include <memory>

namespace talveros::mainwindow {
class Form1;
}

namespace talveros::signin {

// Makes the main window at most once and runs its start-up before anyone sees it. A
// start-up that fails leaves no window to work in: it is reported and ends the run.
class Form1Host final : public MainWindowHost {
public:
    explicit Form1Host(platform::Services &services);
    ~Form1Host() override;

    bool showPrinters(const QStringList &printers, int chosen) override;
    void showMainWindow() override;
    mainwindow::Form1 *window() const { return m_form.get(); }

private:
    mainwindow::Form1 *ensure();

    platform::Services &m_services;
    std::unique_ptr<mainwindow::Form1> m_form;
    bool m_failed = false;
};

// The exit status of a run whose main window could not be built.
inline constexpr int kExitStartUpFailed = 2;

} // namespace talveros::signin
