#include "invoicing/Declarations.h"

#include "data/Session.h"
#include "data/DbError.h"
#include "data/SideBySide.h"
#include "data/TextForms.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <stdexcept>

#include <string>
#include <string_view>
#include <tuple>
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
    data::Session session(data::Database::Declarations);
    RowStore rows = session.read(sql, params);
    session.close();
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

// The declaration list of the declarations whose `matchColumn` is exactly `wanted`:
// each row's fields are the invoice number and the two `shown` columns, in that order.
std::shared_ptr<const platform::ListRows> pickList(const char *matchColumn, const QString &wanted,
                                                   const std::array<const char *, 2> &shown,
                                                   QString (*textOf)(const QStringList &fields))
{
    const QByteArray value = wanted.toUtf8();
    const QByteArray sql = QByteArray("SELECT Factuurnummer, ") + shown[0] + ", " + shown[1] + ", " + matchColumn
        + " FROM " + kDeclarations + " WHERE " + kWithProject + " AND BINARY " + matchColumn + " = BINARY ?";
    const RowStore rows = query(sql, {value});
    const std::string_view exact(value.constData(), size_t(value.size()));
    std::vector<QStringList> picked;
    picked.reserve(rows.rowCount());
    for (size_t r = 0; r < rows.rowCount(); ++r)
        if (rows.equals(r, 3, exact))
            picked.push_back({text(rows, r, 0), text(rows, r, 1), text(rows, r, 2)});
    const std::vector<size_t> order =
        data::sortedOrderOf(picked.size(), [&picked, textOf](size_t i) { return textOf(picked[i]); });
    std::vector<QStringList> sorted;
    sorted.reserve(picked.size());
    for (const size_t i : order)
        sorted.push_back(std::move(picked[i]));
    return platform::fieldRows({QStringLiteral("Factuurnummer"), QString::fromLatin1(shown[0]),
                                QString::fromLatin1(shown[1])},
                               std::move(sorted), textOf);
}

} // namespace

std::shared_ptr<const platform::ListRows> clientDeclarationList(const QString &client)
{
    return pickList("Opdrachtgevernaam", client, {"Consultantnaam", "Projectnaam"}, [](const QStringList &f) {
        return clientRow(f[0], f[1], f[2]);
    });
}

std::shared_ptr<const platform::ListRows> projectDeclarationList(const QString &project)
{
    return pickList("Projectnaam", project, {"Projectnaam", "Consultantnaam"}, [](const QStringList &f) {
        return projectRow(f[0], f[1], f[2]);
    });
}

void OverviewDeclarations::reserve(size_t declarations, size_t bytes)
{
    m_ends.reserve(2 * declarations);
    m_bytes.reserve(bytes);
}

std::uint32_t OverviewDeclarations::add(std::string_view number, std::string_view project)
{
    if (m_bytes.size() + number.size() + project.size() > UINT32_MAX)
        throw std::length_error("overview too large");
    m_bytes.append(number);
    m_ends.push_back(std::uint32_t(m_bytes.size()));
    m_bytes.append(project);
    m_ends.push_back(std::uint32_t(m_bytes.size()));
    return std::uint32_t(size() - 1);
}

namespace {

// The rows of one overview list, made into text one at a time as they are shown.
class OverviewList final : public platform::ListRows {
public:
    OverviewList(std::shared_ptr<const OverviewDeclarations> declarations, QString flag,
                 std::vector<std::uint32_t> inOrder, QString flagColumn)
        : m_declarations(std::move(declarations)), m_flag(std::move(flag)), m_rows(std::move(inOrder)),
          m_flagColumn(std::move(flagColumn))
    {
    }
    int count() const override { return int(m_rows.size()); }
    QString text(int row) const override { return textOf(m_rows[size_t(row)]); }
    QStringList columnNames() const override
    {
        return {QStringLiteral("Factuurnummer"), m_flagColumn, QStringLiteral("Projectnaam")};
    }
    QStringList fields(int row) const override
    {
        const std::uint32_t d = m_rows[size_t(row)];
        const std::string_view number = m_declarations->number(d), project = m_declarations->project(d);
        return {QString::fromUtf8(number.data(), qsizetype(number.size())), m_flag,
                QString::fromUtf8(project.data(), qsizetype(project.size()))};
    }
    QString textOf(std::uint32_t d) const
    {
        const std::string_view number = m_declarations->number(d), project = m_declarations->project(d);
        return overviewRow(QString::fromUtf8(number.data(), qsizetype(number.size())), m_flag,
                           QString::fromUtf8(project.data(), qsizetype(project.size())));
    }

