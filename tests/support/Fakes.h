#pragma once

#include "platform/AppControl.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "platform/Workstation.h"
#include "support/FakeIcmpEcho.h"
#include "support/FakePageOutput.h"
#include "support/FakeShell.h"
#include "support/FakeSound.h"

#include <QDateTime>
#include <QStringList>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace talveros::test {

// Records every box and answers from a queue (OK, or No when a Yes/No box finds the
// queue empty), so a test reads exactly what the administrator would have seen.
class FakeDialogs final : public platform::Dialogs {
public:
    struct Box {
        QString text;
        QString title;
        platform::Icon icon;
        platform::Buttons buttons;
    };
    struct InputBox {
        QString prompt;
        QString title;
        QString defaultText;
    };

    platform::Answer message(const QString &text, const QString &title, platform::Icon icon,
                             platform::Buttons buttons) override
    {
        boxes.push_back({text, title, icon, buttons});
        if (buttons == platform::Buttons::Ok)
            return platform::Answer::Ok;
        if (answers.empty())
            return platform::Answer::No;
        const platform::Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<QString> input(const QString &prompt, const QString &title, const QString &defaultText) override
    {
        inputs.push_back({prompt, title, defaultText});
        if (inputAnswers.empty())
            return std::nullopt;
        const QString answer = inputAnswers.front();
        inputAnswers.pop_front();
        if (answer.isNull())
            return std::nullopt;
        return answer;
    }

    // Answers from saveAnswers (a null QString cancels the box); the filter chosen is
    // the one whose pattern the answer's suffix matches, else the first.
    std::optional<QString> saveFileName(const QString &title, const QString &suggestedPath, const QStringList &filters,
                                        QString *chosenFilter = nullptr) override
    {
        saves.push_back({title, suggestedPath, filters});
        if (saveAnswers.empty())
            return std::nullopt;
        const QString answer = saveAnswers.front();
        saveAnswers.pop_front();
        if (answer.isNull())
            return std::nullopt;
        if (chosenFilter) {
            *chosenFilter = filters.value(0);
            for (const QString &f : filters)
                if (f.contains(QStringLiteral("*.") + answer.section(QLatin1Char('.'), -1)))
                    *chosenFilter = f;
        }
        return answer;
    }

    // A progress box that records its caption and the steps it was told, and stops the
    // task once it is told stopProgressAt steps or more are done (never when negative).
    std::unique_ptr<platform::Progress> progress(const QString &text, int total) override
    {
        progresses.push_back({text, total, {}});
        class Recorded final : public platform::Progress {
        public:
            Recorded(FakeDialogs &d, size_t i) : m_d(d), m_i(i) {}
            bool advance(int done) override
            {
                m_d.progresses[m_i].steps << done;
                return m_d.stopProgressAt < 0 || done < m_d.stopProgressAt;
            }

        private:
            FakeDialogs &m_d;
            size_t m_i;
        };
        return std::make_unique<Recorded>(*this, progresses.size() - 1);
    }

    QStringList texts() const
    {
        QStringList t;
        for (const Box &b : boxes)
            t << b.text;
        return t;
    }

    std::vector<Box> boxes;
    std::vector<InputBox> inputs;
    std::deque<platform::Answer> answers;
    std::deque<QString> inputAnswers; // a null QString cancels the box
    struct SaveBox {
        QString title;
        QString suggestedPath;
        QStringList filters;
    };
    std::vector<SaveBox> saves;
    std::deque<QString> saveAnswers;
    struct ProgressBox {
        QString text;
        int total;
        QList<int> steps;
    };
    std::vector<ProgressBox> progresses;
    int stopProgressAt = -1;
};

class FakeClock final : public platform::Clock {
public:
    explicit FakeClock(QDateTime at = QDateTime(QDate(2008, 1, 15), QTime(14, 5, 9))) : at(std::move(at)) {}
    QDateTime now() const override { return at; }
    QDateTime at;
};

class FakePrinters final : public platform::Printers {
public:
    QStringList installed() const override { return names; }
    QString defaultPrinter() const override { return defaultName; }
    void use(const QString &deviceName) override { used << deviceName; }

    QStringList names;
    QString defaultName;
    QStringList used;
};

class FakeWorkstation final : public platform::Workstation {
public:
    std::optional<QString> accountName() const override { return account; }
    std::vector<platform::BoardRecord> boards() const override { return boardList; }
    std::vector<platform::AdapterRecord> adapters() const override { return adapterList; }
    QString dateSeparator() const override { return separator; }
    QString timeFormat() const override { return time; }

    std::optional<QString> account = QStringLiteral("jansen");
    std::vector<platform::BoardRecord> boardList;
    std::vector<platform::AdapterRecord> adapterList;
    QString separator = QStringLiteral("/");
    QString time = QStringLiteral("HH:mm:ss");
};

class FakeAppControl final : public platform::AppControl {
public:
    void quit(int exitCode) override { exitCodes.push_back(exitCode); }
    bool quitRequested() const { return !exitCodes.empty(); }
    std::vector<int> exitCodes;
};

// Every workstation seam faked at once, wired into the services a window takes.
struct FakeServices {
    FakeDialogs dialogs;
    FakeClock clock;
    FakePrinters printers;
    FakeWorkstation workstation;
    FakeAppControl app;
    FakeSound sound;
    FakeShell shell;
    FakeIcmpEcho icmp;
    FakePageOutput pages;
    platform::Services services{dialogs, clock, printers, workstation, app, sound, shell, icmp, pages};
};

} // namespace talveros::test
