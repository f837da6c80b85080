#include "platform/ListBox.h"

#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QStringListModel>

namespace talveros::platform {

namespace {

// Keys reach the edit field either straight (a click put the focus there) or through
// the list, which hands them on without passing them by the field's filters; the
// first one on either way prepares the pop-up.
class PopupPreparer final : public QObject {
public:
    PopupPreparer(QComboBox *combo, QCompleter *completer)
        : QObject(combo), m_combo(combo), m_field(combo->lineEdit()), m_completer(completer)
    {
        m_combo->installEventFilter(this);
        if (m_field)
            m_field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::InputMethod) {
            if (m_completer) {
                if (auto *view = qobject_cast<QListView *>(m_completer->popup()))
                    view->setUniformItemSizes(true);
            }
            m_combo->removeEventFilter(this);
            if (m_field)
                m_field->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QComboBox *m_combo;
    QPointer<QLineEdit> m_field;
    QPointer<QCompleter> m_completer;
};

} // namespace

QComboBox *captionedList(QWidget *parent, const QString &objectName, const QString &caption, const QColor &colour)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(objectName);
    // The list model the entries will be set through is there before the edit field,
    // its completer and the drop-down view are made, so that they are made on it once
    // and not handed a new model again when the entries come.
    combo->setModel(new QStringListModel(combo));
    // Its layout gives it its size; becoming editable would otherwise size it to its
    // contents first, for nothing.
    combo->setAttribute(Qt::WA_Resized);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(25);
    combo->setEditText(caption);
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
    // The pop-up is a whole list view; most lists are never typed in, so it is made,
    // and told its rows are all of one height (measuring thousands of rows would stall
    // the first offer), only when the first key reaches the edit field.
    new PopupPreparer(combo, completer);
}

} // namespace talveros::platform