    // The list in the program's text order: folded texts compared unit by unit, equal
    // folds by the texts themselves, equal texts by where they were given. Each row's
    // first 16 folded units are worked out once, straight from the bytes for an ASCII
    // row; most comparisons end there, and only the rest make the two texts.
    void sort()
    {
        struct Key {
            std::array<quint64, 4> head{};
            std::uint32_t declaration = 0;
            std::uint32_t given = 0;
        };
        const OverviewDeclarations &all = *m_declarations;
        std::vector<Key> keys(m_rows.size());
        std::array<char16_t, 16> units{};
        for (size_t i = 0; i < m_rows.size(); ++i) {
            Key &k = keys[i];
            k.declaration = m_rows[i];
            k.given = std::uint32_t(i);
            units.fill(0);
            if (!asciiHead(k.declaration, units)) {
                units.fill(0);
                const QString folded = textOf(k.declaration).toCaseFolded();
                for (qsizetype u = 0; u < qsizetype(units.size()) && u < folded.size(); ++u)
                    units[size_t(u)] = folded.at(u).unicode();
            }
            for (size_t u = 0; u < units.size(); ++u)
                k.head[u / 4] |= quint64(units[u]) << (16 * (3 - u % 4));
        }
        std::sort(keys.begin(), keys.end(), [&](const Key &a, const Key &b) {
            if (a.head != b.head)
                return a.head < b.head;
            if (all.number(a.declaration) != all.number(b.declaration)
                || all.project(a.declaration) != all.project(b.declaration)) {
                const QString ta = textOf(a.declaration), tb = textOf(b.declaration);
                if (const int folded = QString::compare(ta.toCaseFolded(), tb.toCaseFolded(), Qt::CaseSensitive))
                    return folded < 0;
                if (const int exact = QString::compare(ta, tb, Qt::CaseSensitive))
                    return exact < 0;
            }
            return a.given < b.given;
        });
        for (size_t i = 0; i < keys.size(); ++i)
            m_rows[i] = keys[i].declaration;
    }

private:
    // The first folded units of an ASCII row (its bytes then are its UTF-16 units, and
    // folding only lowers A-Z), control characters made blanks as oneLine makes them;
    // false for a row that is not all ASCII.
    template <size_t N>
    bool asciiHead(std::uint32_t d, std::array<char16_t, N> &units) const
    {
        size_t n = 0;
        const std::string_view number = m_declarations->number(d), project = m_declarations->project(d);
        for (const std::string_view part : {number, std::string_view(m_flagBytes), std::string_view("  "), project}) {
            for (const char c : part) {
                if (static_cast<unsigned char>(c) >= 0x80)
                    return false;
                if (n < N)
                    units[n++] = c < 0x20 || c == 0x7f ? u' ' : foldedAscii(c);
            }
        }
        return true;
    }
    static char16_t foldedAscii(char c) { return c >= 'A' && c <= 'Z' ? char16_t(c - 'A' + 'a') : char16_t(c); }

    std::shared_ptr<const OverviewDeclarations> m_declarations;
    QString m_flag;
    std::string m_flagBytes = m_flag.toStdString();
    std::vector<std::uint32_t> m_rows;
    QString m_flagColumn;
};

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
    std::shared_ptr<const platform::ListRows> rows;
    QStringList projects;
    QStringList names;
};

// The "nee" and "ja" panels of one party: its flag decides the panel, its name column
// fills the name picker. Row r of the result set is declaration r of `declarations`.
struct OverviewSide {
    const RowStore &rows;
    std::shared_ptr<const OverviewDeclarations> declarations;
    int flagColumn, nameColumn;
    std::array<bool, 2> sortedProjects, sortedNames;
};

constexpr const char *kOverviewColumns[] = {"Factuurnummer", "Projectnaam", "Opdrachtgevernaam", "Consultantnaam",
                                            "IsbetaaldOpdrachtgever", "IsbetaaldConsultant"};

