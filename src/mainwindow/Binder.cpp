#include "mainwindow/Binder.h"

#include "platform/Action.h"
#include "platform/TextBox.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace talveros::mainwindow {

namespace {
bool editable(const QWidget *box)
{
    if (auto *line = qobject_cast<const QLineEdit *>(box))
        return !line->isReadOnly();
    if (auto *plain = qobject_cast<const QPlainTextEdit *>(box))
        return !plain->isReadOnly();
    return false;
}

void setReadOnly(QWidget *box, bool readOnly)
{
    if (auto *line = qobject_cast<QLineEdit *>(box))
        line->setReadOnly(readOnly);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(box))
        plain->setReadOnly(readOnly);
}
} // namespace

Binder::Binder(data::BoundSource &source, QList<QPair<QWidget *, QString>> bindings, platform::Dialogs &dialogs,
               QObject *parent)
    : QObject(parent), m_source(source), m_dialogs(dialogs), m_bindings(std::move(bindings))
{
    connect(&m_source, &data::BoundSource::currentChanged, this, &Binder::showCurrent);
    connect(&m_source, &data::BoundSource::edited, this, &Binder::showEdit);
    if (!m_source.isWritable())
        return;
    for (const auto &[box, column] : std::as_const(m_bindings)) {
        auto onChange = [this, box = box, column = column] { boxChanged(box, column); };
        if (auto *line = qobject_cast<QLineEdit *>(box))
            connect(line, &QLineEdit::textChanged, this, onChange);
        else if (auto *plain = qobject_cast<QPlainTextEdit *>(box))
            connect(plain, &QPlainTextEdit::textChanged, this, onChange);
    }
}

void Binder::showCurrent()
{
    m_filling = true;
    for (const auto &[box, column] : std::as_const(m_bindings)) {
        platform::setBoxText(box, m_source.hasColumn(column) ? m_source.field(column) : QString());
        // An edit needs a row to go to: past the last row the editable boxes wait.
        if (box->property("talverosEditable").isValid() || editable(box)) {
            box->setProperty("talverosEditable", true);
            setReadOnly(box, m_source.eof());
        }
    }
    m_filling = false;
}

void Binder::showEdit(int column)
{
    m_filling = true;
    for (const auto &[box, name] : std::as_const(m_bindings)) {
        if (m_source.hasColumn(name) && m_source.columnIndex(name) == column)
            platform::setBoxText(box, m_source.field(name));
    }
    m_filling = false;
}

void Binder::boxChanged(QWidget *box, const QString &column)
{
    if (m_filling || m_source.eof() || !m_source.hasColumn(column))
        return;
    const QString text = platform::boxText(box);
    if (text == m_source.field(column))
        return;
    platform::runAction(m_dialogs, [&] { m_source.setPendingEdit(column, text); });
}

} // namespace talveros::mainwindow
