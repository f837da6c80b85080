// Walks one whole table and reads every field of every row as text: through the
// program's own record set, through a plain wide-character ODBC fetch (the way Qt's
// ODBC plugin and most hand-written programs fetch), or through the leanest UTF-8
// block fetch the driver allows, so they can be set against each other and against
// the mariadb client. Run by bench/run_walk.sh.
//
//   bench_walk recordset|wide|utf8 [--port N] [--server ADDRESS] [--table NAME]
//
// Prints one line: mode, rows, characters read, seconds to open (query and copy),
// seconds to walk, seconds in all, and the peak resident size in MiB.

#include "data/Connection.h"
#include "data/ConnectionSettings.h"
#include "data/DbError.h"
#include "data/RecordSet.h"

#include <QString>

#include <sql.h>
#include <sqlext.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace talveros;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double peakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB on Linux
}

struct Result {
    size_t rows = 0;
    qint64 chars = 0;
    double openSeconds = 0;
    double walkSeconds = 0;
};

// What the program does: a record set over the table, every field read by name.
Result walkRecordSet(const QString &table)
{
    Result r;
    const auto start = Clock::now();
    data::Connection conn(data::Database::Declarations);
    data::RecordSet rs(conn, table);
    r.openSeconds = secondsSince(start);

    std::vector<QString> names;
    for (const auto &column : rs.rows().columns())
        names.push_back(column.name);

    const auto walkStart = Clock::now();
    rs.moveFirst();
    while (!rs.eof()) {
        for (const QString &name : names)
            r.chars += rs.field(name).size();
        ++r.rows;
        rs.moveNext();
    }
    r.walkSeconds = secondsSince(walkStart);
    return r;
}

[[noreturn]] void odbcFailure(SQLSMALLINT type, SQLHANDLE handle, const char *what)
{
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLCHAR message[1024] = {};
    SQLSMALLINT length = 0;
    SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length);
    std::fprintf(stderr, "bench_walk: %s failed: [%s] %d %s\n", what, reinterpret_cast<char *>(state), int(native),
                 reinterpret_cast<char *>(message));
    std::exit(1);
}

void odbcCheck(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const char *what)
{
    if (!SQL_SUCCEEDED(rc))
        odbcFailure(type, handle, what);
}

// A statement executed over a connection of its own, without the data layer.
class RawQuery {
public:
    explicit RawQuery(const QString &table)
    {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env))) {
            std::fprintf(stderr, "bench_walk: no ODBC environment\n");
            std::exit(1);
        }
        SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        odbcCheck(SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc), SQL_HANDLE_ENV, m_env, "connection handle");
        QByteArray conn = data::connectionString(data::Database::Declarations).toUtf8();
        odbcCheck(SQLDriverConnect(m_dbc, nullptr, reinterpret_cast<SQLCHAR *>(conn.data()), SQLSMALLINT(conn.size()),
                                   nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT),
                  SQL_HANDLE_DBC, m_dbc, "connect");
        odbcCheck(SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &m_stmt), SQL_HANDLE_DBC, m_dbc, "statement handle");
        QByteArray sql = "select * from `" + table.toUtf8() + "`";
        odbcCheck(SQLExecDirect(m_stmt, reinterpret_cast<SQLCHAR *>(sql.data()), SQLINTEGER(sql.size())),
                  SQL_HANDLE_STMT, m_stmt, "execute");
        odbcCheck(SQLNumResultCols(m_stmt, &m_columns), SQL_HANDLE_STMT, m_stmt, "columns");
    }
    ~RawQuery()
    {
        SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
        SQLDisconnect(m_dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, m_env);
    }
    RawQuery(const RawQuery &) = delete;
    RawQuery &operator=(const RawQuery &) = delete;

    SQLHSTMT stmt() const { return m_stmt; }
    SQLSMALLINT columns() const { return m_columns; }

private:
    SQLHENV m_env = SQL_NULL_HENV;
    SQLHDBC m_dbc = SQL_NULL_HDBC;
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
    SQLSMALLINT m_columns = 0;
};

// The naive fetch: one SQLFetch per row, every column asked for as SQL_C_WCHAR.
Result walkWide(const QString &table)
{
    Result r;
    const auto start = Clock::now();
    RawQuery query(table);
    const SQLHSTMT stmt = query.stmt();
    r.openSeconds = secondsSince(start);

    const auto walkStart = Clock::now();
    static_assert(sizeof(SQLWCHAR) == sizeof(char16_t));
    std::vector<SQLWCHAR> buffer(1024);
    for (;;) {
        const SQLRETURN rc = SQLFetch(stmt);
        if (rc == SQL_NO_DATA)
            break;
        odbcCheck(rc, SQL_HANDLE_STMT, stmt, "fetch");
        for (SQLUSMALLINT c = 1; c <= SQLUSMALLINT(query.columns()); ++c) {
            QString value;
            for (;;) {
                SQLLEN ind = 0;
                const SQLRETURN got = SQLGetData(stmt, c, SQL_C_WCHAR, buffer.data(),
                                                 SQLLEN(buffer.size() * sizeof(SQLWCHAR)), &ind);
                if (got == SQL_NO_DATA)
                    break;
                odbcCheck(got, SQL_HANDLE_STMT, stmt, "get data");
                if (ind == SQL_NULL_DATA)
                    break;
                const qsizetype room = qsizetype(buffer.size()) - 1;
                const qsizetype units = (ind == SQL_NO_TOTAL || ind / qsizetype(sizeof(SQLWCHAR)) > room)
                                            ? room
                                            : qsizetype(ind / qsizetype(sizeof(SQLWCHAR)));
                value.append(QStringView(reinterpret_cast<const char16_t *>(buffer.data()), units));
                if (got == SQL_SUCCESS)
                    break;
            }
            r.chars += value.size();
        }
        ++r.rows;
    }
    r.walkSeconds = secondsSince(walkStart);
    return r;
}

