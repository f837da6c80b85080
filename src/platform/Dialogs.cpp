#include "platform/Dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QScreen>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <vector>

namespace talveros::platform {

namespace {
constexpr char16_t kWordJoiner = 0x2060;
// Room the box takes beside its text: the icon, the gap to it and the margins.
constexpr int kBesideTheText = 120;

// The widest line the box may show, by the limit the toolkit's message box sets itself
// (at most 1000 pixels, and 480 less than a large screen). A word wider than that it
// cuts off instead of wrapping.
int widestLine(const QWidget &box)
{
    const QScreen *screen = box.screen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
    const int limit = screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
    return limit - kBesideTheText;
}
} // namespace

QString withUnbrokenPaths(const QString &text, const std::function<bool(QStringView word)> &fitsOnALine)
{
    if (!text.contains(u'/'))
        return text;
    // Where the toolkit's own line breaking may break, so that exactly those places
    // inside a path are closed and nothing else changes.
    std::vector<bool> mayBreak(size_t(text.size()) + 1, false);
    QTextBoundaryFinder lines(QTextBoundaryFinder::Line, text);
    for (qsizetype at = lines.toNextBoundary(); at >= 0; at = lines.toNextBoundary())
        mayBreak[size_t(at)] = true;

    QString shown;
    shown.reserve(text.size() + text.count(u'/'));
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        const bool word = !text[start].isSpace();
        while (end < text.size() && !text[end].isSpace() == word)
            ++end;
        const QStringView run = QStringView(text).mid(start, end - start);
        if (!word || !run.contains(u'/') || !fitsOnALine(run)) {
            shown += run;
        } else {
            for (qsizetype i = start; i < end; ++i) {
                if (i > start && mayBreak[size_t(i)])
                    shown += QChar(kWordJoiner);
                shown += text[i];
            }
        }
        start = end;
    }
    return shown;
}

Answer WidgetDialogs::message(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    QMessageBox box(m_parent ? m_parent : QApplication::activeWindow());
    box.setWindowTitle(title.isEmpty() ? QString::fromLatin1(kAppTitle) : title);
    // Boxes quote stored values and the driver's words; a "<b>" in them is text, not markup.
    box.setTextFormat(Qt::PlainText);
    const QFontMetrics metrics(box.font());
    const int widest = widestLine(box);
    box.setText(withUnbrokenPaths(text, [&metrics, widest](QStringView word) {
        return metrics.horizontalAdvance(word.toString()) <= widest;
    }));
    // The joiners are for the eye only: a path copied with them in it names no file.
    QClipboard *clipboard = QGuiApplication::clipboard();
    QObject::connect(clipboard, &QClipboard::dataChanged, &box, [clipboard] {
        const QString copied = clipboard->text();
        if (copied.contains(QChar(kWordJoiner)))
            clipboard->setText(QString(copied).remove(QChar(kWordJoiner)));
    });
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    }
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int result = box.exec();
    if (buttons == Buttons::YesNo)
        return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
    return Answer::Ok;
}

std::optional<QString> WidgetDialogs::input(const QString &prompt, const QString &title, const QString &defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent ? m_parent : QApplication::activeWindow(),
                                               title.isEmpty() ? QString::fromLatin1(kAppTitle) : title, prompt,
                                               QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> WidgetDialogs::saveFileName(const QString &title, const QString &suggestedPath,
                                                   const QStringList &filters, QString *chosenFilter)
{
    QString filter = chosenFilter && !chosenFilter->isEmpty() ? *chosenFilter : filters.value(0);
    const QString path =
        QFileDialog::getSaveFileName(m_parent ? m_parent : QApplication::activeWindow(),
                                     title.isEmpty() ? QString::fromLatin1(kAppTitle) : title, suggestedPath,
                                     filters.join(QStringLiteral(";;")), &filter);
    if (path.isEmpty())
        return std::nullopt;
    if (chosenFilter)
        *chosenFilter = filter;
    return path;
}

namespace {

class NoProgress final : public Progress {
public:
    bool advance(int) override { return true; }
};

// Shown only when the task lasts long enough to be noticed; modal, so nothing else of
// the window runs while it writes, and it answers the stop button between steps.
class BoxProgress final : public Progress {
public:
    BoxProgress(QWidget *parent, const QString &text, int total)
        : m_box(text, QStringLiteral("Annuleren"), 0, std::max(total, 1), parent)
    {
        m_box.setWindowTitle(QString::fromLatin1(kAppTitle));
        m_box.setWindowModality(Qt::WindowModal);
        m_box.setMinimumDuration(500);
        m_box.setAutoReset(false);
        m_box.setAutoClose(false);
        m_box.setValue(0);
    }
    bool advance(int done) override
    {
        m_box.setValue(std::min(done, m_box.maximum()));
        QCoreApplication::processEvents();
        return !m_box.wasCanceled();
    }

private:
    QProgressDialog m_box;
};

} // namespace

std::unique_ptr<Progress> Dialogs::progress(const QString &, int)
{
    return std::make_unique<NoProgress>();
}

std::unique_ptr<Progress> WidgetDialogs::progress(const QString &text, int total)
{
    return std::make_unique<BoxProgress>(m_parent ? m_parent : QApplication::activeWindow(), text, total);
}

} // namespace talveros::platform

namespace talveros::platform {

QString programFaultText(const char *what)
{
    QString text = QStringLiteral("Er is een fout in het programma zelf opgetreden; de actie is afgebroken. Er is "
                                  "niets mis met de gegevens op de server.");
    if (what && *what)
        text += QStringLiteral("\n(%1)").arg(QString::fromUtf8(what));
    return text;
}

QString outOfMemoryText()
{
    return QStringLiteral("Er is niet genoeg geheugen vrij voor deze actie; ze is afgebroken.");
}

} // namespace talveros::platform
