// Wall time of saving a full 3000-row PLU table as .xls, .xlsx and .csv
// (median of several runs, the final file written and renamed each time).

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "../support/bench_common.h"
#include "data/definitions.h"
#include "output/compound_file.h"
#include "output/plu_report.h"
#include "output/xls_workbook.h"

int main() {
  using plumgr::bench::Median;
  const plumgr::bench::ScratchDir dir("plumgr-bench-export");
  const plumgr::StringGrid plu = plumgr::bench::FullPluGrid();
  const std::vector<std::string> titles = plumgr::DefaultDisplayTexts('.').PluTitles.Entries;
  constexpr int kRuns = 9;
  std::printf("export of the 3000-row PLU table, median of %d runs\n", kRuns);
  for (const char* name : {"report.xls", "report.xlsx", "report.csv"}) {
    std::vector<double> samples;
    for (int i = 0; i < kRuns; ++i) {
      plumgr::TOLEExcel excel;
      auto start = std::chrono::steady_clock::now();
      plumgr::FileResult result = plumgr::SavePluReport(excel, plu, titles, dir.File(name));
      auto end = std::chrono::steady_clock::now();
      if (!result) {
        std::fprintf(stderr, "%s\n", result.Message.c_str());
        return 1;
      }
      samples.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::printf("%-12s %8.1f ms  %9ju bytes\n", name, Median(samples),
                static_cast<std::uintmax_t>(std::filesystem::file_size(dir.File(name))));
  }
  // The same .xls built in memory only: what the file system's share above is.
  std::vector<double> samples;
  for (int i = 0; i < kRuns; ++i) {
    plumgr::TOLEExcel excel;
    auto start = std::chrono::steady_clock::now();
    excel.OpenWorkbook();
    excel.ExportGrid(plumgr::DressPluTable(plu, titles));
    auto file = plumgr::BuildCompoundFile(plumgr::BuildWorkbookStream(excel.Worksheet()));
    auto end = std::chrono::steady_clock::now();
    if (!file) return 1;
    samples.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  std::printf("%-12s %8.1f ms  (built in memory, not written)\n", "report.xls", Median(samples));
  return 0;
}