std::array<Panel, 2> overviewPanels(const OverviewSide &side)
{
    const RowStore &rows = side.rows;
    const int flagColumn = side.flagColumn, nameColumn = side.nameColumn;
    std::array<Picker, 2> projects, names;
    std::array<std::vector<std::uint32_t>, 2> listed;
    for (size_t p = 0; p < 2; ++p) {
        projects[p].sorted = side.sortedProjects[p];
        names[p].sorted = side.sortedNames[p];
    }
    auto bytes = [&rows](size_t r, int c) {
        if (rows.isNull(r, c))
            throw nullValue(rows.columns()[size_t(c)].name);
        return rows.value(r, c);
    };
    for (size_t r = 0; r < rows.rowCount(); ++r) {
        size_t panel;
        if (rows.equals(r, flagColumn, "nee"))
            panel = 0;
        else if (rows.equals(r, flagColumn, "ja"))
            panel = 1;
        else
            continue;
        if (rows.isNull(r, Number))
            throw nullValue(rows.columns()[size_t(Number)].name);
        listed[panel].push_back(std::uint32_t(r));
        projects[panel].add(rows.value(r, Project));
        names[panel].add(bytes(r, nameColumn));
    }
    const QString flags[] = {QStringLiteral("nee"), QStringLiteral("ja")};
    std::array<Panel, 2> panels;
    for (size_t p = 0; p < 2; ++p)
        panels[p] = {overviewList(side.declarations, flags[p], std::move(listed[p]),
                                  QString::fromLatin1(kOverviewColumns[flagColumn])),
                     projects[p].texts(),
                     names[p].texts()};
    return panels;
}

} // namespace

std::shared_ptr<const platform::ListRows> overviewList(std::shared_ptr<const OverviewDeclarations> declarations,
                                                       const QString &flag, std::vector<std::uint32_t> listed,
                                                       const QString &flagColumn)
{
    auto list = std::make_shared<OverviewList>(std::move(declarations), flag, std::move(listed), flagColumn);
    list->sort();
    return list;
}

PaymentOverview readPaymentOverview(const std::array<bool, 4> &sortedProjects, const std::array<bool, 4> &sortedNames)
{
    // In the order of OverviewColumn and kOverviewColumns.
    const RowStore rows = query(QByteArray("SELECT Factuurnummer, Projectnaam, Opdrachtgevernaam, Consultantnaam, "
                                           "IsbetaaldOpdrachtgever, IsbetaaldConsultant FROM ")
                                + kDeclarations + " WHERE " + kWithProject);
    // Every row's number and project, in row order, for the rows of all four lists; a
    // NULL number is kept empty here and reported only when its row is listed.
    auto declarations = std::make_shared<OverviewDeclarations>();
    size_t bytes = 0;
    for (size_t r = 0; r < rows.rowCount(); ++r)
        bytes += rows.value(r, Number).size() + rows.value(r, Project).size();
    declarations->reserve(rows.rowCount(), bytes);
    for (size_t r = 0; r < rows.rowCount(); ++r)
        declarations->add(rows.value(r, Number), rows.value(r, Project));

    // The client side and the consultant side share nothing but the rows they read, so
    // they are built side by side.
    const OverviewSide clientSide{rows, declarations, ClientPaid, Client, {sortedProjects[0], sortedProjects[1]},
                                  {sortedNames[0], sortedNames[1]}};
    const OverviewSide consultantSide{rows, declarations, ConsultantPaid, Consultant,
                                      {sortedProjects[2], sortedProjects[3]}, {sortedNames[2], sortedNames[3]}};
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

OutstandingPanels readOutstanding()
{
    // The server's comparison also lets "Nee" and "nee " through; the sums keep only
    // the exact flag. Most of a long table is paid, and stays on the server.
    const RowStore rows = query(QByteArray("SELECT Factuurnummer, Opdrachtgevernaam, Consultantnaam, "
                                           "IsbetaaldOpdrachtgever, IsbetaaldConsultant, totaaluit FROM ")
                                + kDeclarations + " WHERE " + kWithProject
                                + " AND (IsbetaaldOpdrachtgever = 'nee' OR IsbetaaldConsultant = 'nee')");
    enum { Number, Client, Consultant, ClientPaid, ConsultantPaid, Total };
    std::vector<PanelDeclaration> clients, consultants;
    for (size_t r = 0; r < rows.rowCount(); ++r) {
        for (const auto &[flag, name, panel] : {std::tuple{ClientPaid, Client, &clients},
                                                std::tuple{ConsultantPaid, Consultant, &consultants}}) {
            if (!rows.equals(r, flag, "nee"))
                continue;
            // As the overview lists them: a listed row needs its number and its name.
            for (const int c : {int(Number), int(name)})
                if (rows.isNull(r, c))
                    throw nullValue(rows.columns()[size_t(c)].name);
            std::string_view total;
            const bool stored = rows.read(r, Total, total);
            panel->push_back({rows.value(r, Number), rows.value(r, name), rows.value(r, flag),
                              stored ? std::optional<std::string_view>(total) : std::nullopt});
        }
    }
    return {outstandingSums(clients), outstandingSums(consultants)};
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
