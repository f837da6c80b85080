#pragma once

#include "platform/Services.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QObject>
#include <QPlainTextEdit>
#include <QTimer>

namespace talveros::mainwindow {

// The clock in the status strip, driven by its timer, the information box behind a double-click on
// the title line, and the route-trace box made ready at start-up.
class StatusStripBehaviour : public QObject {
    Q_OBJECT
public:
    // What it paints and reads: the strip's own controls, and the calendar whose date
    // unlocks the information box.
    struct Parts {
        QLabel *titleLabel = nullptr;
        QLabel *clock = nullptr;
        QPlainTextEdit *traceBox = nullptr;
        QTimer *clockTimer = nullptr;
        const QCalendarWidget *calendar = nullptr;
    };
    StatusStripBehaviour(const Parts &parts, platform::Services &services, QObject *parent = nullptr);

    void tickClock();
    void showInformationBox();
    // The route-trace box empty, with its four tab stops.
    void prepareTraceBox();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Parts m_ui;
    platform::Services &m_services;
};

} // namespace talveros::mainwindow
