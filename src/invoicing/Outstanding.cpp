#include "invoicing/Outstanding.h"

#include "data/TextForms.h"
#include "invoicing/DeclarationText.h"
#include "platform/Failure.h"

#include <QSet>

#include <algorithm>
#include <string>
#include <unordered_map>

namespace talveros::invoicing {

namespace {

// A name or value on a chart or in its note keeps to one line and to this length.
constexpr qsizetype kLongestLabel = 45;
constexpr qsizetype kLongestValue = 30;
// The unread declarations a note names one by one; the rest it counts.
constexpr size_t kNamedUnread = 5;
// More whole digits than this is no amount any declaration holds.
constexpr int kMostWholeDigits = 13;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

QString fromBytes(std::string_view bytes) { return QString::fromUtf8(bytes.data(), qsizetype(bytes.size())); }

QString shortened(const QString &text, qsizetype length)
{
    const QString line = oneLine(text);
    return firstChars(line, length) == line ? line : firstChars(line, length - 1) + QStringLiteral("\u2026");
}

void addTo(std::int64_t &sum, std::int64_t cents)
{
    if (__builtin_add_overflow(sum, cents, &sum))
        throw platform::Failure(QStringLiteral("De bedragen zijn te groot om op te tellen."));
}

} // namespace

// The network's programs write a total as "11336.27", with a point before the cents;
// older and hand-made rows hold "726,00" with a comma, and a Dutch hand groups the
// thousands: "1.234,56". Those three forms are read, with blanks around them and a
// minus for a credit. Nothing is guessed: a point or comma followed by exactly three
// digits and nothing more ("1.234", "1,234") may group thousands or may start a
// fraction, a thousandfold apart, so it is not a number; no more is a grouping without
// the decimal comma, an English grouping ("1,234.56"), more than two decimals, a
// separator without digits on both sides (".50", "12,"), an exponent, a currency sign
// or word, an empty text. Exactly:
//   blanks* "-"? whole ([.,] d d?)? blanks*
//   whole: digits, or 1-3 digits ("." ddd)+ and then the "," part is required
std::optional<std::int64_t> amountInCents(std::string_view text)
{
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    size_t end = n;
    while (end > i && text[end - 1] == ' ')
        --end;
    const bool negative = i < end && text[i] == '-';
    if (negative)
        ++i;

    std::int64_t whole = 0;
    int wholeDigits = 0, leadDigits = 0, groups = 0;
    for (; i < end && isDigit(text[i]); ++i, ++leadDigits)
        whole = whole * 10 + (text[i] - '0');
    wholeDigits = leadDigits;
    if (leadDigits == 0 || leadDigits > kMostWholeDigits)
        return std::nullopt;
    // Thousands grouped with points: 1-3 digits, then groups of exactly three.
    while (leadDigits <= 3 && i + 4 <= end && text[i] == '.' && isDigit(text[i + 1]) && isDigit(text[i + 2])
           && isDigit(text[i + 3]) && (i + 4 == end || !isDigit(text[i + 4]))) {
        for (size_t k = 1; k <= 3; ++k)
            whole = whole * 10 + (text[i + k] - '0');
        wholeDigits += 3;
        ++groups;
        i += 4;
    }
    if (wholeDigits > kMostWholeDigits)
        return std::nullopt;

    std::int64_t cents = 0;
    if (i < end) {
        const char separator = text[i];
        if (separator != ',' && (separator != '.' || groups > 0))
            return std::nullopt;
        const size_t decimals = end - i - 1;
        if (decimals < 1 || decimals > 2 || !isDigit(text[i + 1]) || (decimals == 2 && !isDigit(text[i + 2])))
            return std::nullopt;
        cents = (text[i + 1] - '0') * 10 + (decimals == 2 ? text[i + 2] - '0' : 0);
    } else if (groups > 0) {
        return std::nullopt;
    }
    const std::int64_t amount = whole * 100 + cents;
    return negative ? -amount : amount;
}

QString euroText(std::int64_t cents)
{
    const bool negative = cents < 0;
    // Unsigned, so that the most negative value has a magnitude too.
    const std::uint64_t magnitude = negative ? 0 - std::uint64_t(cents) : std::uint64_t(cents);
    const std::string digits = std::to_string(magnitude / 100);
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += '.';
        grouped += digits[i];
    }
    const unsigned fraction = unsigned(magnitude % 100);
    return QStringLiteral("\u20ac ") + (negative ? QStringLiteral("-") : QString()) + QString::fromLatin1(grouped)
        + QLatin1Char(',') + QLatin1Char(char('0' + fraction / 10)) + QLatin1Char(char('0' + fraction % 10));
}

