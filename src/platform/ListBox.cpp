#include "platform/ListBox.h"

#include <QComboBox>
#include <QCompleter>
#include <QListView>
#include <QStringListModel>

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

void setListEntries(QComboBox *combo, const QStringList &entries, const QString &shown)
{
    auto *model = qobject_cast<QStringListModel *>(combo->model());
    if (!model) {
        model = new QStringListModel(combo);
        combo->setModel(model);
    }
    model->setStringList(entries);
    combo->setCurrentIndex(-1);
    combo->setEditText(shown);
}

void findAsYouType(QComboBox *combo)
{
    // The list's own completer already follows every model the list is given.
    QCompleter *completer = combo->completer();
    if (!completer) {
        completer = new QCompleter(combo->model(), combo);
        combo->setCompleter(completer);
    }
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setMaxVisibleItems(combo->maxVisibleItems());
    if (auto *view = qobject_cast<QListView *>(completer->popup()))
        view->setUniformItemSizes(true);
}

} // namespace talveros::platform
