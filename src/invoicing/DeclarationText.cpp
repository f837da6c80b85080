#include "invoicing/DeclarationText.h"

#include <algorithm>
#include <vector>

namespace talveros::invoicing {

namespace {

bool hasSurrogates(const QString &text)
{
    for (QChar c : text)
        if (c.isSurrogate())
            return true;
    return false;
}

const QString kAmountPad(40, QLatin1Char(' '));
const QString kRatePad(6, QLatin1Char(' '));
const QString kCountPad = QStringLiteral("000");
const QString kSumIndent(71, QLatin1Char(' '));
const QString kDetailIndent(40, QLatin1Char(' '));

QString countLine(const QString &label, const QString &count, const QString &rate, const QString &amount)
{
    return kDetailIndent + label + rightAligned(count, 3, kCountPad) + QStringLiteral(" \u00e1 ")
        + rightAligned(rate, 6, kRatePad) + QStringLiteral("      Totaal:   ") + rightAligned(amount, 10, kAmountPad);
}

bool countShown(const QString &column, const QString &value)
{
    const std::optional<bool> above = countAboveZero(value);
    if (!above)
        throw InvoiceDataError(QStringLiteral("De waarde '%1' in de kolom '%2' is geen getal.").arg(value, column));
    return *above;
}

} // namespace

QString firstChars(const QString &text, qsizetype count)
{
    if (count <= 0)
        return {};
    if (!hasSurrogates(text))
        return text.left(count);
    qsizetype i = 0;
    for (qsizetype seen = 0; i < text.size() && seen < count; ++seen)
        i += (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
    return text.left(i);
}

QString lastChars(const QString &text, qsizetype count)
{
    if (count <= 0)
        return {};
    if (!hasSurrogates(text))
        return text.right(count);
    qsizetype i = text.size();
    for (qsizetype seen = 0; i > 0 && seen < count; ++seen)
        i -= (text[i - 1].isLowSurrogate() && i >= 2 && text[i - 2].isHighSurrogate()) ? 2 : 1;
    return text.mid(i);
}

QString oneLine(const QString &value)
{
    auto breaksLine = [](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x20 || u == 0x7f || u == 0x85 || u == 0x2028 || u == 0x2029;
    };
    if (std::none_of(value.cbegin(), value.cend(), breaksLine))
        return value;
    QString line = value;
    for (QChar &c : line)
        if (breaksLine(c))
            c = QLatin1Char(' ');
    return line;
}

QString inColumns(const QString &value, qsizetype width)
{
    return firstChars(value + QString(width, QLatin1Char(' ')), width);
}

QString leftAligned(const QString &value, qsizetype width, qsizetype pad)
{
    return firstChars(value + QString(pad, QLatin1Char(' ')), width);
}

QString rightAligned(const QString &value, qsizetype width, const QString &pad)
{
    return lastChars(pad + value, width);
}

QString clientRow(const QString &invoiceNumber, const QString &consultant, const QString &project)
{
    return oneLine(invoiceNumber) + QStringLiteral("  ") + inColumns(oneLine(consultant), 46) + QStringLiteral("  ")
        + oneLine(project);
}

QString projectRow(const QString &invoiceNumber, const QString &project, const QString &consultant)
{
    return oneLine(invoiceNumber) + QLatin1Char(' ') + inColumns(oneLine(project), 25) + QStringLiteral("  ")
        + oneLine(consultant);
}

QString overviewRow(const QString &invoiceNumber, const QString &flag, const QString &project)
{
    return oneLine(invoiceNumber) + flag + QStringLiteral("  ") + oneLine(project);
}

double leadingNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    qsizetype digits = 0;
    while (i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
        ++i, ++digits;
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    // Only ASCII reaches here, so the Latin-1 form is the text itself.
    return text.mid(start, i - start).toLatin1().toDouble();
}

std::optional<bool> countAboveZero(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        negative = t[i++] == QLatin1Char('-');
    bool anyDigit = false, nonZero = false, separator = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            anyDigit = true;
            nonZero = nonZero || c != QLatin1Char('0');
        } else if ((c == QLatin1Char('.') || c == QLatin1Char(',')) && !separator) {
            separator = true;
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    return nonZero && !negative;
}

QStringList invoiceHeader(const QString &client)
{
    return {QStringLiteral("Factuur voor ") + client, QString()};
}

QStringList invoiceBlock(const QString &invoiceNumber, const InvoiceDeclaration &d)
{
    QStringList lines;
    lines << QStringLiteral("Factuurnummer: ") + oneLine(invoiceNumber) + QStringLiteral("         Projectnaam: ")
                 + oneLine(d.projectnaam);
    lines << QStringLiteral("Consultant:    ") + leftAligned(oneLine(d.consultantnaam), 46, 40);
    if (countShown(QStringLiteral("uren"), d.uren))
        lines << countLine(QStringLiteral("Uren:        "), oneLine(d.uren), oneLine(d.peruurUIT),
                           oneLine(d.urentotaaluit));
    if (countShown(QStringLiteral("kilometers"), d.kilometers))
        lines << countLine(QStringLiteral("Kilometers:  "), oneLine(d.kilometers), oneLine(d.perKM),
                           oneLine(d.totaalkostenKM));
    if (leadingNumber(d.onkosten) > 0)
        lines << QStringLiteral("Onkosten:      ") + leftAligned(oneLine(d.kostenomschrijving), 56, 80)
                     + QStringLiteral("Totaal:   ") + rightAligned(oneLine(d.onkosten), 10, kAmountPad);
    const QString rule = kSumIndent + QString(20, QLatin1Char('-'));
    lines << rule;
    lines << kSumIndent + QStringLiteral("SUBTOTAAL: ") + rightAligned(oneLine(d.subtotaaluit), 9, kAmountPad);
    lines << rule;
    lines << kSumIndent + QStringLiteral("BTW:       ") + rightAligned(oneLine(d.BTWuit), 9, kAmountPad);
    lines << kSumIndent + QString(20, QLatin1Char('='));
    lines << kSumIndent + QStringLiteral("TOTAAL:    ") + rightAligned(oneLine(d.totaaluit), 9, kAmountPad);
    lines << QString();
    return lines;
}

QString invoiceText(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

} // namespace talveros::invoicing
