#include "data/TextForms.h"

#include <QStringBuilder>

#include <algorithm>
#include <future>
#include <iterator>
#include <utility>
#include <vector>

namespace talveros::data {

QString personName(const QString &title, const QString &firstName, const QString &prefix, const QString &surname)
{
    return title % u' ' % firstName % u' ' % prefix % u' ' % surname;
}

QString consultantListEntry(const QString &number, const QString &title, const QString &firstName,
                            const QString &prefix, const QString &surname)
{
    // Built in one allocation: start-up makes one of these for every consultant.
    return number % u"  " % title % u' ' % firstName % u' ' % prefix % u' ' % surname;
}

QString clientListEntry(const QString &number, const QString &company)
{
    return number % u"  " % company;
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

namespace {

// A text's place in the order, made once: its folded form's first eight UTF-16 units
// packed so that comparing the two numbers orders as comparing the units (a shorter
// text padded with zeros sorts before any text it begins), which settles most
// comparisons without reading either string. Folding an ASCII text only lowers A-Z,
// so such a text keeps no folded copy and is lowered as it is compared.
struct SortKey {
    quint64 head[2] = {0, 0};
    QString folded; // null for an ASCII text
    QString text;
    size_t index = 0;
};

char16_t lowered(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

SortKey sortKey(QString text, size_t index)
{
    SortKey k;
    const bool ascii = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (!ascii)
        k.folded = text.toCaseFolded();
    const QString &f = ascii ? text : k.folded;
    const qsizetype n = std::min<qsizetype>(f.size(), 8);
    for (qsizetype i = 0; i < n; ++i)
        k.head[i / 4] |= quint64(lowered(f.at(i).unicode())) << (16 * (3 - i % 4));
    k.text = std::move(text);
    k.index = index;
    return k;
}

QString foldedOf(const SortKey &k)
{
    if (!k.folded.isNull())
        return k.folded;
    QString f = k.text;
    for (QChar &c : f)
        c = QChar(lowered(c.unicode()));
    return f;
}

int compareFolded(const SortKey &a, const SortKey &b)
{
    if (a.folded.isNull() && b.folded.isNull()) {
        const qsizetype n = std::min(a.text.size(), b.text.size());
        const QChar *pa = a.text.constData(), *pb = b.text.constData();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t ca = lowered(pa[i].unicode()), cb = lowered(pb[i].unicode());
            if (ca != cb)
                return ca < cb ? -1 : 1;
        }
        return a.text.size() == b.text.size() ? 0 : a.text.size() < b.text.size() ? -1 : 1;
    }
    return QString::compare(foldedOf(a), foldedOf(b), Qt::CaseSensitive);
}

// Equal folds are ordered by the texts themselves, equal texts by where they stood:
// a total order, so a plain sort of parts and a merge give what a stable sort gives.
bool keyLess(const SortKey &a, const SortKey &b)
{
    if (a.head[0] != b.head[0])
        return a.head[0] < b.head[0];
    if (a.head[1] != b.head[1])
        return a.head[1] < b.head[1];
    if (const int folded = compareFolded(a, b); folded != 0)
        return folded < 0;
    if (const int exact = QString::compare(a.text, b.text, Qt::CaseSensitive); exact != 0)
        return exact < 0;
    return a.index < b.index;
}

} // namespace

namespace {

std::vector<SortKey> sortedKeys(size_t count, const std::function<QString(size_t)> &textAt)
{
    auto sortRange = [&textAt](size_t from, size_t to) {
        std::vector<SortKey> keys;
        keys.reserve(to - from);
        for (size_t i = from; i < to; ++i)
            keys.push_back(sortKey(textAt(i), i));
        std::sort(keys.begin(), keys.end(), keyLess);
        return keys;
    };

    // Long lists are folded and sorted in two halves side by side, then merged.
    constexpr size_t kWorthAThread = 4096;
    std::vector<SortKey> all;
    if (count < kWorthAThread) {
        all = sortRange(0, count);
    } else {
        const size_t half = count / 2;
        auto second = std::async(std::launch::async, sortRange, half, count);
        // Should this half throw, leaving the scope still waits for the other.
        std::vector<SortKey> first = sortRange(0, half);
        std::vector<SortKey> rest = second.get();
        all.reserve(count);
        std::merge(std::make_move_iterator(first.begin()), std::make_move_iterator(first.end()),
                   std::make_move_iterator(rest.begin()), std::make_move_iterator(rest.end()),
                   std::back_inserter(all), keyLess);
    }
    return all;
}

} // namespace

QStringList sortedTextsOf(size_t count, const std::function<QString(size_t)> &textAt)
{
    std::vector<SortKey> all = sortedKeys(count, textAt);
    QStringList sorted;
    sorted.reserve(qsizetype(all.size()));
    for (SortKey &k : all)
        sorted.append(std::move(k.text));
    return sorted;
}

std::vector<size_t> sortedOrderOf(size_t count, const std::function<QString(size_t)> &textAt)
{
    const std::vector<SortKey> all = sortedKeys(count, textAt);
    std::vector<size_t> order;
    order.reserve(all.size());
    for (const SortKey &k : all)
        order.push_back(k.index);
    return order;
}

QStringList sortedTexts(QStringList texts)
{
    return sortedTextsOf(size_t(texts.size()), [&texts](size_t i) { return texts.at(qsizetype(i)); });
}

SortedTexts SortedTexts::with(QStringList texts) const
{
    // Each text placed alone costs a shift of the list; past a few, one sort is cheaper.
    constexpr qsizetype kMostPlacedAlone = 64;
    const qsizetype before = m_given.size();
    const qsizetype added = texts.size() - before;
    SortedTexts next;
    if (before == 0 || added < 0 || added > kMostPlacedAlone
        || !std::equal(m_given.cbegin(), m_given.cend(), texts.cbegin())) {
        next.m_sorted = sortedTexts(texts);
    } else {
        next.m_sorted = m_sorted;
        for (qsizetype i = before; i < texts.size(); ++i) {
            // Every text placed already stood before this one, so it goes after the ones
            // it equals, as in a whole sort.
            const SortKey key = sortKey(texts.at(i), size_t(i));
            const auto at = std::upper_bound(next.m_sorted.cbegin(), next.m_sorted.cend(), key,
                                             [](const SortKey &k, const QString &placed) {
                                                 return keyLess(k, sortKey(placed, 0));
                                             });
            next.m_sorted.insert(at - next.m_sorted.cbegin(), texts.at(i));
        }
    }
    next.m_given = std::move(texts);
    return next;
}

QStringList withoutNeighbourRepeats(QStringList entries)
{
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
    return entries;
}

} // namespace talveros::data
