#include "messages/PresenceLines.h"

#include <algorithm>

namespace talveros::messages {

QString clientPresenceHeader()
{
    return QStringLiteral("ONLINE  INLOGDATUM  INLOGTIJD  UITLOGDATUM UITLOGTIJD  OPDR  TITEL   NAAM");
}

QString consultantPresenceHeader()
{
    return QStringLiteral("ONLINE  INLOGDATUM  INLOGTIJD  UITLOGDATUM UITLOGTIJD  CONS  TITEL   NAAM");
}

namespace {

// Appends s padded with blanks or cut to exactly n characters. A cut through a
// character outside the basic plane would leave half of it, which no font can show; a
// blank keeps the width.
void appendFit(QString &out, QStringView s, qsizetype n)
{
    if (s.size() >= n) {
        const QStringView cut = s.first(n);
        if (n > 0 && cut.back().isHighSurrogate()) {
            out += cut.chopped(1);
            out += u' ';
        } else {
            out += cut;
        }
    } else {
        out += s;
        out.resize(out.size() + n - s.size(), u' ');
    }
}

} // namespace

QString fit(const QString &s, qsizetype n)
{
    QString out;
    out.reserve(n);
    appendFit(out, s, n);
    return out;
}

// Built in one text without intermediate pieces: a refresh makes one line for every
// consultant and client at every live-tracking tick.
QString presenceLine(const PresenceRow &row)
{
    QString line;
    line.reserve(8 + row.signedIn.size() + 3 + row.signedOff.size() + 4 + 64 + row.number.size() + row.surname.size());
    // The state with six blanks behind it, cut to seven: an empty state is six blanks.
    appendFit(line, row.online, row.online.isEmpty() ? 6 : 7);
    line += u' ';
    line += row.signedIn;
    line += QLatin1String("   ");
    line += row.signedOff;
    line += QLatin1String("    ");

    const qsizetype name = line.size();
    line += row.number;
    line += QLatin1String("  ");
    appendFit(line, row.title, 7);
    line += u' ';
    appendFit(line, row.firstName, 8);
    line += u' ';
    appendFit(line, row.prefix, 8);
    line += u' ';
    line += row.surname;
    // The whole name part to 55, the same rule as appendFit, applied in place.
    if (line.size() - name >= 55) {
        line.truncate(name + 55);
        if (line.back().isHighSurrogate())
            line.back() = u' ';
    } else {
        line.resize(name + 55, u' ');
    }
    return line;
}

void sortPresenceLines(QStringList &lines)
{
    // Equal lines are identical texts, so any sort that orders by character code gives
    // exactly what exchanging neighbours until nothing moves gives, without its
    // quadratic cost.
    std::stable_sort(lines.begin(), lines.end(), presenceLineBefore);
}

bool presenceLineBefore(QStringView a, QStringView b)
{
    return b.compare(a) < 0;
}

QString missingPresenceValueText(const QString &column, bool client, const QString &number)
{
    return QStringLiteral("De kolom '%1' van %2 %3 heeft geen waarde (NULL).")
        .arg(column, client ? QStringLiteral("opdrachtgever") : QStringLiteral("consultant"), number);
}

QString unsavedEditSignOffQuestion()
{
    return QStringLiteral("De wijziging in het projectcommentaar kon niet worden opgeslagen.\r\n\r\n"
                          "Toch afmelden en het programma be\u00EBindigen? De wijziging gaat dan verloren.");
}

} // namespace talveros::messages
