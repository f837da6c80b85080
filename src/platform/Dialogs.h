#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace talveros::platform {

// The application title every box without a title of its own carries.
inline constexpr auto kAppTitle = "Talveros";

enum class Icon { None, Question, Exclamation, Critical, Information };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

// The progress of a long task, shown while the object lives, with a button to stop it.
class Progress {
public:
    virtual ~Progress() = default;
    // Shows that `done` of the task's steps are done; false once the administrator asked
    // to stop.
    virtual bool advance(int done) = 0;
};

// Modal message and input boxes. Windows ask through this seam so that a test can
// read every box the administrator would see and answer it.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual Answer message(const QString &text, const QString &title, Icon icon, Buttons buttons) = 0;
    // Empty optional when the box was cancelled.
    virtual std::optional<QString> input(const QString &prompt, const QString &title, const QString &defaultText) = 0;
    // Where to write a file: the path chosen, or an empty optional when the box was
    // cancelled. `filters` as Qt's file dialogs take them ("Excel-werkmap (*.xlsx)");
    // the chosen filter, when asked for, names which one the administrator picked. Boxes
    // that never write a file (the benchmarks' own) leave it as cancelled.
    virtual std::optional<QString> saveFileName(const QString & /*title*/, const QString & /*suggestedPath*/,
                                                const QStringList & /*filters*/, QString * /*chosenFilter*/ = nullptr)
    {
        return std::nullopt;
    }

    // The progress box of a task of `total` steps, captioned `text`. Boxes that show none
    // (the benchmarks' own) let every task run to its end.
    virtual std::unique_ptr<Progress> progress(const QString &text, int total);

    // An OK box with the application title and no icon.
    void inform(const QString &text) { message(text, QString::fromLatin1(kAppTitle), Icon::None, Buttons::Ok); }
};

// The text as the real box shows it. A word with a "/" in it (a path, a web address) gets
// a word joiner wherever a line could otherwise break inside it, so word wrap never leaves
// "/etc/" at the end of one line and the rest of the file name on the next. A word for
// which fitsOnALine says no keeps its breaks: joined, the box would cut it off. Only the
// eye sees the difference: what is copied from the box is the text as it was given.
QString withUnbrokenPaths(const QString &text, const std::function<bool(QStringView word)> &fitsOnALine);

class WidgetDialogs final : public Dialogs {
public:
    explicit WidgetDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    Answer message(const QString &text, const QString &title, Icon icon, Buttons buttons) override;
    std::optional<QString> input(const QString &prompt, const QString &title, const QString &defaultText) override;
    std::optional<QString> saveFileName(const QString &title, const QString &suggestedPath, const QStringList &filters,
                                        QString *chosenFilter = nullptr) override;
    std::unique_ptr<Progress> progress(const QString &text, int total) override;

private:
    QWidget *m_parent;
};

} // namespace talveros::platform
