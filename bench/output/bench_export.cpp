// Wall time of saving the full 3000-row PLU table as .xls, .xlsx and .csv
// (median of several runs, the final file written and renamed each time).

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "data/definitions.h"
#include "output/compound_file.h"
#include "output/plu_report.h"
#include "output/xls_workbook.h"

namespace {

plumgr::StringGrid FullTable() {
  plumgr::StringGrid grid(10, 3001);
  for (int n = 1; n <= 3000; ++n) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "12345678%05d", n);
    grid.SetCell(1, n, buffer);
    grid.SetCell(2, n, "PLU-" + std::to_string(n) + (n % 7 == 0 ? "\xB9\xEA\xB3\xF1" : ""));
    std::snprintf(buffer, sizeof buffer, "%.2f", n * 10.0);
    grid.SetCell(3, n, buffer);
    grid.SetCell(4, n, std::to_string(n % 8 + 1));
    grid.SetCell(5, n, "0.000");
    for (int c = 6; c <= 9; ++c)
      grid.SetCell(c, n, "0");
  }
  return grid;
}

double MedianMs(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

}  // namespace

int main() {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("bench_export_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  plumgr::StringGrid plu = FullTable();
  const std::vector<std::string> titles = plumgr::DefaultDisplayTexts('.').PluTitles.Entries;
  constexpr int kRuns = 9;
  std::printf("export of the 3000-row PLU table, median of %d runs\n", kRuns);
  for (const char* name : {"report.xls", "report.xlsx", "report.csv"}) {
    std::vector<double> samples;
    for (int i = 0; i < kRuns; ++i) {
      plumgr::TOLEExcel excel;
      auto start = std::chrono::steady_clock::now();
      plumgr::FileResult result = plumgr::SavePluReport(excel, plu, titles, (dir / name).string());
      auto end = std::chrono::steady_clock::now();
      if (!result) {
        std::fprintf(stderr, "%s\n", result.Message.c_str());
        return 1;
      }
      samples.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::printf("%-12s %8.1f ms  %9ju bytes\n", name, MedianMs(samples),
                static_cast<std::uintmax_t>(fs::file_size(dir / name)));
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
  std::printf("%-12s %8.1f ms  (built in memory, not written)\n", "report.xls", MedianMs(samples));
  fs::remove_all(dir);
  return 0;
}
