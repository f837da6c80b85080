// One refresh of the presence lists (both tables re-read, every line built, both lists
// sorted and filled) against the leanest UTF-8 block fetch of the same two whole tables
// in the same run, which never runs through the program's own code.
//
//   bench_presence PORT [RUNS]
//
// Run by bench/run_presence.sh, which fills the server first.
#include "data/BoundSource.h"
#include "data/ConnectionSettings.h"
#include "data/DbError.h"
#include "messages/Presence.h"
#include "messages/PresenceTab.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>

#include <sql.h>
#include <sqlext.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <vector>

using namespace talveros;

namespace {

[[noreturn]] void odbcFailure(SQLSMALLINT type, SQLHANDLE handle, const char *what)
{
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLCHAR message[1024] = {};
    SQLSMALLINT length = 0;
    SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length);
    std::fprintf(stderr, "bench_presence: %s failed: [%s] %d %s\n", what, reinterpret_cast<char *>(state),
                 int(native), reinterpret_cast<char *>(message));
    std::exit(1);
}

void check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const char *what)
{
    if (!SQL_SUCCEEDED(rc))
        odbcFailure(type, handle, what);
}

// select * over a connection of its own, fetched as UTF-8 in bound blocks of 64 rows,
// every value made a QString straight from the driver's buffers and dropped.
qint64 leanFetch(const char *table)
{
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        std::exit(1);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    check(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc), SQL_HANDLE_ENV, env, "connection handle");
    QByteArray conn = data::connectionString(data::Database::Main).toUtf8();
    check(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR *>(conn.data()), SQLSMALLINT(conn.size()), nullptr,
                           0, nullptr, SQL_DRIVER_NOPROMPT),
          SQL_HANDLE_DBC, dbc, "connect");
    check(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt), SQL_HANDLE_DBC, dbc, "statement handle");
    QByteArray sql = QByteArray("select * from `") + table + "`";
    check(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR *>(sql.data()), SQLINTEGER(sql.size())), SQL_HANDLE_STMT, stmt,
          "execute");
    SQLSMALLINT columns = 0;
    check(SQLNumResultCols(stmt, &columns), SQL_HANDLE_STMT, stmt, "columns");

    constexpr size_t kRows = 64;
    const auto ncols = size_t(columns);
    std::vector<size_t> widths(ncols);
    std::vector<std::vector<char>> buffers(ncols);
    std::vector<std::vector<SQLLEN>> lengths(ncols, std::vector<SQLLEN>(kRows));
    SQLULEN fetched = 0;
    check(SQLSetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(kRows), 0), SQL_HANDLE_STMT,
          stmt, "block size");
    check(SQLSetStmtAttr(stmt, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0), SQL_HANDLE_STMT, stmt, "fetched");
    for (size_t c = 0; c < ncols; ++c) {
        SQLULEN size = 0;
        SQLSMALLINT type = 0, digits = 0, nullable = 0;
        check(SQLDescribeCol(stmt, SQLUSMALLINT(c + 1), nullptr, 0, nullptr, &type, &size, &digits, &nullable),
              SQL_HANDLE_STMT, stmt, "describe");
        widths[c] = std::min<size_t>(std::max<size_t>(size * 4 + 1, 64), 256 * 1024);
        buffers[c].resize(widths[c] * kRows);
        check(SQLBindCol(stmt, SQLUSMALLINT(c + 1), SQL_C_CHAR, buffers[c].data(), SQLLEN(widths[c]),
                         lengths[c].data()),
              SQL_HANDLE_STMT, stmt, "bind");
    }
    qint64 chars = 0;
    for (;;) {
        const SQLRETURN rc = SQLFetch(stmt);
        if (rc == SQL_NO_DATA)
            break;
        check(rc, SQL_HANDLE_STMT, stmt, "fetch");
        for (size_t row = 0; row < fetched; ++row) {
            for (size_t c = 0; c < ncols; ++c) {
                const SQLLEN len = lengths[c][row];
                if (len != SQL_NULL_DATA)
                    chars += QString::fromUtf8(buffers[c].data() + row * widths[c], qsizetype(len)).size();
            }
        }
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return chars;
}

double seconds(const QElapsedTimer &timer) { return double(timer.nsecsElapsed()) / 1e9; }

// Both tables one after the other, and side by side as the refresh reads them.
double baselineInTurn()
{
    QElapsedTimer timer;
    timer.start();
    leanFetch("TALVERO_consultants");
    leanFetch("TALVERO_opdrachtgevers");
    return seconds(timer);
}

double baselineTogether()
{
    QElapsedTimer timer;
    timer.start();
    auto consultants = std::async(std::launch::async, leanFetch, "TALVERO_consultants");
    auto clients = std::async(std::launch::async, leanFetch, "TALVERO_opdrachtgevers");
    consultants.get();
    clients.get();
    return seconds(timer);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PORT [RUNS]\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    data::overrideServerForTests(QStringLiteral("127.0.0.1"), std::atoi(argv[1]));
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    data::BoundSource consultants(QStringLiteral("Adodc1"), QStringLiteral("TALVERO_consultants"), false);
    data::BoundSource clients(QStringLiteral("Adodc2"), QStringLiteral("TALVERO_opdrachtgevers"), true);
    messages::PresenceTab tab;
    tab.resize(1000, 700);
    tab.show();

    double bestInTurn = 1e9, bestTogether = 1e9, bestRefresh = 1e9;
    try {
        for (int run = 0; run < runs; ++run) {
            bestInTurn = std::min(bestInTurn, baselineInTurn());
            bestTogether = std::min(bestTogether, baselineTogether());
            QElapsedTimer timer;
            timer.start();
            messages::refreshPresenceLists(consultants, clients, *tab.List2, *tab.List3);
            bestRefresh = std::min(bestRefresh, seconds(timer));
        }
    } catch (const data::DbError &e) {
        std::fprintf(stderr, "bench_presence: %s\n", e.what());
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("lines                              %d consultants, %d clients\n", tab.List2->count(),
                tab.List3->count());
    std::printf("first consultant line              %s\n", qPrintable(tab.List2->item(0)->text()));
    std::printf("lean UTF-8 fetch, tables in turn   %.3f s (best of %d)\n", bestInTurn, runs);
    std::printf("lean UTF-8 fetch, side by side     %.3f s\n", bestTogether);
    std::printf("one presence refresh               %.3f s\n", bestRefresh);
    std::printf("ratio to the faster fetch          %.2fx (target <= 1.50x)\n",
                bestRefresh / std::min(bestInTurn, bestTogether));
    std::printf("peak memory                        %.0f MiB\n", double(usage.ru_maxrss) / 1024.0);
    return 0;
}
