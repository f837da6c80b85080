#include "platform/ListBox.h"

#include <QComboBox>

namespace talveros::platform {

QComboBox *captionedList(QWidget *parent, const QString &objectName, const QString &caption, const QColor &colour,
                         bool sorted)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(objectName);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(25);
    combo->setEditText(caption);
    combo->setProperty("sorted", sorted);
    QPalette p = combo->palette();
    p.setColor(QPalette::Base, colour);
    p.setColor(QPalette::Button, colour);
    combo->setPalette(p);
    return combo;
}

} // namespace talveros::platform
