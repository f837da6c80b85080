#include "platform/TextBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <vector>

namespace talveros::platform {

namespace {

constexpr char kStoredProperty[] = "talverosStoredText";
constexpr char kLimitProperty[] = "talverosTypingLimit";

// The document's own text: toPlainText would turn a non-breaking space into a blank.
QString documentText(const QTextDocument *document)
{
    QString text = document->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

bool isBreakStart(const QString &s, qsizetype i) { return s[i] == u'\r' || s[i] == u'\n'; }

// Length of the line break that starts at i: CR LF counts as one break.
qsizetype breakLength(const QString &s, qsizetype i)
{
    return (s[i] == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n') ? 2 : 1;
}

// Undoes an edit of the administrator's that makes the text longer than the limit
// and longer than it was, so that a longer value put in by the program is shown whole
// and can still be shortened. (A validator cannot do this: the program's own setText
// goes through it too.)
class TypingLimit final : public QObject {
public:
    TypingLimit(QLineEdit *box, int limit) : QObject(box), m_limit(limit), m_current(box->text())
    {
        setObjectName(QLatin1String(kLimitProperty));
        // An edit is announced before the change is, so m_current still holds the
        // text as it was before the edit.
        connect(box, &QLineEdit::textEdited, this, [this, box](const QString &text) {
            if (text.size() > m_limit && text.size() > m_current.size()) {
                const int cursor = box->cursorPosition() - int(text.size() - m_current.size());
                box->setText(m_current);
                box->setCursorPosition(std::max(0, cursor));
            }
        });
        connect(box, &QLineEdit::textChanged, this, [this, box] { m_current = box->text(); });
    }

private:
    int m_limit;
    QString m_current;
};

} // namespace

QString shownText(const QString &stored)
{
    QString shown;
    shown.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size();) {
        if (isBreakStart(stored, i)) {
            shown += u'\n';
            i += breakLength(stored, i);
        } else {
            shown += stored[i++];
        }
    }
    return shown;
}

QString storedAfterEdit(const QString &stored, const QString &shown)
{
    // Where each shown character begins in the stored text, plus the end.
    std::vector<qsizetype> start;
    start.reserve(stored.size() + 1);
    QString original;
    original.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size();) {
        start.push_back(i);
        if (isBreakStart(stored, i)) {
            original += u'\n';
            i += breakLength(stored, i);
        } else {
            original += stored[i++];
        }
    }
    start.push_back(stored.size());
    if (original == shown)
        return stored;

    qsizetype prefix = 0;
    const qsizetype common = std::min(original.size(), shown.size());
    while (prefix < common && original[prefix] == shown[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < common - prefix && original[original.size() - 1 - suffix] == shown[shown.size() - 1 - suffix])
        ++suffix;

    QString typed = shown.mid(prefix, shown.size() - prefix - suffix);
    typed.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return stored.left(start[prefix]) + typed + stored.mid(start[original.size() - suffix]);
}

QString boxText(const QWidget *box)
{
    if (auto *line = qobject_cast<const QLineEdit *>(box))
        return line->text();
    if (auto *plain = qobject_cast<const QPlainTextEdit *>(box))
        return storedAfterEdit(plain->property(kStoredProperty).toString(), documentText(plain->document()));
    if (auto *rich = qobject_cast<const QTextEdit *>(box))
        return storedAfterEdit(rich->property(kStoredProperty).toString(), documentText(rich->document()));
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
        plain->setProperty(kStoredProperty, text);
        if (documentText(plain->document()) != shownText(text))
            plain->setPlainText(text);
    } else if (auto *rich = qobject_cast<QTextEdit *>(box)) {
        rich->setProperty(kStoredProperty, text);
        rich->setPlainText(text);
    } else if (auto *combo = qobject_cast<QComboBox *>(box)) {
        combo->setEditText(text);
    } else if (auto *label = qobject_cast<QLabel *>(box)) {
        label->setText(text);
    }
}

void limitTyping(QLineEdit *box, int limit)
{
    box->setProperty(kLimitProperty, limit);
    delete box->findChild<QObject *>(QLatin1String(kLimitProperty), Qt::FindDirectChildrenOnly);
    if (limit > 0)
        new TypingLimit(box, limit);
}

int typingLimit(const QLineEdit *box) { return box->property(kLimitProperty).toInt(); }

} // namespace talveros::platform
