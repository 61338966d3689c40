// Wall time of importing 3000 PLUs from a file: reading it, matching its
// header and passing every cell through the key filter, the column rule and
// the repeat checks into the tables. The files are the PLU table exported as
// .csv, .xlsx and .xls, so every row and column is imported. Goal: < 200 ms
// each (median of several runs).

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "../support/bench_common.h"
#include "app/import_columns.h"
#include "app/table_import.h"
#include "data/definitions.h"
#include "output/import_file.h"
#include "output/ole_excel.h"
#include "output/plu_report.h"

namespace {

constexpr double kGoalMs = 200;
constexpr int kRuns = 9;

}  // namespace

int main() {
  const plumgr::bench::ScratchDir dir("plumgr-bench-import");
  const plumgr::StringGrid plu = plumgr::bench::FullPluGrid();
  const std::vector<std::string> titles = plumgr::DefaultDisplayTexts('.').PluTitles.Entries;
  const plumgr::ImportTitles import_titles = plumgr::TitlesForImport(plumgr::GridId::Plu);
  std::printf("import of 3000 PLUs, median of %d runs (goal < %.0f ms each)\n", kRuns, kGoalMs);
  bool met = true;
  for (const char* name : {"items.csv", "items.xlsx", "items.xls"}) {
    plumgr::TOLEExcel excel;
    const std::string path = dir.File(name);
    if (!plumgr::SavePluReport(excel, plu, titles, path)) return 1;
    std::vector<double> samples;
    int imported = 0;
    for (int i = 0; i < kRuns; ++i) {
      plumgr::Tables tables;
      plumgr::SizeTables(tables, plumgr::EcrProfileTable().front());
      plumgr::ResetAllRows(tables, '.');
      const auto start = std::chrono::steady_clock::now();
      plumgr::ImportFileResult read = plumgr::ReadImportFile(path);
      if (!read.Ok) {
        std::fprintf(stderr, "%s\n", read.Message.c_str());
        return 1;
      }
      plumgr::ColumnMatch match = plumgr::MatchColumns(read.Sheet.Rows.front(), import_titles, {});
      plumgr::ImportRequest request;
      request.Columns = match.Columns;
      const plumgr::ImportOutcome outcome = plumgr::ImportRows(read.Sheet, request, tables);
      const auto end = std::chrono::steady_clock::now();
      if (!outcome.Refused.empty()) {
        std::fprintf(stderr, "%s: %s\n", name,
                     plumgr::DescribeRefusal(outcome.Refused.front()).c_str());
        return 1;
      }
      imported = outcome.RowsImported;
      samples.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    const double median = plumgr::bench::Median(samples);
    met = met && median < kGoalMs;
    std::printf("%-11s %8.1f ms  %5d rows  %9ju bytes  %s\n", name, median, imported,
                static_cast<std::uintmax_t>(std::filesystem::file_size(path)),
                median < kGoalMs ? "within the goal" : "OVER THE GOAL");
  }
  return met ? 0 : 1;
}
