#pragma once

#include "platform/Failure.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>

// The texts of the invoicing tab: list rows, invoice lines and the tidying of the
// pickers. Plain functions: no widget, no database.
namespace talveros::invoicing {

// Widths count characters as the administrator sees them (a character outside the
// Basic Multilingual Plane is one column), and cuts never split one.
QString firstChars(const QString &text, qsizetype count);
QString lastChars(const QString &text, qsizetype count);

// A value as it may stand inside one line of a fixed-pitch list or the invoice: line
// breaks, tabs and other control characters become one blank each, so a value that
// holds them can neither start a new line nor push the columns after it out of place.
QString oneLine(const QString &value);

// The value padded with blanks and cut to exactly `width` characters.
QString inColumns(const QString &value, qsizetype width);
// The value followed by `pad` blanks, cut to its first `width` characters.
QString leftAligned(const QString &value, qsizetype width, qsizetype pad);
// `pad` followed by the value, of which the last `width` characters remain.
QString rightAligned(const QString &value, qsizetype width, const QString &pad);

// The declaration list after a client pick: number, two blanks, consultant in 46
// columns, two blanks, project name.
QString clientRow(const QString &invoiceNumber, const QString &consultant, const QString &project);
// The declaration list after a project pick: number, one blank, project in 25 columns,
// two blanks, consultant.
QString projectRow(const QString &invoiceNumber, const QString &project, const QString &consultant);
// Every list of the payment overview: number, the flag as stored, two blanks, project.
QString overviewRow(const QString &invoiceNumber, const QString &flag, const QString &project);

// The number an expense text starts with, read leniently: leading blanks skipped, then
// the longest run that forms a number with a point as decimal separator; 0 without one.
double leadingNumber(const QString &text);
// Whether a count of hours or kilometres, read as a number, is above zero; empty when
// the text is no number at all. Either separator may stand between whole and fraction.
std::optional<bool> countAboveZero(const QString &text);

// The declaration columns an invoice block shows, as stored.
struct InvoiceDeclaration {
    QString projectnaam, consultantnaam;
    QString uren, peruurUIT, urentotaaluit;
    QString kilometers, perKM, totaalkostenKM;
    QString onkosten, kostenomschrijving;
    QString subtotaaluit, BTWuit, totaaluit;
};

// A count of hours or kilometres that is no number; the administrator is told which
// declaration holds it.
class InvoiceDataError : public platform::Failure {
public:
    explicit InvoiceDataError(const QString &text) : platform::Failure(text) {}
};

// The two lines that open an invoice: "Factuur voor " + client, and an empty one.
QStringList invoiceHeader(const QString &client);
// The lines of one declaration's block, the empty closing line included. Throws
// InvoiceDataError when the hours or kilometres are no number.
QStringList invoiceBlock(const QString &invoiceNumber, const InvoiceDeclaration &d);
// Lines joined into the invoice text, every line ended by CR LF.
QString invoiceText(const QStringList &lines);

} // namespace talveros::invoicing
