#pragma once

#include "data/BoundSource.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

class QWidget;

namespace talveros::mainwindow {

// Keeps text boxes showing the current row of a bound source. A change to a box of a
// writable source that did not come from the source itself becomes the source's
// pending edit, written when the source leaves the row.
class Binder : public QObject {
    Q_OBJECT
public:
    Binder(data::BoundSource &source, QList<QPair<QWidget *, QString>> bindings, QObject *parent = nullptr);

    void showCurrent();

private:
    void boxChanged(QWidget *box, const QString &column);

    data::BoundSource &m_source;
    QList<QPair<QWidget *, QString>> m_bindings;
    bool m_filling = false;
};

} // namespace talveros::mainwindow
