#pragma once

#include "mainwindow/Form1Ui.h"
#include "platform/Services.h"

#include <QObject>

namespace talveros::mainwindow {

// The clock in the status strip, driven by its timer, the information box behind a double-click on
// the title line, and the route-trace box made ready at start-up.
class StatusStripBehaviour : public QObject {
    Q_OBJECT
public:
    StatusStripBehaviour(Form1Ui &ui, platform::Services &services, QObject *parent = nullptr);

    void tickClock();
    void showInformationBox();
    // The route-trace box empty, with its four tab stops.
    void prepareTraceBox();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Form1Ui &m_ui;
    platform::Services &m_services;
};

} // namespace talveros::mainwindow
