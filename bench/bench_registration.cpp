// One consultant (or project) created on a filled private server, timed from the
// administrator's Yes to the refreshed lists, against the leanest UTF-8 block fetch of
// the whole table in the same run. The baseline opens its own ODBC connection and never
// runs through the program's data layer.
//
//   bench_registration consultant|project PORT [RUNS]
#include "BenchServices.h"

#include "data/ConnectionSettings.h"
#include "mainwindow/Form1.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QElapsedTimer>

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace talveros;

namespace {

// Answers Yes and notes when it did; the next box after that is the result, shown
// once the lists are refreshed. Any other box is a failure of the run.
class TimingDialogs final : public platform::Dialogs {
public:
    platform::Answer message(const QString &text, const QString &, platform::Icon, platform::Buttons buttons) override
    {
        if (buttons == platform::Buttons::YesNo) {
            timer.start();
            return platform::Answer::Yes;
        }
        elapsed = double(timer.nsecsElapsed()) / 1e9;
        last = text;
        return platform::Answer::Ok;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return std::nullopt; }

    QElapsedTimer timer;
    double elapsed = 0;
    QString last;
};

void check(SQLRETURN rc, const char *what)
{
    if (!SQL_SUCCEEDED(rc)) {
        std::fprintf(stderr, "bench_registration: %s failed\n", what);
        std::exit(1);
    }
}

// Connect, select the whole table, fetch it as UTF-8 in bound blocks and make every
// value a QString: what any program needs at least to have the table in hand.
double rawFetch(const char *table, size_t *rows)
{
    QElapsedTimer timer;
    timer.start();
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    check(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env), "environment");
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    check(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc), "connection handle");
    QByteArray conn = data::connectionString(data::Database::Main).toUtf8();
    check(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR *>(conn.data()), SQLSMALLINT(conn.size()), nullptr, 0,
                           nullptr, SQL_DRIVER_NOPROMPT),
          "connect");
    check(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt), "statement");
    QByteArray sql = QByteArray("select * from `") + table + '`';
    check(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR *>(sql.data()), SQLINTEGER(sql.size())), "execute");
    SQLSMALLINT ncols = 0;
    check(SQLNumResultCols(stmt, &ncols), "columns");

    const auto columns = static_cast<size_t>(ncols);
    // Blocks of up to a MiB: the block size at which the driver's fetch stops getting faster.
    size_t rowWidth = 0;
    for (size_t c = 0; c < columns; ++c) {
        SQLULEN size = 0;
        SQLSMALLINT type = 0, digits = 0, nullable = 0;
        check(SQLDescribeCol(stmt, SQLUSMALLINT(c + 1), nullptr, 0, nullptr, &type, &size, &digits, &nullable),
              "describe");
        rowWidth += std::min<size_t>(std::max<size_t>(size * 4 + 1, 64), 256 * 1024);
    }
    const size_t kRows = std::clamp<size_t>((1024 * 1024) / std::max<size_t>(rowWidth, 1), 1, 1024);
    std::vector<size_t> widths(columns);
    std::vector<std::vector<char>> buffers(columns);
    std::vector<std::vector<SQLLEN>> lengths(columns, std::vector<SQLLEN>(kRows));
    SQLULEN fetched = 0;
    check(SQLSetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(kRows), 0), "block size");
    check(SQLSetStmtAttr(stmt, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0), "fetched");
    for (size_t c = 0; c < columns; ++c) {
        SQLULEN size = 0;
        SQLSMALLINT type = 0, digits = 0, nullable = 0;
        check(SQLDescribeCol(stmt, SQLUSMALLINT(c + 1), nullptr, 0, nullptr, &type, &size, &digits, &nullable),
              "describe");
        widths[c] = std::min<size_t>(std::max<size_t>(size * 4 + 1, 64), 256 * 1024);
        buffers[c].resize(widths[c] * kRows);
        check(SQLBindCol(stmt, SQLUSMALLINT(c + 1), SQL_C_CHAR, buffers[c].data(), SQLLEN(widths[c]),
                         lengths[c].data()),
              "bind");
    }
    qint64 chars = 0;
    *rows = 0;
    for (;;) {
        const SQLRETURN rc = SQLFetch(stmt);
        if (rc == SQL_NO_DATA)
            break;
        check(rc, "fetch");
        for (size_t row = 0; row < fetched; ++row) {
            for (size_t c = 0; c < columns; ++c) {
                const SQLLEN len = lengths[c][row];
                if (len != SQL_NULL_DATA)
                    chars += QString::fromUtf8(buffers[c].data() + row * widths[c],
                                               qsizetype(std::min<SQLLEN>(len, SQLLEN(widths[c]) - 1)))
                                 .size();
            }
        }
        *rows += fetched;
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    if (chars < 0)
        std::exit(1);
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3 || (std::strcmp(argv[1], "consultant") != 0 && std::strcmp(argv[1], "project") != 0)) {
        std::fprintf(stderr, "usage: %s consultant|project PORT [RUNS]\n", argv[0]);
        return 2;
    }
    const bool project = std::strcmp(argv[1], "project") == 0;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    data::overrideServerForTests(QStringLiteral("127.0.0.1"), std::atoi(argv[2]));
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;

    TimingDialogs dialogs;
    bench::BenchServices quiet(dialogs);
    platform::Services &services = quiet.services;

    mainwindow::Form1 form(services);
    form.load();
    const char *table = project ? "TALVERO_projecten" : "TALVERO_consultants";
    const QString done = project ? QStringLiteral("Het project is aangemaakt") : QStringLiteral("De consultant ");

    double bestRaw = 1e9, bestCreate = 1e9;
    size_t rows = 0;
    for (int run = 0; run < runs; ++run) {
        bestRaw = std::min(bestRaw, rawFetch(table, &rows));
        if (project) {
            // A name of its own each run and each process, so that no code is taken already.
            form.projectEntry->Text54->setText(QStringLiteral("B%1-%2").arg(QCoreApplication::applicationPid()).arg(run));
            emit form.projectEntry->Image5->doubleClicked();
        } else {
            form.consultantEntry->Text100->setText(QStringLiteral("Bench%1").arg(run));
            emit form.consultantEntry->Image17->doubleClicked();
        }
        if (!dialogs.last.startsWith(done)) {
            std::fprintf(stderr, "bench_registration: %s\n", qPrintable(dialogs.last));
            return 1;
        }
        bestCreate = std::min(bestCreate, dialogs.elapsed);
    }
    const int listed = project ? form.projectPane->Combo3->count() : form.consultantPane->Combo1->count();
    std::printf("rows in %-22s %zu (listed after the last run: %d)\n", table, rows, listed);
    std::printf("raw UTF-8 fetch of the table    %.3f s (best of %d)\n", bestRaw, runs);
    std::printf("Yes to lists refreshed          %.3f s (best of %d)\n", bestCreate, runs);
    std::printf("ratio                           %.2fx (target <= 1.50x)\n", bestCreate / bestRaw);
    return 0;
}
