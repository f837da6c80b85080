#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

class QComboBox;
class QWidget;

namespace talveros::platform {

// A drop-down list with an edit field that shows its caption until an entry is
// chosen, in the colour of the records it lists. It keeps its entries in the order they
// are given: a filler that wants them in the program's text order sorts them first.
QComboBox *captionedList(QWidget *parent, const QString &objectName, const QString &caption, const QColor &colour);

// Sets all entries of a drop-down list at once through one list model (an item object
// and a change signal per entry cost more than reading the entries did), with no entry
// chosen and `shown` as the list's text.
void setListEntries(QComboBox *combo, const QStringList &entries, const QString &shown);

// Typing in the list's edit field offers, in a pop-up, the entries that contain the
// typed text whatever its case. Choosing one there is choosing it from the list: the
// entry becomes current and the list reports it `activated`, as a click does. Follows
// the entries that setListEntries gives the list later.
void findAsYouType(QComboBox *combo);

} // namespace talveros::platform
