#include "registration/RegistrationStore.h"

#include "data/DbError.h"
#include "data/RecordSet.h"
#include "data/RowWriter.h"
#include "registration/RegistrationTexts.h"

#include <QRandomGenerator>

#include <atomic>
#include <optional>
#include <utility>
#include <chrono>
#include <thread>

namespace talveros::registration {

namespace {

std::atomic<int> g_lockWait{10};

const QString kProjects = QStringLiteral("TALVERO_projecten");
const QString kProjectData = QStringLiteral("TALVERO_PROJECT_DATA");

data::SqlValue utf8(const QString &text) { return text.toUtf8(); }

QByteArray lockName(const QString &table)
{
    // Named locks are server-wide, so the database belongs in the name.
    return QByteArrayLiteral("talveros.kordamrg_KORDAMdata.") + table.toUtf8();
}

// Adds one row, every value a parameter. A column the table lacks makes the server
// refuse the statement, so nothing is written.
void insertRow(data::Connection &conn, const QString &table, const Fields &fields)
{
    QByteArray names, marks;
    std::vector<data::SqlValue> params;
    params.reserve(fields.size());
    for (const auto &[column, value] : fields) {
        names += (names.isEmpty() ? "" : ",") + data::rowwriter::quotedName(column);
        marks += marks.isEmpty() ? "?" : ",?";
        params.push_back(utf8(value));
    }
    conn.execute("insert into " + data::rowwriter::quotedName(table) + " (" + names + ") values (" + marks + ")",
                 params);
}

// How often a registration derives its number again after other workstations took the
// one it derived; each loss means another registration was stored, so running out
// takes a crowd, and the administrator is told to try again. Two workstations creating
// back to back as fast as they can through two nodes lost up to six times in a row.
constexpr int kAttempts = 20;

// Another workstation stored a row under the number just derived: on one server the
// key refuses the second row, on a cluster the node that certifies the other's row
// first refuses ours (or, retrying it itself, meets the key).
bool takenMeanwhile(const data::DbError &e)
{
    return e.nativeCode() == 1062 || e.kind() == data::ErrorKind::ChangedElsewhere;
}

// Two workstations deriving in step would collide again and again; a short pause of
// random length after a loss takes them out of step.
void pauseAfterLoss(int attempt)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(QRandomGenerator::global()->bounded(1, 5 * attempt + 2)));
}

data::DbError busy() { return data::DbError(QStringLiteral("HY000"), 0, registrationBusy()); }


// The reads a number is derived from and the row written with it, as one transaction:
// the reads see one moment of the table, so a row another workstation adds meanwhile
// shows up as a conflict of the write, not as a number found in use half-way. Rolled
// back unless committed.
class Transaction {
public:
    explicit Transaction(data::Connection &conn) : m_conn(conn)
    {
        m_conn.execute("START TRANSACTION WITH CONSISTENT SNAPSHOT");
    }
    ~Transaction()
    {
        if (m_open) {
            try {
                m_conn.execute("ROLLBACK");
            } catch (...) {
                // The server rolls back with the session, which closes right after.
            }
        }
    }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit()
    {
        m_conn.execute("COMMIT");
        m_open = false;
    }

private:
    data::Connection &m_conn;
    bool m_open = true;
};

// What a write whose reply was lost left behind, as a fresh connection finds it.
enum class Outcome { Stored, NotStored, Unknown };

// How many rows hold exactly these values, byte for byte; nullopt when the server
// cannot be asked.
std::optional<qint64> rowsHolding(const QString &table, const std::vector<std::pair<QString, data::SqlValue>> &values)
{
    try {
        data::Connection conn(data::Database::Main);
        const qint64 count = data::rowwriter::countHolding(conn, table, values);
        conn.close();
        return count;
    } catch (const data::DbError &) {
        return std::nullopt;
    }
}

Outcome rowStored(const QString &table, const Fields &fields)
{
    std::vector<std::pair<QString, data::SqlValue>> values;
    for (const auto &[column, value] : fields)
        values.emplace_back(column, utf8(value));
    const std::optional<qint64> count = rowsHolding(table, values);
    return !count ? Outcome::Unknown : *count > 0 ? Outcome::Stored : Outcome::NotStored;
}

// A new row whose fate a lost reply left unknown. The next registration in the same
// table asks first, so that trying again never stores the same row twice.
struct Unconfirmed {
    QString table;
    Fields fields;
    QString number;
};
std::optional<Unconfirmed> g_unconfirmed;

data::DbError lostReply(const data::DbError &e, Outcome outcome)
{
    const QString said = outcome == Outcome::NotStored
        ? QStringLiteral("De verbinding met de databaseserver ging verloren voordat de nieuwe gegevens waren "
                         "opgeslagen; er is niets opgeslagen. U kunt het opnieuw proberen.")
        : QStringLiteral("De verbinding met de databaseserver ging verloren tijdens het opslaan, en de server is nog "
                         "niet te bereiken: of de nieuwe gegevens zijn opgeslagen, is niet bekend. Probeert u het "
                         "opnieuw zodra de server weer antwoordt: dan wordt eerst nagegaan of ze er al staan, zodat "
                         "niets twee keer wordt opgeslagen.");
    return data::DbError(data::ErrorKind::Unreachable, e.sqlState(), e.nativeCode(),
                         said + QStringLiteral("\n(%1)").arg(e.text()));
}

