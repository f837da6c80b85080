#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// The money still outstanding: what the clients have yet to pay and what the network
// has yet to pay its consultants, summed by name from the declarations' totals. Plain
// functions: no widget, no database.
namespace talveros::invoicing {

// How many names get a bar of their own; the names after them share one, "overige".
inline constexpr size_t kNamedBars = 20;

// A declaration's total as stored, in cents; empty when the text is not a number.
std::optional<std::int64_t> amountInCents(std::string_view text);

// Cents as the administrator writes money: "€ 1.234,56", "€ -12,50".
QString euroText(std::int64_t cents);

// One declaration of a panel as read, its values as the bytes the server holds. A NULL
// total is empty.
struct PanelDeclaration {
    std::string_view invoiceNumber;
    std::string_view name;
    std::string_view flag;
    std::optional<std::string_view> total;
};

struct OutstandingBar {
    QString name; // as stored
    std::int64_t cents = 0;
    int declarations = 0;
};

// A declaration whose total is not a number: its invoice number and its total as
// stored (empty for NULL).
struct UnreadTotal {
    QString invoiceNumber;
    std::optional<QString> total;
};

struct OutstandingSums {
    // The names with the largest sums, largest first; equal sums in the text order of
    // their names.
    std::vector<OutstandingBar> bars;
    // Every name after those, summed under "overige"; empty when there are none.
    std::optional<OutstandingBar> rest;
    int restNames = 0;
    // Every bar's sum together.
    std::int64_t total = 0;
    // The panel's declarations, those left out included.
    int declarations = 0;
    // In the order read. A name all of whose totals are unread has no bar.
    std::vector<UnreadTotal> unread;
};

// The sums of one unpaid panel: the declarations whose flag is exactly "nee", summed by
// their name compared byte for byte. Throws platform::Failure when a sum would not fit.
OutstandingSums outstandingSums(const std::vector<PanelDeclaration> &declarations, size_t namedBars = kNamedBars);

// The labels of the bars in the order of the bars, "overige" last: each name on one
// line, cut to a length a chart can show, and told apart when two would read alike.
QStringList barLabels(const OutstandingSums &sums);

// What stands under a chart: the declarations left out because their total is not a
// number, and what "overige" holds. Empty when there is nothing to say.
QString unreadNote(const std::vector<UnreadTotal> &unread);
QString restNote(const OutstandingSums &sums);

} // namespace talveros::invoicing
