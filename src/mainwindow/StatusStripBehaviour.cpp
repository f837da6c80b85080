#include "mainwindow/StatusStripBehaviour.h"

#include "data/TextForms.h"
#include "mainwindow/Form1.h"

#include <QTextDocument>
#include "platform/Action.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QTextOption>

namespace talveros::mainwindow {

StatusStripBehaviour::StatusStripBehaviour(const Parts &parts, platform::Services &services, QObject *parent)
    : QObject(parent), m_ui(parts), m_services(services)
{
    connect(parts.clockTimer, &QTimer::timeout, this, &StatusStripBehaviour::tickClock);
    parts.titleLabel->installEventFilter(this);
}

void StatusStripBehaviour::tickClock() { m_ui.clock->setText(data::dateTimeText(m_services.clock.now())); }

void StatusStripBehaviour::showInformationBox()
{
    // Only on the calendar's 11 January: the title line keeps its secret otherwise.
    const QDate shown = m_ui.calendar->selectedDate();
    if (shown.day() != 11 || shown.month() != 1)
        return;
    m_services.dialogs.message(informationText(), QString::fromLatin1(platform::kAppTitle), platform::Icon::Information,
                               platform::Buttons::Ok);
}

void StatusStripBehaviour::prepareTraceBox()
{
    QPlainTextEdit *box = m_ui.traceBox;
    box->clear();
    // Tab stops at 30, 54, 105 and 182 dialog units: a quarter of the average
    // character width each.
    const qreal unit = QFontMetricsF(box->font()).averageCharWidth() / 4.0;
    QTextOption option = box->document()->defaultTextOption();
    QList<QTextOption::Tab> tabs;
    for (int dlu : {30, 54, 105, 182})
        tabs.append(QTextOption::Tab(dlu * unit, QTextOption::LeftTab));
    option.setTabs(tabs);
    box->document()->setDefaultTextOption(option);
    box->viewport()->update();
}

bool StatusStripBehaviour::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui.titleLabel && event->type() == QEvent::MouseButtonDblClick) {
        platform::runAction(m_services.dialogs, [this] { showInformationBox(); });
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace talveros::mainwindow