OutstandingSums outstandingSums(const std::vector<PanelDeclaration> &declarations, size_t namedBars)
{
    OutstandingSums sums;
    struct Sum {
        std::string_view name;
        std::int64_t cents = 0;
        int declarations = 0;
    };
    std::vector<Sum> byName;
    std::unordered_map<std::string_view, size_t> place;
    for (const PanelDeclaration &d : declarations) {
        if (d.flag != "nee")
            continue;
        ++sums.declarations;
        const std::optional<std::int64_t> cents = d.total ? amountInCents(*d.total) : std::nullopt;
        if (!cents) {
            sums.unread.push_back({fromBytes(d.invoiceNumber),
                                   d.total ? std::optional<QString>(fromBytes(*d.total)) : std::nullopt});
            continue;
        }
        const auto [at, added] = place.try_emplace(d.name, byName.size());
        if (added)
            byName.push_back({d.name, 0, 0});
        Sum &sum = byName[at->second];
        addTo(sum.cents, *cents);
        ++sum.declarations;
    }

    std::vector<OutstandingBar> bars;
    bars.reserve(byName.size());
    for (const Sum &s : byName)
        bars.push_back({fromBytes(s.name), s.cents, s.declarations});
    // Names that read alike but differ in their bytes keep an order of their own.
    std::vector<size_t> order(bars.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (bars[a].cents != bars[b].cents)
            return bars[a].cents > bars[b].cents;
        if (data::textLess(bars[a].name, bars[b].name))
            return true;
        if (data::textLess(bars[b].name, bars[a].name))
            return false;
        return byName[a].name < byName[b].name;
    });
    for (size_t k = 0; k < order.size(); ++k) {
        const OutstandingBar &bar = bars[order[k]];
        addTo(sums.total, bar.cents);
        if (k < namedBars) {
            sums.bars.push_back(bar);
            continue;
        }
        if (!sums.rest)
            sums.rest = OutstandingBar{QStringLiteral("overige"), 0, 0};
        addTo(sums.rest->cents, bar.cents);
        sums.rest->declarations += bar.declarations;
        ++sums.restNames;
    }
    return sums;
}

QStringList barLabels(const OutstandingSums &sums)
{
    QStringList labels;
    QSet<QString> taken;
    // "overige" stays "overige"; a name that reads so gives way.
    if (sums.rest)
        taken.insert(sums.rest->name);
    auto add = [&](const QString &name) {
        const QString label = name.isEmpty() ? QStringLiteral("(geen naam)") : shortened(name, kLongestLabel);
        QString unique = label;
        for (int k = 2; taken.contains(unique); ++k)
            unique = label + QStringLiteral(" (%1)").arg(k);
        taken.insert(unique);
        labels << unique;
    };
    for (const OutstandingBar &bar : sums.bars)
        add(bar.name);
    if (sums.rest)
        labels << sums.rest->name;
    return labels;
}

QString unreadNote(const std::vector<UnreadTotal> &unread)
{
    if (unread.empty())
        return {};
    QStringList named;
    for (size_t i = 0; i < unread.size() && i < kNamedUnread; ++i) {
        const UnreadTotal &u = unread[i];
        const QString value = !u.total ? QStringLiteral("geen waarde")
            : u.total->isEmpty()       ? QStringLiteral("leeg")
                                       : QStringLiteral("'%1'").arg(shortened(*u.total, kLongestValue));
        named << QStringLiteral("%1 (%2)").arg(shortened(u.invoiceNumber, kLongestValue), value);
    }
    QString list = named.join(QStringLiteral(", "));
    if (unread.size() > kNamedUnread)
        list += QStringLiteral(" en nog %1").arg(unread.size() - kNamedUnread);
    const QString count = unread.size() == 1 ? QStringLiteral("1 declaratie")
                                             : QStringLiteral("%1 declaraties").arg(unread.size());
    return QStringLiteral("Niet meegeteld: %1 waarvan het totaalbedrag geen getal is: %2.").arg(count, list);
}

QString restNote(const OutstandingSums &sums)
{
    if (!sums.rest)
        return {};
    return QStringLiteral("\"overige\" telt de %1 namen na de eerste %2 samen.").arg(sums.restNames).arg(sums.bars.size());
}

} // namespace talveros::invoicing
