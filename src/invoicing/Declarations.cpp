#include "invoicing/Declarations.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/SideBySide.h"
#include "data/TextForms.h"

#include <QHash>
#include <QSet>

#include <string>
#include <string_view>
#include <unordered_set>

namespace talveros::invoicing {

namespace {

using data::RowStore;

// A server-side filter may only narrow the read to a superset of what the exact test
// in the program keeps. CHAR_LENGTH is exact where comparing with '' would also drop
// names of blanks only.
constexpr auto kDeclarations = "Declaraties";
constexpr auto kWithProject = "CHAR_LENGTH(Projectnaam) > 0";

// Above this many invoice numbers the whole table is cheaper to read than the list of
// parameters is to send and test.
constexpr qsizetype kMaxKeysInQuery = 1000;

RowStore query(const QByteArray &sql, const std::vector<data::SqlValue> &params = {})
{
    data::Connection conn(data::Database::Declarations);
    RowStore rows = conn.query(sql, params);
    conn.close();
    return rows;
}

data::DbError nullValue(const QString &column)
{
    return data::DbError(QStringLiteral("22002"), 0, QStringLiteral("De kolom '%1' heeft geen waarde (NULL).").arg(column));
}

QString text(const RowStore &rows, size_t row, int column)
{
    if (rows.isNull(row, column))
        throw nullValue(rows.columns()[size_t(column)].name);
    return rows.text(row, column);
}

// Rows of List4 for the declarations whose `matchColumn` is exactly `wanted`.
template <class MakeRow>
QStringList pickRows(const char *matchColumn, const QString &wanted, MakeRow makeRow)
{
    const QByteArray value = wanted.toUtf8();
    const QByteArray sql = QByteArray("SELECT Factuurnummer, Consultantnaam, Projectnaam, ") + matchColumn + " FROM "
        + kDeclarations + " WHERE " + kWithProject + " AND BINARY " + matchColumn + " = BINARY ?";
    const RowStore rows = query(sql, {value});
    const std::string_view exact(value.constData(), size_t(value.size()));
    QStringList list;
    list.reserve(qsizetype(rows.rowCount()));
    for (size_t r = 0; r < rows.rowCount(); ++r)
        if (rows.equals(r, 3, exact))
            list << makeRow(text(rows, r, 0), text(rows, r, 1), text(rows, r, 2));
    return list;
}

} // namespace

QStringList clientDeclarationRows(const QString &client)
{
    return pickRows("Opdrachtgevernaam", client, [](const QString &number, const QString &consultant,
                                                    const QString &project) {
        return clientRow(number, consultant, project);
    });
}

QStringList projectDeclarationRows(const QString &project)
{
    return pickRows("Projectnaam", project, [](const QString &number, const QString &consultant,
                                               const QString &projectName) {
        return projectRow(number, projectName, consultant);
    });
}

namespace {

enum OverviewColumn { Number, Project, Client, Consultant, ClientPaid, ConsultantPaid };

// Picker entries stay bytes in the result set until their repeats are gone: most of
// the table's rows repeat a name.
struct Picker {
    bool sorted = false;
    std::vector<std::string_view> entries;
    std::unordered_set<std::string_view> seen;
    void add(std::string_view entry)
    {
        if (sorted ? seen.insert(entry).second : (entries.empty() || entries.back() != entry))
            entries.push_back(entry);
    }
    QStringList texts() const
    {
        QStringList list;
        list.reserve(qsizetype(entries.size()));
        for (std::string_view e : entries)
            list << QString::fromUtf8(e.data(), qsizetype(e.size()));
        return sorted ? data::sortedTexts(list) : list;
    }
};

struct Panel {
    QStringList rows;
    QStringList projects;
    QStringList names;
};

// The "nee" and "ja" panels of one party: its flag decides the panel, its name column
// fills the name picker.
struct OverviewSide {
    const RowStore &rows;
    int flagColumn, nameColumn;
    std::array<bool, 2> sortedProjects, sortedNames;
};

std::array<Panel, 2> overviewPanels(const OverviewSide &side)
{
    const RowStore &rows = side.rows;
    const int flagColumn = side.flagColumn, nameColumn = side.nameColumn;
    std::array<Picker, 2> projects, names;
    std::array<QStringList, 2> listed;
    for (size_t p = 0; p < 2; ++p) {
        projects[p].sorted = side.sortedProjects[p];
        names[p].sorted = side.sortedNames[p];
    }
    auto bytes = [&rows](size_t r, int c) {
        if (rows.isNull(r, c))
            throw nullValue(rows.columns()[size_t(c)].name);
        return rows.value(r, c);
    };
    std::string row;
    for (size_t r = 0; r < rows.rowCount(); ++r) {
        size_t panel;
        std::string_view flag;
        if (rows.equals(r, flagColumn, "nee"))
            panel = 0, flag = "nee";
        else if (rows.equals(r, flagColumn, "ja"))
            panel = 1, flag = "ja";
        else
            continue;
        const std::string_view project = rows.value(r, Project);
        row.assign(bytes(r, Number)).append(flag).append("  ").append(project);
        listed[panel] << oneLine(QString::fromUtf8(row.data(), qsizetype(row.size())));
        projects[panel].add(project);
        names[panel].add(bytes(r, nameColumn));
    }
    std::array<Panel, 2> panels;
    for (size_t p = 0; p < 2; ++p)
        panels[p] = {data::sortedTexts(listed[p]), projects[p].texts(), names[p].texts()};
    return panels;
}

} // namespace

PaymentOverview readPaymentOverview(const std::array<bool, 4> &sortedProjects, const std::array<bool, 4> &sortedNames)
{
    const RowStore rows = query(QByteArray("SELECT Factuurnummer, Projectnaam, Opdrachtgevernaam, Consultantnaam, "
                                           "IsbetaaldOpdrachtgever, IsbetaaldConsultant FROM ")
                                + kDeclarations + " WHERE " + kWithProject);
    // The client side and the consultant side share nothing but the rows they read, so
    // they are built side by side.
    const OverviewSide clientSide{rows, ClientPaid, Client, {sortedProjects[0], sortedProjects[1]},
                                  {sortedNames[0], sortedNames[1]}};
    const OverviewSide consultantSide{rows, ConsultantPaid, Consultant, {sortedProjects[2], sortedProjects[3]},
                                      {sortedNames[2], sortedNames[3]}};
    auto sides = data::readSideBySide<OverviewSide, std::array<Panel, 2>>(
        {{overviewPanels, &clientSide}, {overviewPanels, &consultantSide}});
    const std::array<Panel, 2> clientPanels = sides[0].take();
    const std::array<Panel, 2> consultantPanels = sides[1].take();

    PaymentOverview o;
    const Panel *all[] = {&clientPanels[0], &clientPanels[1], &consultantPanels[0], &consultantPanels[1]};
    for (size_t p = 0; p < 4; ++p) {
        o.rows[p] = all[p]->rows;
        o.projects[p] = all[p]->projects;
        o.names[p] = all[p]->names;
    }
    return o;
}

std::vector<KeyedDeclaration> invoiceDeclarations(const QStringList &keys)
{
    std::vector<KeyedDeclaration> found;
    const QSet<QString> wanted(keys.cbegin(), keys.cend());
    if (wanted.isEmpty())
        return found;
    QByteArray sql = QByteArray("SELECT Factuurnummer, Projectnaam, Consultantnaam, uren, peruurUIT, urentotaaluit, "
                                "kilometers, perKM, totaalkostenKM, onkosten, kostenomschrijving, subtotaaluit, "
                                "BTWuit, totaaluit FROM ")
        + kDeclarations + " WHERE " + kWithProject;
    std::vector<data::SqlValue> params;
    if (wanted.size() <= kMaxKeysInQuery) {
        // The server's comparison also lets through other case and trailing blanks; the
        // exact test below drops those.
        sql += " AND Factuurnummer IN (";
        for (const QString &key : wanted) {
            sql += params.empty() ? "?" : ",?";
            params.push_back(key.toUtf8());
        }
        sql += ")";
    }
    const RowStore rows = query(sql, params);
    for (size_t r = 0; r < rows.rowCount(); ++r) {
        if (rows.isNull(r, 0))
            continue; // a NULL invoice number equals no list row
        const QString number = rows.text(r, 0);
        if (!wanted.contains(number))
            continue;
        KeyedDeclaration d;
        d.factuurnummer = number;
        InvoiceDeclaration &c = d.columns;
        QString *fields[] = {&c.projectnaam,   &c.consultantnaam, &c.uren,      &c.peruurUIT,
                             &c.urentotaaluit, &c.kilometers,     &c.perKM,     &c.totaalkostenKM,
                             &c.onkosten,      &c.kostenomschrijving, &c.subtotaaluit, &c.BTWuit,
                             &c.totaaluit};
        for (int i = 0; i < 13; ++i)
            *fields[i] = text(rows, r, i + 1);
        found.push_back(std::move(d));
    }
    return found;
}

QStringList invoiceLines(const QString &client, const QStringList &selectedKeys,
                         const std::vector<KeyedDeclaration> &declarations)
{
    QHash<QString, std::vector<const KeyedDeclaration *>> byNumber;
    for (const KeyedDeclaration &d : declarations)
        byNumber[d.factuurnummer].push_back(&d);
    QStringList lines = invoiceHeader(client);
    for (const QString &key : selectedKeys) {
        const auto it = byNumber.constFind(key);
        if (it == byNumber.cend())
            continue;
        for (const KeyedDeclaration *d : *it)
            lines << invoiceBlock(key, d->columns);
    }
    return lines;
}

} // namespace talveros::invoicing
