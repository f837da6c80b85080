#include "registration/RegistrationStore.h"

#include "data/ConnectionSettings.h"
#include "data/DbError.h"
#include "data/Session.h"
#include "data/UnknownWrites.h"
#include "registration/RegistrationTexts.h"

#include <QRandomGenerator>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <thread>
#include <utility>

namespace talveros::registration {

namespace {

std::atomic<int> g_lockWait{10};

const QString kProjects = QStringLiteral("TALVERO_projecten");
const QString kProjectData = QStringLiteral("TALVERO_PROJECT_DATA");

data::SqlValue utf8(const QString &text) { return text.toUtf8(); }

QByteArray lockName(const QString &table)
{
    // Named locks are server-wide, so the database belongs in the name.
    return "talveros." + data::databaseName(data::Database::Main).toUtf8() + '.' + table.toUtf8();
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

using data::UnknownWrite;
using Values = std::vector<std::pair<QString, data::SqlValue>>;

Values valuesOf(const Fields &fields)
{
    Values values;
    for (const auto &[column, value] : fields)
        values.emplace_back(column, utf8(value));
    return values;
}

// What a write whose reply never came left behind, once nothing it sent can still run.
enum class Outcome { Stored, NotStored, Unknown };

// Whether the row is stored, byte for byte; its `nummer`, a key, makes it one row only.
Outcome rowStored(const QString &table, const Values &values)
{
    try {
        data::Session session;
        const qint64 count = session.countHolding(table, values);
        session.close();
        return count > 0 ? Outcome::Stored : Outcome::NotStored;
    } catch (const data::DbError &) {
        return Outcome::Unknown;
    }
}

data::DbError lostReply(const data::DbError &e, Outcome outcome)
{
    const QString said = outcome == Outcome::NotStored ? newRowNotStored() : newRowOutcomeUnknown();
    return data::DbError(data::ErrorKind::Unreachable, e.sqlState(), e.nativeCode(),
                         said + QStringLiteral("\n(%1)").arg(e.text()));
}

data::DbError stillUnknown(const QString &text)
{
    return data::DbError(data::ErrorKind::Unreachable, QStringLiteral("08S01"), 0, text);
}

// A session that sent a write never committed, still to be ended before the next write
// of its kind (it may hold the locks that write needs).
void rememberSession(UnknownWrite::Kind kind, const QString &table, const data::DbError &e)
{
    if (e.stillRunning())
        data::unknownwrites::remember({kind, table, {}, e.stillRunning(), false, 0});
}

// Writes the new row of `table` and commits. A reply that never comes before the commit
// leaves nothing stored; after it, the row itself tells, once the session that sent it
// has ended. Returns false when another workstation took the number first.
bool storeNewRow(data::Session &session, data::Transaction &transaction, const QString &table, const Fields &fields)
{
    try {
        session.add(table, valuesOf(fields));
    } catch (const data::DbError &e) {
        if (takenMeanwhile(e))
            return false;
        if (e.kind() != data::ErrorKind::Unreachable)
            throw;
        rememberSession(UnknownWrite::Kind::Insert, table, e);
        throw lostReply(e, Outcome::NotStored);
    }
    try {
        transaction.commit();
        return true;
    } catch (const data::DbError &e) {
        if (takenMeanwhile(e))
            return false;
        if (e.kind() != data::ErrorKind::Unreachable)
            throw;
        const Values values = valuesOf(fields);
        const Outcome outcome = e.stillRunning() ? Outcome::Unknown : rowStored(table, values);
        if (outcome == Outcome::Stored)
            return true;
        if (outcome == Outcome::Unknown)
            data::unknownwrites::remember({UnknownWrite::Kind::Insert, table, values, e.stillRunning(), true, 0});
        throw lostReply(e, outcome);
    }
}

// The new rows of `table` whose outcome was not known, settled before anything else is
// written there: their sessions ended, then each row looked up. Returns the number of
// one that is stored and is the very row asked for again, which is then the answer.
std::optional<QString> settleUnknownCreations(const QString &table, const QString &numberColumn,
                                              const std::function<Fields(const QString &)> &fieldsFor)
{
    if (!data::unknownwrites::endSessions(UnknownWrite::Kind::Insert, table))
        throw stillUnknown(earlierRegistrationStillUnknown());
    std::optional<QString> answer;
    for (const UnknownWrite &earlier : data::unknownwrites::of(UnknownWrite::Kind::Insert, table)) {
        if (earlier.row.empty()) {
            data::unknownwrites::forget(earlier.id);
            continue;
        }
        const Outcome outcome = rowStored(table, earlier.row);
        if (outcome == Outcome::Unknown)
            throw stillUnknown(earlierRegistrationStillUnknown());
        data::unknownwrites::forget(earlier.id);
        if (outcome != Outcome::Stored || answer)
            continue;
        QString number;
        for (const auto &[column, value] : earlier.row) {
            if (column == numberColumn && value)
                number = QString::fromUtf8(*value);
        }
        Fields again = fieldsFor(number);
        const QString nummer = QString::fromUtf8(earlier.row.front().second.value_or(""));
        again.insert(again.begin(), {QStringLiteral("nummer"), nummer});
        if (valuesOf(again) == earlier.row)
            answer = number;
    }
    return answer;
}

} // namespace

void setLockWaitSeconds(int seconds) { g_lockWait = seconds; }
int lockWaitSeconds() { return g_lockWait; }

namespace {
// Keeps other workstations of this server from deriving a number from the same table
// meanwhile; throws registrationBusy() when one holds it for longer than we wait.
class NumberingLock {
public:
    NumberingLock(data::Session &session, const QString &table) : m_lock(session.lock(lockName(table), g_lockWait))
    {
        if (!m_lock.had())
            throw busy();
    }

private:
    data::NamedLock m_lock;
};
} // namespace

// The named lock keeps the workstations of one server from deriving the same number;
// on a cluster it is each node's own, and the key decides instead: every row is written
// with the `nummer` its number was derived from, so two workstations that derived the
// same number write the same key, and only one of them can store it. The other derives
// again from what is stored now; the session reads causally (see ConnectionSettings),
// so that includes the row that won.
QString insertNumberedRow(const MasterTable &target, const std::function<Fields(const QString &)> &fieldsFor)
{
    if (const std::optional<QString> stored = settleUnknownCreations(target.table, target.numberColumn, fieldsFor))
        return *stored;
    data::Session session;
    const QByteArray table = data::quotedName(target.table);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (attempt > 0)
            pauseAfterLoss(attempt);
        NumberingLock lock(session, target.table);
        data::Transaction transaction = session.transaction(data::Transaction::Reads::OneMoment);
        // Only the column the rule reads: the whole table would cost as much again as the
        // list refresh that follows. The last row in the server's order counts, which is
        // not always the highest key (a table another program made without one).
        const data::RowStore numbers = session.read("select nummer from " + table);
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
            session.read("select count(*) from " + table + " where " + data::quotedName(target.numberColumn)
                           + " = ?",
                       {utf8(number)});
        if (used.rowCount() == 1 && used.text(0, 0) != QLatin1String("0"))
            throw data::DbError(QStringLiteral("23000"), 0, target.numberInUse(number));

        Fields fields = fieldsFor(number);
        fields.insert(fields.begin(), {QStringLiteral("nummer"), QString::number(last.value_or(0) + 1)});
        if (storeNewRow(session, transaction, target.table, fields))
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
    if (settleUnknownCreations(kProjects, QStringLiteral("nummer"), [&fields](const QString &) { return fields; }))
        return true;
    data::Session session;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (attempt > 0)
            pauseAfterLoss(attempt);
        NumberingLock lock(session, kProjects);
        data::Transaction transaction = session.transaction(data::Transaction::Reads::OneMoment);
        // Whether the code is taken, and the number a new project would get, in one
        // exchange. The server's collation only narrows the codes down (it calls codes
        // equal that differ in letter case or trailing blanks, and is the cheaper test);
        // BINARY on both sides decides. Data rows hold the number as text; other programs
        // may have written anything there.
        const QByteArray projects = data::quotedName(kProjects);
        const data::RowStore next = session.read(
            "select exists(select 1 from " + projects
                + " where Projectcode = ? and BINARY Projectcode = BINARY ?), "
            "greatest(coalesce((select max(nummer) from " + projects + "), 0), "
            "coalesce((select max(cast(nummer as signed)) from " + data::quotedName(kProjectData)
                // Only a data row beyond every project can raise the number: the cheap cast
                // finds those, and only they are matched against the pattern.
                + " where cast(nummer as unsigned) > (select coalesce(max(nummer), 0) from " + projects
                + ") and nummer regexp '^[0-9]{1,9}$'), 0)) + 1",
            {utf8(code), utf8(code)});
        if (next.text(0, 0) != QLatin1String("0"))
            return false;
        Fields numbered = fields;
        numbered.insert(numbered.begin(), {QStringLiteral("nummer"), next.text(0, 1)});
        if (storeNewRow(session, transaction, kProjects, numbered))
            return true;
    }
    throw busy();
}

namespace {
// The deletions of this project whose commit was sent but never answered: the rows, which
// have no key and which other programs add to, cannot tell whether it took, so the
// administrator decides, knowing how many rows the project has now. Deletions that never
// reached their commit deleted nothing; their sessions only need ending.
bool settleUnknownDeletions(const QString &number, const std::function<bool(qint64)> &deleteAfterDoubt)
{
    if (!data::unknownwrites::endSessions(UnknownWrite::Kind::Delete, kProjectData))
        throw stillUnknown(earlierDeletionStillUnknown());
    bool doubt = false;
    for (const UnknownWrite &earlier : data::unknownwrites::of(UnknownWrite::Kind::Delete, kProjectData)) {
        if (!earlier.commitSent) {
            data::unknownwrites::forget(earlier.id);
        } else if (!earlier.row.empty() && earlier.row.front().second == utf8(number)) {
            doubt = true;
        }
    }
    if (!doubt)
        return true;
    data::Session session;
    const qint64 rows = session.countHolding(kProjectData, {{QStringLiteral("nummer"), utf8(number)}});
    session.close();
    for (const UnknownWrite &earlier : data::unknownwrites::of(UnknownWrite::Kind::Delete, kProjectData)) {
        if (earlier.row.front().second == utf8(number))
            data::unknownwrites::forget(earlier.id);
    }
    return deleteAfterDoubt(rows);
}
} // namespace

Deletion deleteFirstProjectData(const QString &number, const std::function<bool(qint64 rowsNow)> &deleteAfterDoubt)
{
    if (!settleUnknownDeletions(number, deleteAfterDoubt))
        return Deletion::Kept;
    data::Session session;
    const QByteArray wanted = number.toUtf8();
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (attempt > 0)
            pauseAfterLoss(attempt);
        // The server's comparison only narrows the rows down (it ignores letter case and
        // trailing blanks, and keeps their order); the exact one is below.
        const data::RowStore rows = session.read("select * from " + data::quotedName(kProjectData)
                                                   + " where `nummer` = ?",
                                               {wanted});
        const int column = rows.columnIndex(u"nummer");
        size_t row = 0;
        // A row without a number (written by another program) is no project's row.
        const auto isTheProjects = [&](size_t r) {
            return !rows.isNull(r, column) && rows.value(r, column) == std::string_view(wanted);
        };
        while (row < rows.rowCount() && !isTheProjects(row))
            ++row;
        if (row == rows.rowCount())
            return Deletion::NoDataRow;
        const std::vector<data::SqlValue> values = rows.row(row);
        Values identified;
        for (int c = 0; c < rows.columnCount(); ++c)
            identified.emplace_back(rows.columns()[size_t(c)].name, values[size_t(c)]);
        std::rotate(identified.begin(), identified.begin() + column, identified.begin() + column + 1);
        // The deletion takes effect with its commit only: a reply lost before that means
        // nothing was deleted, whatever the server was still doing. The row deleted is one
        // that still holds every value read.
        data::Transaction transaction = session.transaction();
        try {
            session.removeRow(kProjectData, rows, values);
        } catch (const data::DbError &e) {
            if (e.lostToConcurrentWrite())
                continue;
            if (e.kind() != data::ErrorKind::Unreachable)
                throw;
            rememberSession(UnknownWrite::Kind::Delete, kProjectData, e);
            throw e.retold(nothingDeleted() + QStringLiteral("\n(%1)").arg(e.text()));
        }
        try {
            transaction.commit();
        } catch (const data::DbError &e) {
            if (e.lostToConcurrentWrite())
                continue;
            if (e.kind() != data::ErrorKind::Unreachable)
                throw;
            data::unknownwrites::remember(
                {UnknownWrite::Kind::Delete, kProjectData, identified, e.stillRunning(), true, 0});
            throw e.retold(deletionOutcomeUnknown() + QStringLiteral("\n(%1)").arg(e.text()));
        }
        session.close();
        return Deletion::Deleted;
    }
    throw busy();
}

} // namespace talveros::registration
