#include "platform/TextBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QValidator>

#include <algorithm>
#include <limits>
#include <vector>

namespace talveros::platform {

namespace {

constexpr char kStoredProperty[] = "talverosStoredText";
constexpr char kLimitProperty[] = "talverosTypingLimit";
constexpr char kRulesName[] = "talverosTypingRules";

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

// What an edit of the administrator's may put into a one-line box: whatever way the
// characters arrive (typed, pasted, dropped, from an input method), the box ends up as
// if they had been typed one by one. Typing refuses control characters and half
// characters, the box's own filter refuses more, and the limit refuses a character
// that would make the text longer than the limit and longer than it was, so that a
// longer value put in by the program is shown whole and can still be shortened.
//
// The box asks its validator before it announces a change, so every listener hears
// only the text the box keeps. The program's own setText is asked too: it is told
// apart by its having emptied the undo history, which every edit fills.
class TypingRules final : public QValidator {
public:
    explicit TypingRules(QLineEdit *box) : QValidator(box), m_box(box), m_current(box->text())
    {
        setObjectName(QLatin1String(kRulesName));
        connect(box, &QLineEdit::textChanged, this, [this] { m_current = m_box->text(); });
        box->setValidator(this);
    }

    State validate(QString &text, int &cursor) const override
    {
        if (!m_box->isUndoAvailable() || text == m_current)
            return Acceptable;
        qsizetype end = 0;
        QString kept = keptAfterEdit(m_current, text, limit, allowed, &end);
        if (kept != text) {
            text = std::move(kept);
            cursor = int(end);
        }
        return Acceptable;
    }

    int limit = 0;
    bool (*allowed)(QChar) = nullptr;

private:
    QLineEdit *m_box;
    QString m_current;
};

// The same for a multi-line box, where a new line is typed too but a tab is not (it
// moves on to the next box). The program's own setPlainText replaces the text with the
// undo history switched off; an edit of the administrator's is recorded in it. The
// characters typing could not have made are taken out as part of the same step, so
// that undoing the paste undoes all of it.
class PastedTextFilter final : public QObject {
public:
    explicit PastedTextFilter(QPlainTextEdit *box) : QObject(box)
    {
        setObjectName(QLatin1String(kRulesName));
        QTextDocument *document = box->document();
        connect(document, &QTextDocument::contentsChange, this, [this, document](int from, int, int added) {
            if (added <= 0 || m_cleaning || !document->isUndoRedoEnabled())
                return;
            m_from = m_from < 0 ? from : std::min(m_from, from);
            m_to = std::max(m_to, from + added);
        });
        connect(document, &QTextDocument::contentsChanged, this, [this, document] { clean(document); });
    }

private:
    void clean(QTextDocument *document)
    {
        if (m_from < 0 || m_cleaning)
            return;
        const int from = m_from, to = std::min(m_to, document->characterCount());
        m_from = m_to = -1;
        QList<int> refused; // last first, so that each removal leaves the others in place
        for (int i = from; i < to; ++i) {
            const QChar c = document->characterAt(i);
            if (c.isHighSurrogate() && i + 1 < to && document->characterAt(i + 1).isLowSurrogate()) {
                ++i;
                continue;
            }
            if (c.isSurrogate() || c.category() == QChar::Other_Control)
                refused.prepend(i);
        }
        if (refused.isEmpty())
            return;
        m_cleaning = true;
        QTextCursor cursor(document);
        cursor.joinPreviousEditBlock();
        for (const int position : std::as_const(refused)) {
            cursor.setPosition(position);
            cursor.deleteChar();
        }
        cursor.endEditBlock();
        m_cleaning = false;
    }

    int m_from = -1;
    int m_to = -1;
    bool m_cleaning = false;
};

TypingRules *rulesOf(QLineEdit *box)
{
    auto *rules = box->findChild<TypingRules *>(QLatin1String(kRulesName), Qt::FindDirectChildrenOnly);
    return rules ? rules : new TypingRules(box);
}

} // namespace

QString keptAfterEdit(const QString &before, const QString &after, int limit, bool (*allowed)(QChar),
                      qsizetype *cursor)
{
    const qsizetype common = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < common && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < common - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const qsizetype removed = before.size() - prefix - suffix;
    const QStringView inserted = QStringView(after).sliced(prefix, after.size() - prefix - suffix);

    QString kept = after.left(prefix);
    qsizetype length = before.size() - removed;
    qsizetype previous = before.size();
    for (qsizetype i = 0; i < inserted.size(); ++i) {
        const QChar c = inserted[i];
        const qsizetype width =
            c.isHighSurrogate() && i + 1 < inserted.size() && inserted[i + 1].isLowSurrogate() ? 2 : 1;
        const QStringView typed = inserted.sliced(i, width);
        if ((width == 1 && (c.isSurrogate() || c.category() == QChar::Other_Control))
            || (allowed && !std::all_of(typed.begin(), typed.end(), allowed))) {
            i += width - 1;
            continue;
        }
        // One typed character at a time: refused when it makes the text longer than the
        // limit and longer than it was a keystroke ago.
        if (limit > 0 && length + width > limit && length + width > previous) {
            i += width - 1;
            continue;
        }
        kept += typed;
        previous = length;
        length += width;
        i += width - 1;
    }
    if (cursor)
        *cursor = kept.size();
    kept += QStringView(after).last(suffix);
    return kept;
}

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
    // The box's own limit would cut what the program puts in.
    box->setMaxLength(std::numeric_limits<int>::max());
    rulesOf(box)->limit = std::max(limit, 0);
}

void restrictTyping(QLineEdit *box, bool (*allowed)(QChar)) { rulesOf(box)->allowed = allowed; }

void limitTyping(QPlainTextEdit *box)
{
    if (!box->findChild<PastedTextFilter *>(QLatin1String(kRulesName), Qt::FindDirectChildrenOnly))
        new PastedTextFilter(box);
}

int typingLimit(const QLineEdit *box) { return box->property(kLimitProperty).toInt(); }

} // namespace talveros::platform