// What the driver allows at best: UTF-8 fetched in bound blocks of 64 rows and every
// value made a QString straight from the driver's buffers, with no copy of the result
// kept and no lookup by name. The distance to the record-set walk is the data layer's own.
Result walkUtf8Blocks(const QString &table)
{
    Result r;
    const auto start = Clock::now();
    RawQuery query(table);
    const SQLHSTMT stmt = query.stmt();
    r.openSeconds = secondsSince(start);

    const auto walkStart = Clock::now();
    constexpr size_t kRows = 64;
    const auto ncols = size_t(query.columns());
    std::vector<size_t> widths(ncols);
    std::vector<std::vector<char>> buffers(ncols);
    std::vector<std::vector<SQLLEN>> lengths(ncols, std::vector<SQLLEN>(kRows));
    SQLULEN fetched = 0;
    odbcCheck(SQLSetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(kRows), 0),
              SQL_HANDLE_STMT, stmt, "block size");
    odbcCheck(SQLSetStmtAttr(stmt, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0), SQL_HANDLE_STMT, stmt, "fetched");
    for (size_t c = 0; c < ncols; ++c) {
        SQLULEN size = 0;
        SQLSMALLINT type = 0, digits = 0, nullable = 0;
        odbcCheck(SQLDescribeCol(stmt, SQLUSMALLINT(c + 1), nullptr, 0, nullptr, &type, &size, &digits, &nullable),
                  SQL_HANDLE_STMT, stmt, "describe");
        widths[c] = std::min<size_t>(std::max<size_t>(size * 4 + 1, 64), 256 * 1024);
        buffers[c].resize(widths[c] * kRows);
        odbcCheck(SQLBindCol(stmt, SQLUSMALLINT(c + 1), SQL_C_CHAR, buffers[c].data(), SQLLEN(widths[c]),
                             lengths[c].data()),
                  SQL_HANDLE_STMT, stmt, "bind");
    }
    for (;;) {
        const SQLRETURN rc = SQLFetch(stmt);
        if (rc == SQL_NO_DATA)
            break;
        odbcCheck(rc, SQL_HANDLE_STMT, stmt, "fetch");
        for (size_t row = 0; row < fetched; ++row) {
            for (size_t c = 0; c < ncols; ++c) {
                const SQLLEN len = lengths[c][row];
                if (len == SQL_NULL_DATA)
                    continue;
                if (len == SQL_NO_TOTAL || size_t(len) >= widths[c]) {
                    std::fprintf(stderr, "bench_walk: a value of column %zu is longer than its buffer\n", c + 1);
                    std::exit(1);
                }
                r.chars += QString::fromUtf8(buffers[c].data() + row * widths[c], qsizetype(len)).size();
            }
        }
        r.rows += fetched;
    }
    r.walkSeconds = secondsSince(walkStart);
    return r;
}

int usage()
{
    std::fprintf(stderr, "usage: bench_walk recordset|wide|utf8 [--port N] [--server ADDRESS] [--table NAME]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return usage();
    const std::string mode = argv[1];
    int port = 3310;
    QString server = QStringLiteral("127.0.0.1");
    QString table = QStringLiteral("Declaraties");
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
            return usage();
        if (arg == "--port")
            port = std::atoi(argv[++i]);
        else if (arg == "--server")
            server = QString::fromLocal8Bit(argv[++i]);
        else if (arg == "--table")
            table = QString::fromLocal8Bit(argv[++i]);
        else
            return usage();
    }
    data::overrideServerForTests(server, port);

    const auto start = Clock::now();
    Result r;
    try {
        if (mode == "recordset")
            r = walkRecordSet(table);
        else if (mode == "wide")
            r = walkWide(table);
        else if (mode == "utf8")
            r = walkUtf8Blocks(table);
        else
            return usage();
    } catch (const data::DbError &e) {
        std::fprintf(stderr, "bench_walk: [%s] %d %s\n", qPrintable(e.sqlState()), e.nativeCode(),
                     qPrintable(e.text()));
        return 1;
    }
    const double total = secondsSince(start);
    std::printf("%s rows=%zu chars=%lld open=%.3f walk=%.3f total=%.3f peak_mib=%.1f\n", mode.c_str(), r.rows,
                static_cast<long long>(r.chars), r.openSeconds, r.walkSeconds, total, peakMiB());
    return 0;
}
