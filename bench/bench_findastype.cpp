// Keystroke to offered entries: typing in a look-up list of 20,000 entries, from the key
// press until the pop-up shows the entries containing the typed text and has painted.
// The baseline, measured in the same run, is a bare line edit whose every edit filters
// the same entries with QString::contains into a list view shown the same way: no
// completer and nothing of the program's lists.
//
//   bench_findastype [ENTRIES] [RUNS]
#include "platform/ListBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QStringListModel>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace talveros;

namespace {

// Consultant entries as the lists show them: number, two blanks, title and name.
QStringList entries(int count)
{
    const char16_t *first[] = {u"Jan", u"Émile", u"Anna", u"Pieter", u"Ölçü", u"Sanne", u"Kees", u"Ingrid",
                               u"Mohammed", u"Lotte", u"Bram", u"Renée", u"Femke", u"Ruud", u"Zoë", u"Daan"};
    const char16_t *prefix[] = {u"", u"van", u"de", u"van der", u"ter", u""};
    const char16_t *last[] = {u"Jansen", u"de Vries", u"Bakker", u"Visser", u"Smit", u"Meijer", u"Mulder",
                              u"Bos", u"Vos", u"Peters", u"Hendriks", u"Dekker", u"Brouwer", u"Dijkstra",
                              u"Gerritsen", u"Kuipers", u"Verhoeven", u"Çelik", u"Şahin", u"Groot"};
    QStringList list;
    list.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int a = i % 16, b = (i / 16) % 6, c = (i / 96) % 20;
        list << QStringLiteral("%1  ir. %2 %3 %4 %5")
                    .arg(i + 1, 5, 10, QLatin1Char('0'))
                    .arg(QString::fromUtf16(first[a]), QString::fromUtf16(prefix[b]), QString::fromUtf16(last[c]))
                    .arg(i * 7919 % 100000);
    }
    return list;
}

// One keystroke a character; \b takes one away.
const QString kKeys = QStringLiteral("jans\b\b\b\be\b\u00e9mi\b\b\b0123\b\b\b\bvan der b\b\b\b\b\b\b\b\b\bzz\b\b");

// Types kKeys into `edit` and notes the time of each keystroke until everything it
// started has painted.
std::vector<double> typeAll(QLineEdit *edit)
{
    std::vector<double> times;
    QString expected;
    for (const QChar c : kKeys) {
        const bool backspace = c == u'\b';
        const QString key = backspace ? QString() : QString(c);
        const int code = backspace ? Qt::Key_Backspace : 0;
        QElapsedTimer timer;
        timer.start();
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, key);
        QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, key);
        QApplication::sendEvent(edit, &press);
        QApplication::sendEvent(edit, &release);
        QApplication::processEvents();
        QApplication::processEvents();
        times.push_back(timer.nsecsElapsed() / 1e6);
        expected = backspace ? expected.chopped(1) : expected + c;
        if (edit->text() != expected) {
            std::fprintf(stderr, "typed %s, the field shows %s\n", qPrintable(expected), qPrintable(edit->text()));
            std::exit(1);
        }
    }
    return times;
}

struct Summary {
    double median, worst, total;
};

Summary summary(std::vector<double> t)
{
    double total = 0;
    for (double v : t)
        total += v;
    std::sort(t.begin(), t.end());
    return {t[t.size() / 2], t.back(), total};
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 20000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const QStringList list = entries(count);

    // The program's list.
    QWidget ours;
    auto *combo = platform::captionedList(&ours, QStringLiteral("Combo1"), QStringLiteral("Consultants lijst"),
                                          Qt::green);
    platform::findAsYouType(combo);
    platform::setListEntries(combo, list, QStringLiteral("Consultants lijst"));
    combo->setMinimumWidth(400);
    ours.show();
    combo->lineEdit()->clear();
    combo->lineEdit()->setFocus();

    // The baseline: filter and show, nothing else.
    QWidget bare;
    auto *edit = new QLineEdit(&bare);
    edit->setMinimumWidth(400);
    QStringListModel shownEntries;
    QListView popup;
    popup.setWindowFlags(Qt::Popup);
    popup.setUniformItemSizes(true);
    popup.setModel(&shownEntries);
    QObject::connect(edit, &QLineEdit::textEdited, [&](const QString &text) {
        if (text.isEmpty()) {
            popup.hide();
            return;
        }
        QStringList found;
        for (const QString &entry : list)
            if (entry.contains(text, Qt::CaseInsensitive))
                found << entry;
        shownEntries.setStringList(found);
        if (found.isEmpty()) {
            popup.hide();
            return;
        }
        popup.setGeometry(QRect(edit->mapToGlobal(QPoint(0, edit->height())), QSize(edit->width(), 25 * 16)));
        popup.show();
    });
    bare.show();
    edit->setFocus();

    Summary best[2] = {{1e9, 1e9, 1e9}, {1e9, 1e9, 1e9}};
    for (int run = 0; run < runs; ++run) {
        QLineEdit *fields[2] = {edit, combo->lineEdit()};
        for (int which = 0; which < 2; ++which) {
            fields[which]->activateWindow();
            fields[which]->setFocus();
            const Summary s = summary(typeAll(fields[which]));
            best[which] = {std::min(best[which].median, s.median), std::min(best[which].worst, s.worst),
                           std::min(best[which].total, s.total)};
        }
    }
    if (combo->completer()->popup()->isVisible() || combo->lineEdit()->text() != QString()) {
        std::fprintf(stderr, "the list did not end empty\n");
        return 1;
    }
    std::printf("%d entries, %lld keystrokes, best of %d runs (ms a keystroke)\n", count, qlonglong(kKeys.size()),
                runs);
    std::printf("%-34s median %7.2f   worst %7.2f   all %8.1f\n", "baseline: filter + list view", best[0].median,
                best[0].worst, best[0].total);
    std::printf("%-34s median %7.2f   worst %7.2f   all %8.1f   (%.2fx the baseline)\n", "look-up list, find as you type",
                best[1].median, best[1].worst, best[1].total, best[1].total / best[0].total);
    return best[1].worst <= 30.0 ? 0 : 3;
}
