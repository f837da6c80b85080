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

// The one rule for repeats in a list: an entry equal to the one just before it goes,
// the first of a run stays; entries apart from each other both stay.
QStringList withoutNeighbourRepeats(QStringList entries);

} // namespace talveros::data
