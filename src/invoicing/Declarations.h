#pragma once

#include "invoicing/DeclarationText.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// What the invoicing tab reads from Declaraties. Every read opens its own connection,
// reads only the columns it shows and skips the rows without a project name, which are
// no declarations at all. Names are compared exactly: letter case and trailing blanks
// count, whatever the server's collation thinks.
namespace talveros::invoicing {

// The List4 rows of every declaration of the client, resp. the project, unsorted.
QStringList clientDeclarationRows(const QString &client);
QStringList projectDeclarationRows(const QString &project);

// The four panels of the payment overview (client unpaid, client paid, consultant
// unpaid, consultant paid), ready to show: each panel's rows in text order, its project
// and name pickers without repeats. A sorted picker holds every text once, in text
// order; an unsorted one keeps table order and loses only direct repeats.
struct PaymentOverview {
    std::array<QStringList, 4> rows;
    std::array<QStringList, 4> projects;
    std::array<QStringList, 4> names;
};
PaymentOverview readPaymentOverview(const std::array<bool, 4> &sortedProjects, const std::array<bool, 4> &sortedNames);

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
