#pragma once

#include "invoicing/DeclarationText.h"
#include "invoicing/Outstanding.h"
#include "platform/RowList.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// What the invoicing tab reads from Declaraties. Every read opens its own connection,
// reads only the columns it shows and skips the rows without a project name, which are
// no declarations at all. Names are compared exactly: letter case and trailing blanks
// count, whatever the server's collation thinks.
namespace talveros::invoicing {

// The declaration list of every declaration of the client (clientRow), resp. the
// project (projectRow), in the program's one text order; each row keeps the fields it
// shows.
std::shared_ptr<const platform::ListRows> clientDeclarationList(const QString &client);
std::shared_ptr<const platform::ListRows> projectDeclarationList(const QString &project);

// The invoice number and project name of every declaration the overview lists, as the
// bytes read, one after another: the overview's lists make their rows from these when
// the rows are shown, so that a few hundred thousand rows cost a few bytes each.
class OverviewDeclarations {
public:
    void reserve(size_t declarations, size_t bytes);
    // The declaration's place in the store, counted from 0 in the order added.
    std::uint32_t add(std::string_view number, std::string_view project);
    size_t size() const { return m_ends.size() / 2; }
    std::string_view number(std::uint32_t d) const { return field(2 * size_t(d)); }
    std::string_view project(std::uint32_t d) const { return field(2 * size_t(d) + 1); }

private:
    std::string_view field(size_t i) const
    {
        const std::uint32_t start = i == 0 ? 0 : m_ends[i - 1];
        return std::string_view(m_bytes).substr(start, m_ends[i] - start);
    }
    std::string m_bytes;
    std::vector<std::uint32_t> m_ends; // of every number and every project
};

// One list of the payment overview: the overview row (overviewRow) of each of the
// declarations given, with this flag, in the program's one text order (data::
// sortedTexts; equal rows in the order given). `flagColumn` names the flag's column.
std::shared_ptr<const platform::ListRows> overviewList(std::shared_ptr<const OverviewDeclarations> declarations,
                                                       const QString &flag, std::vector<std::uint32_t> listed,
                                                       const QString &flagColumn = {});

// The four panels of the payment overview (client unpaid, client paid, consultant
// unpaid, consultant paid), ready to show: each panel's rows in text order, its project
// and name pickers without repeats. A sorted picker holds every text once, in text
// order; an unsorted one keeps table order and loses only direct repeats.
struct PaymentOverview {
    std::array<std::shared_ptr<const platform::ListRows>, 4> rows;
    std::array<QStringList, 4> projects;
    std::array<QStringList, 4> names;
};
PaymentOverview readPaymentOverview(const std::array<bool, 4> &sortedProjects, const std::array<bool, 4> &sortedNames);

// The sums of the two unpaid panels, over the declarations the payment overview puts
// in them (client "nee", consultant "nee"), from one read of the columns they need.
struct OutstandingPanels {
    OutstandingSums clients;
    OutstandingSums consultants;
};
OutstandingPanels readOutstanding();

struct KeyedDeclaration {
    QString factuurnummer;
    InvoiceDeclaration columns;
};
// Every declaration whose invoice number is exactly one of the keys, in table order.
std::vector<KeyedDeclaration> invoiceDeclarations(const QStringList &keys);

// The invoice lines for the selected rows' invoice numbers, in the order given (a
// number given twice gives its blocks twice), each number's blocks in table order.
QStringList invoiceLines(const QString &client, const QStringList &selectedKeys,
                         const std::vector<KeyedDeclaration> &declarations);

} // namespace talveros::invoicing
