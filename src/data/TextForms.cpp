#include "data/TextForms.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace talveros::data {

QString personName(const QString &title, const QString &firstName, const QString &prefix, const QString &surname)
{
    return title + u' ' + firstName + u' ' + prefix + u' ' + surname;
}

QString consultantListEntry(const QString &number, const QString &title, const QString &firstName,
                            const QString &prefix, const QString &surname)
{
    return number + QStringLiteral("  ") + personName(title, firstName, prefix, surname);
}

QString clientListEntry(const QString &number, const QString &company)
{
    return number + QStringLiteral("  ") + company;
}

QString counterText(qsizetype count)
{
    return u' ' + QString::number(count);
}

QString dateTimeText(const QDateTime &at)
{
    // Built from numbers, not from a locale-aware format, so no regional setting can
    // change it.
    const QDate d = at.date();
    const QTime t = at.time();
    auto two = [](int n) { return QString::number(n).rightJustified(2, u'0'); };
    return two(d.month()) + u'-' + two(d.day()) + u'-' + QString::number(d.year()).rightJustified(4, u'0')
        + QStringLiteral("  ") + two(t.hour()) + u':' + two(t.minute()) + u':' + two(t.second());
}

bool textLess(const QString &a, const QString &b)
{
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    if (folded != 0)
        return folded < 0;
    return QString::compare(a, b, Qt::CaseSensitive) < 0;
}

QStringList sortedTexts(QStringList texts)
{
    // Fold each text once, not at every comparison: lists run to tens of thousands.
    std::vector<std::pair<QString, qsizetype>> keys;
    keys.reserve(size_t(texts.size()));
    for (qsizetype i = 0; i < texts.size(); ++i)
        keys.emplace_back(texts[i].toCaseFolded(), i);
    std::stable_sort(keys.begin(), keys.end(), [&texts](const auto &a, const auto &b) {
        const int folded = QString::compare(a.first, b.first, Qt::CaseSensitive);
        if (folded != 0)
            return folded < 0;
        return QString::compare(texts[a.second], texts[b.second], Qt::CaseSensitive) < 0;
    });
    QStringList sorted;
    sorted.reserve(texts.size());
    for (const auto &key : keys)
        sorted.append(texts[key.second]);
    return sorted;
}

} // namespace talveros::data