// Writes the new row of `table` and commits; when the reply is lost, learns from the
// row itself whether it was stored. Returns false when another workstation took the
// number first.
bool storeNewRow(data::Connection &conn, Transaction &transaction, const QString &table, const Fields &fields,
                 const QString &number)
{
    try {
        insertRow(conn, table, fields);
        transaction.commit();
        return true;
    } catch (const data::DbError &e) {
        if (takenMeanwhile(e))
            return false;
        if (e.kind() != data::ErrorKind::Unreachable)
            throw;
        const Outcome outcome = rowStored(table, fields);
        if (outcome == Outcome::Stored)
            return true;
        if (outcome == Outcome::Unknown)
            g_unconfirmed = Unconfirmed{table, fields, number};
        throw lostReply(e, outcome);
    }
}

// The row an earlier registration could not confirm: stored, it is the answer when the
// same row is asked for again; either way it is settled once the server answers.
std::optional<QString> settleUnconfirmed(const QString &table, const std::function<Fields(const QString &)> &fieldsFor)
{
    if (!g_unconfirmed || g_unconfirmed->table != table)
        return std::nullopt;
    const Outcome outcome = rowStored(table, g_unconfirmed->fields);
    if (outcome == Outcome::Unknown)
        return std::nullopt;
    const Unconfirmed earlier = *std::exchange(g_unconfirmed, std::nullopt);
    Fields again = fieldsFor(earlier.number);
    again.insert(again.begin(), earlier.fields.front());
    if (outcome == Outcome::Stored && again == earlier.fields)
        return earlier.number;
    return std::nullopt;
}

} // namespace

void setLockWaitSeconds(int seconds) { g_lockWait = seconds; }
int lockWaitSeconds() { return g_lockWait; }

NamedLock::NamedLock(data::Connection &conn, const QString &name) : m_conn(conn), m_name(name.toUtf8())
{
    const data::RowStore got = m_conn.query("SELECT GET_LOCK(?, ?)", {m_name, QByteArray::number(g_lockWait.load())});
    if (got.rowCount() != 1 || got.isNull(0, 0) || got.text(0, 0) != QLatin1String("1"))
        throw data::DbError(QStringLiteral("HY000"), 0, registrationBusy());
}

NamedLock::~NamedLock()
{
    try {
        m_conn.query("SELECT RELEASE_LOCK(?)", {m_name});
    } catch (...) {
        // The server drops the lock with the session, which closes right after.
    }
}

// The named lock keeps the workstations of one server from deriving the same number;
// on a cluster it is each node's own, and the key decides instead: every row is written
// with the `nummer` its number was derived from, so two workstations that derived the
// same number write the same key, and only one of them can store it. The other derives
// again from what is stored now; the session reads causally (see ConnectionSettings),
// so that includes the row that won.
QString insertNumberedRow(const MasterTable &target, const std::function<Fields(const QString &)> &fieldsFor)
{
    if (const std::optional<QString> stored = settleUnconfirmed(target.table, fieldsFor))
        return *stored;
    data::Connection conn(data::Database::Main);
    const QByteArray table = data::rowwriter::quotedName(target.table);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (attempt > 0)
            pauseAfterLoss(attempt);
        NamedLock lock(conn, QString::fromUtf8(lockName(target.table)));
        Transaction transaction(conn);
        // Only the column the rule reads: the whole table would cost as much again as the
        // list refresh that follows. The last row in the server's order counts, which is
        // not always the highest key (a table another program made without one).
        const data::RowStore numbers = conn.query("select nummer from " + table);
        std::optional<qint64> last;
        if (numbers.rowCount() > 0) {
            const size_t row = numbers.rowCount() - 1;
            bool ok = false;
            const qint64 value = numbers.isNull(row, 0) ? 0 : numbers.text(row, 0).toLongLong(&ok);
            if (!ok)
                throw data::DbError(QStringLiteral("22002"), 0,
                                    QStringLiteral("De kolom 'nummer' van de laatste rij in %1 heeft geen getal "
                                                   "(NULL); er is geen nummer af te leiden.")
                                        .arg(target.table));
            last = value;
        }
        const QString number = nextMasterNumber(last);

        const data::RowStore used =
            conn.query("select count(*) from " + table + " where " + data::rowwriter::quotedName(target.numberColumn)
                           + " = ?",
                       {utf8(number)});
        if (used.rowCount() == 1 && used.text(0, 0) != QLatin1String("0"))
            throw data::DbError(QStringLiteral("23000"), 0, target.numberInUse(number));

        Fields fields = fieldsFor(number);
        fields.insert(fields.begin(), {QStringLiteral("nummer"), QString::number(last.value_or(0) + 1)});
        if (storeNewRow(conn, transaction, target.table, fields, number))
            return number;
    }
    throw busy();
}

