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

#include "BenchServices.h"
#include "LeanFetch.h"

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

using leanfetch::odbcCheck;
using leanfetch::RawQuery;

// The naive fetch: one SQLFetch per row, every column asked for as SQL_C_WCHAR.
Result walkWide(const QString &table)
{
    Result r;
    const auto start = Clock::now();
    RawQuery query(data::Database::Declarations, table);
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

// What the driver allows at best (LeanFetch.h): no copy of the result kept and no
// lookup by name. The distance to the record-set walk is the data layer's own.
Result walkUtf8Blocks(const QString &table)
{
    Result r;
    const auto start = Clock::now();
    RawQuery query(data::Database::Declarations, table);
    r.openSeconds = secondsSince(start);
    const auto walkStart = Clock::now();
    const leanfetch::Counts counts = leanfetch::fetchUtf8Blocks(query);
    r.rows = counts.rows;
    r.chars = counts.chars;
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
    const long trips = bench::roundTrips();
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
    std::printf("%s rows=%zu chars=%lld open=%.3f walk=%.3f total=%.3f peak_mib=%.1f%s\n", mode.c_str(), r.rows,
                static_cast<long long>(r.chars), r.openSeconds, r.walkSeconds, total, peakMiB(),
                trips < 0 ? "" : (" trips=" + std::to_string(bench::roundTrips() - trips)).c_str());
    return 0;
}
