// The leanest fetch the ODBC driver allows, shared by the benchmark programs as the
// baseline they judge the data layer against. Nothing here runs through the data layer:
// a connection of its own, UTF-8 fetched in bound blocks straight into buffers, every
// value made a QString from there, nothing kept.
#pragma once

#include "data/ConnectionSettings.h"

#include <QByteArray>
#include <QString>

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace leanfetch {

[[noreturn]] inline void odbcFailure(SQLSMALLINT type, SQLHANDLE handle, const char *what)
{
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLCHAR message[1024] = {};
    SQLSMALLINT length = 0;
    SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length);
    std::fprintf(stderr, "lean fetch: %s failed: [%s] %d %s\n", what, reinterpret_cast<char *>(state), int(native),
                 reinterpret_cast<char *>(message));
    std::exit(1);
}

inline void odbcCheck(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const char *what)
{
    if (!SQL_SUCCEEDED(rc))
        odbcFailure(type, handle, what);
}

// "select * from TABLE" over a connection of its own (the program's connection string,
// so the driver works with the same settings).
class RawQuery {
public:
    RawQuery(talveros::data::Database db, const QString &table)
    {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env))) {
            std::fprintf(stderr, "lean fetch: no ODBC environment\n");
            std::exit(1);
        }
        SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        odbcCheck(SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc), SQL_HANDLE_ENV, m_env, "connection handle");
        QByteArray conn = talveros::data::connectionString(db).toUtf8();
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

struct Counts {
    size_t rows = 0;
    qint64 chars = 0;
};

// Fetches the whole result of an executed query in bound blocks of 64 rows and makes
// every value a QString straight from the bound buffers. The buffers are not cleared
// first, so wide columns cost only the memory the driver writes. A value longer than
// its buffer ends the program: the baseline is for tables of short values.
inline Counts fetchUtf8Blocks(RawQuery &query)
{
    Counts counts;
    const SQLHSTMT stmt = query.stmt();
    constexpr size_t kRows = 64;
    const auto ncols = size_t(query.columns());
    std::vector<size_t> widths(ncols);
    std::vector<std::unique_ptr<char[]>> buffers(ncols);
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
        buffers[c].reset(new char[widths[c] * kRows]);
        odbcCheck(SQLBindCol(stmt, SQLUSMALLINT(c + 1), SQL_C_CHAR, buffers[c].get(), SQLLEN(widths[c]),
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
                    std::fprintf(stderr, "lean fetch: a value of column %zu is longer than its buffer\n", c + 1);
                    std::exit(1);
                }
                counts.chars += QString::fromUtf8(buffers[c].get() + row * widths[c], qsizetype(len)).size();
            }
        }
        counts.rows += fetched;
    }
    return counts;
}

} // namespace leanfetch
