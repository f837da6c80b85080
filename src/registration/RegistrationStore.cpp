#include "registration/RegistrationStore.h"

#include "data/DbError.h"
#include "data/RecordSet.h"
#include "data/RowWriter.h"
#include "registration/RegistrationTexts.h"

#include <atomic>

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

QString insertNumberedRow(const MasterTable &target, const std::function<Fields(const QString &)> &fieldsFor)
{
    data::Connection conn(data::Database::Main);
    QString number;
    {
        NamedLock lock(conn, QString::fromUtf8(lockName(target.table)));
        const QByteArray table = data::rowwriter::quotedName(target.table);
        // Only the column the rule reads: the whole table would cost as much again as the
        // list refresh that follows.
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
        number = nextMasterNumber(last);

        const data::RowStore used =
            conn.query("select count(*) from " + table + " where " + data::rowwriter::quotedName(target.numberColumn)
                           + " = ?",
                       {utf8(number)});
        if (used.rowCount() == 1 && used.text(0, 0) != QLatin1String("0"))
            throw data::DbError(QStringLiteral("23000"), 0, target.numberInUse(number));

        insertRow(conn, target.table, fieldsFor(number));
    }
    conn.close();
    return number;
}

bool insertProjectUnlessTaken(const QString &code, const Fields &fields)
{
    data::Connection conn(data::Database::Main);
    bool stored = false;
    {
        NamedLock lock(conn, QString::fromUtf8(lockName(kProjects)));
        // BINARY on both sides: the server's collation would call codes equal that differ
        // in letter case or trailing blanks.
        const data::RowStore taken = conn.query(
            "select 1 from " + data::rowwriter::quotedName(kProjects) + " where BINARY Projectcode = BINARY ? limit 1",
            {utf8(code)});
        if (taken.rowCount() == 0) {
            insertRow(conn, kProjects, fields);
            stored = true;
        }
    }
    conn.close();
    return stored;
}

bool deleteFirstProjectData(const QString &number)
{
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
            rs.deleteCurrent();
            deleted = true;
            break;
        }
        rs.close();
    }
    conn.close();
    return deleted;
}

} // namespace talveros::registration
