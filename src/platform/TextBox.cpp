#include "platform/TextBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace talveros::platform {

QString boxText(const QWidget *box)
{
    if (auto *line = qobject_cast<const QLineEdit *>(box))
        return line->text();
    if (auto *plain = qobject_cast<const QPlainTextEdit *>(box))
        return plain->toPlainText();
    if (auto *rich = qobject_cast<const QTextEdit *>(box))
        return rich->toPlainText();
    if (auto *combo = qobject_cast<const QComboBox *>(box))
        return combo->currentText();
    if (auto *label = qobject_cast<const QLabel *>(box))
        return label->text();
    return {};
}

void setBoxText(QWidget *box, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(box)) {
        line->setText(text);
        line->setCursorPosition(0);
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(box)) {
        if (plain->toPlainText() != text)
            plain->setPlainText(text);
    } else if (auto *rich = qobject_cast<QTextEdit *>(box)) {
        rich->setPlainText(text);
    } else if (auto *combo = qobject_cast<QComboBox *>(box)) {
        combo->setEditText(text);
    } else if (auto *label = qobject_cast<QLabel *>(box)) {
        label->setText(text);
    }
}

} // namespace talveros::platform
