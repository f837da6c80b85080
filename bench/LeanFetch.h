// The leanest fetch the ODBC driver allows, the one baseline every benchmark program
// judges the program against. Nothing here runs through the data layer: a connection
// of its own, UTF-8 fetched in bound blocks straight into buffers, every value made a
// QString from there, nothing kept. Only the block layout is the record sets' own, so
// that the baseline asks the driver for the same work and every ratio compares.
#pragma once

#include "data/ConnectionSettings.h"
#include "data/FetchBlocks.h"

#include <QByteArray>
#include <QString>

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cstdint>
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
        // The program's connection string, without the statement the program adds for a
        // cluster: the leanest connection does not wait for it.
        QByteArray conn = talveros::data::connectionString(db).toUtf8();
        const qsizetype init = conn.indexOf(";INITSTMT={");
        if (init >= 0)
            conn.remove(init, conn.indexOf('}', init) + 1 - init);
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

// The rest of a value longer than its bound buffer, read whole in pieces from its
// start, as the record sets read one.
inline QByteArray longValue(SQLHSTMT stmt, SQLUSMALLINT column, bool *isNull)
{
    QByteArray value;
    char piece[65536];
    *isNull = false;
    for (;;) {
        SQLLEN ind = 0;
        const SQLRETURN rc = SQLGetData(stmt, column, SQL_C_CHAR, piece, sizeof piece, &ind);
        if (rc == SQL_NO_DATA)
            break;
        odbcCheck(rc, SQL_HANDLE_STMT, stmt, "long value");
        if (ind == SQL_NULL_DATA) {
            *isNull = true;
            break;
        }
        const qsizetype got = (ind == SQL_NO_TOTAL || ind >= SQLLEN(sizeof piece)) ? qsizetype(sizeof piece) - 1
                                                                                    : qsizetype(ind);
        value.append(piece, got);
        if (rc == SQL_SUCCESS)
            break;
    }
    return value;
}

// Fetches the whole result of an executed query in bound blocks laid out as the record
// sets lay theirs out (data::fetchBlocks: the same buffer widths and rows a fetch), and
// makes every value a QString straight from the bound buffers; a value longer than its
// buffer is read whole, as the record sets read it. Nothing is kept.
inline Counts fetchUtf8Blocks(RawQuery &query)
{
    Counts counts;
    const SQLHSTMT stmt = query.stmt();
    const auto ncols = size_t(query.columns());
    std::vector<std::uint64_t> sizes(ncols);
    for (size_t c = 0; c < ncols; ++c) {
        SQLULEN size = 0;
        SQLSMALLINT type = 0, digits = 0, nullable = 0;
        odbcCheck(SQLDescribeCol(stmt, SQLUSMALLINT(c + 1), nullptr, 0, nullptr, &type, &size, &digits, &nullable),
                  SQL_HANDLE_STMT, stmt, "describe");
        sizes[c] = size;
    }
    const talveros::data::FetchBlocks blocks = talveros::data::fetchBlocks(sizes);
    const std::vector<size_t> &widths = blocks.widths;
    const size_t blockRows = blocks.blockRows;
    std::vector<std::unique_ptr<char[]>> buffers(ncols);
    std::vector<std::vector<SQLLEN>> lengths(ncols, std::vector<SQLLEN>(blockRows));
    SQLULEN fetched = 0;
    odbcCheck(SQLSetStmtAttr(stmt, SQL_ATTR_ROW_BIND_TYPE, reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0),
              SQL_HANDLE_STMT, stmt, "bind type");
    odbcCheck(SQLSetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(blockRows), 0),
              SQL_HANDLE_STMT, stmt, "block size");
    odbcCheck(SQLSetStmtAttr(stmt, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0), SQL_HANDLE_STMT, stmt, "fetched");
    for (size_t c = 0; c < ncols; ++c) {
        buffers[c].reset(new char[widths[c] * blockRows]);
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
                    if (blockRows != 1) {
                        std::fprintf(stderr, "lean fetch: a value of column %zu is longer than its buffer\n", c + 1);
                        std::exit(1);
                    }
                    bool isNull = false;
                    const QByteArray whole = longValue(stmt, SQLUSMALLINT(c + 1), &isNull);
                    if (!isNull)
                        counts.chars += QString::fromUtf8(whole).size();
                    continue;
                }
                counts.chars += QString::fromUtf8(buffers[c].get() + row * widths[c], qsizetype(len)).size();
            }
        }
        counts.rows += fetched;
    }
    return counts;
}

// A whole table over a connection of its own: connect, select, fetch.
inline Counts fetchTable(talveros::data::Database db, const QString &table)
{
    RawQuery query(db, table);
    return fetchUtf8Blocks(query);
}

} // namespace leanfetch