// A project's `nummer` is chosen the same way, so that a code stored through another
// node at the same moment makes one of the two writes lose and look again. It is the
// next after every project and every project data row: a new project never takes over
// the data rows of one removed without them.
bool insertProjectUnlessTaken(const QString &code, const Fields &fields)
{
    if (settleUnconfirmed(kProjects, [&fields](const QString &) { return fields; }))
        return true;
    data::Connection conn(data::Database::Main);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (attempt > 0)
            pauseAfterLoss(attempt);
        NamedLock lock(conn, QString::fromUtf8(lockName(kProjects)));
        Transaction transaction(conn);
        // BINARY on both sides: the server's collation would call codes equal that differ
        // in letter case or trailing blanks.
        const data::RowStore taken = conn.query(
            "select 1 from " + data::rowwriter::quotedName(kProjects) + " where BINARY Projectcode = BINARY ? limit 1",
            {utf8(code)});
        if (taken.rowCount() != 0)
            return false;
        // Data rows hold the number as text; other programs may have written anything there.
        const data::RowStore next = conn.query(
            "select greatest(coalesce((select max(nummer) from " + data::rowwriter::quotedName(kProjects)
            + "), 0), coalesce((select max(cast(nummer as signed)) from "
            + data::rowwriter::quotedName(kProjectData) + " where nummer regexp '^[0-9]{1,9}$'), 0)) + 1");
        Fields numbered = fields;
        numbered.insert(numbered.begin(), {QStringLiteral("nummer"), next.text(0, 0)});
        if (storeNewRow(conn, transaction, kProjects, numbered, next.text(0, 0)))
            return true;
    }
    throw busy();
}

namespace {
// A deletion whose reply was lost while the server could not be asked: the row's values
// and how many rows held them before.
struct UnconfirmedDeletion {
    QString number;
    std::vector<std::pair<QString, data::SqlValue>> values;
    qint64 before = 0;
};
std::optional<UnconfirmedDeletion> g_unconfirmedDeletion;

std::optional<bool> deletionTook(const UnconfirmedDeletion &deletion)
{
    const std::optional<qint64> now = rowsHolding(kProjectData, deletion.values);
    if (!now)
        return std::nullopt;
    return *now < deletion.before;
}
} // namespace

bool deleteFirstProjectData(const QString &number)
{
    // Asked again after a deletion nobody could confirm: one that took is the answer.
    if (g_unconfirmedDeletion && g_unconfirmedDeletion->number == number) {
        if (const std::optional<bool> took = deletionTook(*g_unconfirmedDeletion)) {
            g_unconfirmedDeletion.reset();
            if (*took)
                return true;
        }
    }
    data::Connection conn(data::Database::Main);
    bool deleted = false;
    {
        // The server's comparison only narrows the rows down (it ignores letter case and
        // trailing blanks, and keeps their order); the exact one is below.
        data::RecordSet rs(conn, kProjectData, data::Rows::matching("`nummer` = ?", {utf8(number)}));
        const int column = rs.columnIndex(u"nummer");
        const QByteArray wanted = number.toUtf8();
        for (size_t row = 0; row < rs.rowCount(); ++row, rs.moveNext()) {
            // A row without a number (written by another program) is no project's row.
            if (rs.rows().isNull(row, column) || rs.rows().value(row, column) != std::string_view(wanted))
                continue;
            UnconfirmedDeletion deletion{number, {}, 0};
            const std::vector<data::SqlValue> values = rs.rows().row(row);
            for (int c = 0; c < rs.rows().columnCount(); ++c)
                deletion.values.emplace_back(rs.rows().columns()[size_t(c)].name, values[size_t(c)]);
            for (size_t other = 0; other < rs.rowCount(); ++other)
                deletion.before += rs.rows().row(other) == values ? 1 : 0;
            try {
                rs.deleteCurrent();
            } catch (const data::DbError &e) {
                if (e.kind() != data::ErrorKind::Unreachable)
                    throw;
                // The reply was lost: the rows tell whether the deletion took.
                const std::optional<bool> took = deletionTook(deletion);
                if (took && *took)
                    return true;
                if (!took)
                    g_unconfirmedDeletion = deletion;
                throw data::DbError(
                    data::ErrorKind::Unreachable, e.sqlState(), e.nativeCode(),
                    (took ? QStringLiteral("De verbinding met de databaseserver ging verloren; er is niets verwijderd. "
                                           "U kunt het opnieuw proberen.")
                          : QStringLiteral("De verbinding met de databaseserver ging verloren tijdens het verwijderen, "
                                           "en de server is nog niet te bereiken: of de gegevensrij is verwijderd, is "
                                           "niet bekend. Probeert u het opnieuw zodra de server weer antwoordt: dan "
                                           "wordt eerst nagegaan of ze al weg is."))
                        + QStringLiteral("\n(%1)").arg(e.text()));
            }
            deleted = true;
            break;
        }
        rs.close();
    }
    conn.close();
    return deleted;
}

} // namespace talveros::registration
