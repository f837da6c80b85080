#pragma once

#include "data/BoundSource.h"
#include "platform/Dialogs.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

class QWidget;

namespace talveros::mainwindow {

// Keeps text boxes showing the current row of a bound source. A change to a box of a
// writable source that did not come from the source itself becomes the source's
// pending edit, written when the source leaves the row. Noting an edit can write an
// earlier one, so a failure there is reported like any action's.
class Binder : public QObject {
    Q_OBJECT
public:
    Binder(data::BoundSource &source, QList<QPair<QWidget *, QString>> bindings, platform::Dialogs &dialogs,
           QObject *parent = nullptr);

    void showCurrent();
    // Shows a value the program gave a column of the current row.
    void showEdit(int column);

private:
    void boxChanged(QWidget *box, const QString &column);

    data::BoundSource &m_source;
    platform::Dialogs &m_dialogs;
    QList<QPair<QWidget *, QString>> m_bindings;
    bool m_filling = false;
};

} // namespace talveros::mainwindow
