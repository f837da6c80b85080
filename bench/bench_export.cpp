// Exporting a long list: 200,000 rows like the payment overview's (invoice number with
// leading zeros, flag, project name; some with a semicolon or a quote) written as an
// Excel workbook and as CSV through the program's writer, each against a baseline in the
// same run that never goes through it: the same cells written straight with
// libxlsxwriter from the stored bytes, and the CSV bytes made from them and written with
// one plain fwrite. Run by bench/run_export.sh.
//
//   bench_export [ROWS] [RUNS] [DIR]
//
// Prints one line a format: best seconds of the program's export, of its baseline, and
// the ratio.
#include "invoicing/Declarations.h"
#include "platform/RowList.h"
#include "platform/SheetExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <string>

using namespace talveros;

namespace {

template <class Work>
double bestOf(int runs, Work work)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = std::min(best, double(t.nsecsElapsed()) / 1e9);
    }
    return best;
}

std::string csvField(std::string_view v)
{
    if (v.find_first_of(";\"\r\n") == std::string_view::npos)
        return std::string(v);
    std::string q = "\"";
    for (char c : v) {
        if (c == '"')
            q += '"';
        q += c;
    }
    return q + '"';
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 200000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    QTemporaryDir temp(argc > 3 ? QString::fromLocal8Bit(argv[3]) + QStringLiteral("/bench_export-XXXXXX")
                                : QDir::tempPath() + QStringLiteral("/bench_export-XXXXXX"));

    auto store = std::make_shared<invoicing::OverviewDeclarations>();
    std::vector<std::uint32_t> listed;
    for (int i = 0; i < rows; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%08d", i * 7 % 1000000);
        std::string project = "Project " + std::to_string(i % 4000) + (i % 50 == 0 ? "; fase \"2\"" : " Utrecht-Oost");
        listed.push_back(store->add(number, project));
    }
    const auto list = invoicing::overviewList(store, QStringLiteral("nee"), listed, QStringLiteral("IsbetaaldOpdrachtgever"));
    // The baselines write the same cells in the order they were stored: the list's own
    // order is what the program's writer is judged on, not a thing to borrow from it.
    const std::vector<std::uint32_t> &order = listed;
    const QByteArray xlsx = QFile::encodeName(temp.filePath(QStringLiteral("baseline.xlsx")));
    const QByteArray csv = QFile::encodeName(temp.filePath(QStringLiteral("baseline.csv")));

    const double programXlsx = bestOf(runs, [&] {
        platform::writeSheet(*list, temp.filePath(QStringLiteral("lijst.xlsx")), platform::SheetFormat::Xlsx,
                             [](int) { return true; });
    });
    const double baselineXlsx = bestOf(runs, [&] {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        lxw_workbook *book = workbook_new_opt(xlsx.constData(), &options);
        lxw_worksheet *sheet = workbook_add_worksheet(book, "Lijst");
        worksheet_write_string(sheet, 0, 0, "Factuurnummer", nullptr);
        worksheet_write_string(sheet, 0, 1, "IsbetaaldOpdrachtgever", nullptr);
        worksheet_write_string(sheet, 0, 2, "Projectnaam", nullptr);
        for (int r = 0; r < rows; ++r) {
            const std::uint32_t d = order[size_t(r)];
            worksheet_write_string(sheet, lxw_row_t(r + 1), 0, std::string(store->number(d)).c_str(), nullptr);
            worksheet_write_string(sheet, lxw_row_t(r + 1), 1, "nee", nullptr);
            worksheet_write_string(sheet, lxw_row_t(r + 1), 2, std::string(store->project(d)).c_str(), nullptr);
        }
        workbook_close(book);
    });
    const double programCsv = bestOf(runs, [&] {
        platform::writeSheet(*list, temp.filePath(QStringLiteral("lijst.csv")), platform::SheetFormat::Csv,
                             [](int) { return true; });
    });
    const double baselineCsv = bestOf(runs, [&] {
        std::string bytes = "\xEF\xBB\xBF" "Factuurnummer;IsbetaaldOpdrachtgever;Projectnaam\r\n";
        for (int r = 0; r < rows; ++r) {
            const std::uint32_t d = order[size_t(r)];
            bytes += csvField(store->number(d));
            bytes += ";nee;";
            bytes += csvField(store->project(d));
            bytes += "\r\n";
        }
        std::FILE *f = std::fopen(csv.constData(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    });
    std::printf("xlsx rows=%d seconds=%.3f baseline=%.3f ratio=%.2f\n", rows, programXlsx, baselineXlsx,
                programXlsx / baselineXlsx);
    std::printf("csv rows=%d seconds=%.3f baseline=%.3f ratio=%.2f\n", rows, programCsv, baselineCsv,
                programCsv / baselineCsv);
    return 0;
}
