#pragma once

#include <QColor>
#include <QString>

class QComboBox;
class QWidget;

namespace talveros::platform {

// A drop-down list with an edit field that shows its caption until an entry is
// chosen, in the colour of the records it lists. `sorted` marks a list whose filler
// keeps it in the program's text order; the widget itself keeps insertion order.
QComboBox *captionedList(QWidget *parent, const QString &objectName, const QString &caption, const QColor &colour,
                         bool sorted);

} // namespace talveros::platform
