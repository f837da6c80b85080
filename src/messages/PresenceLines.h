#pragma once

#include <QString>
#include <QStringList>

namespace talveros::messages {

// The fixed-width texts of the presence lists. Plain functions: no widget, no database.

// The column headers above the client and the consultant list.
QString clientPresenceHeader();
QString consultantPresenceHeader();

// s padded with blanks and cut to exactly n characters.
QString fit(const QString &s, qsizetype n);

// The person's columns as stored; the three presence columns are never NULL here.
struct PresenceRow {
    QString number;
    QString title;
    QString firstName;
    QString prefix;
    QString surname;
    QString signedIn;  // date-time text, inserted as stored
    QString signedOff; // date-time text, inserted as stored
    QString online;    // "ONLINE", "OFFLINE" or whatever another program wrote
};

// online part (7, or 6 for an empty state) + " " + sign-in + "   " + sign-off + "    " + name part (55): with
// 20-character date-time texts 110 characters, its columns under the header's.
QString presenceLine(const PresenceRow &row);

// Descending on the whole line, character code by character code, equal lines kept in
// their order: online people first, then by the sign-in text from its first character.
void sortPresenceLines(QStringList &lines);
// That order: whether line a stands before line b.
bool presenceLineBefore(QStringView a, QStringView b);

// The report of a presence column that holds no value, naming whose row it is.
QString missingPresenceValueText(const QString &column, bool client, const QString &number);

// Signing off with an edit of a bound box that the server would not take: Yes signs off
// without it, No keeps the program and the edit.
QString unsavedEditSignOffQuestion();

} // namespace talveros::messages
