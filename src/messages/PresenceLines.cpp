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

QString fit(const QString &s, qsizetype n)
{
    if (s.size() < n)
        return s + QString(n - s.size(), u' ');
    QString cut = s.left(n);
    // A cut through a character outside the basic plane would leave half of it, which
    // no font can show; a blank keeps the width.
    if (n > 0 && cut.back().isHighSurrogate())
        cut.back() = u' ';
    return cut;
}

QString presenceLine(const PresenceRow &row)
{
    const QString name = row.number + QStringLiteral("  ") + fit(row.title, 7) + u' ' + fit(row.firstName, 8) + u' '
        + fit(row.prefix, 8) + u' ' + row.surname;
    QString line;
    line.reserve(110 + row.signedIn.size() + row.signedOff.size());
    line += fit(row.online, 7);
    line += u' ';
    line += row.signedIn;
    line += QLatin1String("   ");
    line += row.signedOff;
    line += QLatin1String("    ");
    line += fit(name, 55);
    return line;
}

void sortPresenceLines(QStringList &lines)
{
    // Equal lines are identical texts, so any sort that orders by character code gives
    // exactly what exchanging neighbours until nothing moves gives, without its
    // quadratic cost.
    std::stable_sort(lines.begin(), lines.end(),
                     [](const QString &a, const QString &b) { return QStringView(b).compare(a) < 0; });
}

QString missingPresenceValueText(const QString &column, bool client, const QString &number)
{
    return QStringLiteral("De kolom '%1' van %2 %3 heeft geen waarde (NULL).")
        .arg(column, client ? QStringLiteral("opdrachtgever") : QStringLiteral("consultant"), number);
}

} // namespace talveros::messages
