#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace talveros::data {

// The text forms the network's programs share. Plain functions: no widget, no database.

// number + two blanks + title + " " + first name + " " + name prefix + " " + surname;
// empty parts keep their blanks.
QString consultantListEntry(const QString &number, const QString &title, const QString &firstName,
                            const QString &prefix, const QString &surname);
// title + " " + first name + " " + name prefix + " " + surname.
QString personName(const QString &title, const QString &firstName, const QString &prefix, const QString &surname);
// number + two blanks + company.
QString clientListEntry(const QString &number, const QString &company);
// A count with one leading blank, where a sign would stand: " 12".
QString counterText(qsizetype count);
// "mm-dd-yyyy  hh:mm:ss", whatever the workstation's regional settings.
QString dateTimeText(const QDateTime &at);

// The one text order of every sorted list: letters compared without regard to case
// (Unicode case folding, no locale), ties broken by character code, so the order is
// the same on every workstation and equal texts always stand together.
bool textLess(const QString &a, const QString &b);
QStringList sortedTexts(QStringList texts);
// The texts at 0 .. count-1 in that order; `textAt` may be called from two threads at once.
QStringList sortedTextsOf(size_t count, const std::function<QString(size_t)> &textAt);
// Where each of them goes: the places 0 .. count-1 in that order.
std::vector<size_t> sortedOrderOf(size_t count, const std::function<QString(size_t)> &textAt);

// A list sorted as sortedTexts sorts it, kept to be sorted again when it is made anew
// from rows read again. When the new texts are the ones before with a few more after
// them (a row added by a creation), only those are placed: at tens of thousands of
// entries that is a small part of a whole sort. Any other change is sorted whole.
class SortedTexts {
public:
    SortedTexts() = default;
    // `texts` sorted, and kept for the next time.
    SortedTexts with(QStringList texts) const;
    const QStringList &asGiven() const { return m_given; }
    const QStringList &sorted() const { return m_sorted; }

private:
    QStringList m_given;
    QStringList m_sorted;
};

// The one rule for repeats in a list: an entry equal to the one just before it goes,
// the first of a run stays; entries apart from each other both stay.
QStringList withoutNeighbourRepeats(QStringList entries);

} // namespace talveros::data
