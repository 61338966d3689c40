// Opening and saving a full data file set: 3000 PLU rows, 16 departments, 100
// recycling prices, 16 fast-sale buttons and a settings file with every key.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "data/data_file_set.h"
#include "data/ini_file.h"
#include "data/settings_keys.h"

namespace plumgr {
namespace {

constexpr int kPluRows = 3000;
constexpr int kDeptRows = 16;

std::string Format(const char* format, int value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Price(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

struct BenchSet {
  BenchSet() {
    // temp_directory_path honours TMPDIR, as mktemp does.
    std::string pattern = (std::filesystem::temp_directory_path() / "plumgr-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      std::exit(1);
    }
    dir = pattern;
    settings = dir + "/SYSTEM.CFG";
    name = dir + "/bench.PLU";
    for (int n = 1; n <= kPluRows; ++n) {
      plu.SetCell(1, n, Format("12345678%05d", n));
      plu.SetCell(2, n, "PLU-" + std::to_string(n));
      plu.SetCell(3, n, Price(n * 10.0));
      plu.SetCell(4, n, std::to_string(n % 8 + 1));
      plu.SetCell(5, n, "0.000");
      for (int col = 6; col <= 9; ++col)
        plu.SetCell(col, n, "0");
    }
    for (int n = 1; n <= kDeptRows; ++n) {
      departments.SetCell(1, n, "Deptment-" + std::to_string(n));
      departments.SetCell(2, n, "1");
      departments.SetCell(3, n, Price(n));
    }
    for (int i = 0; i < kRecyclingUsedEntries; ++i)
      recycling[i].PackagePrice = Price(i * 0.1);
    for (int i = 0; i < kFastSaleButtons; ++i)
      fast_sale[i] = {i + 1, Format("59000%05d", i), i % 2};
    IniDocument doc;
    for (const SettingKey& key : AllSettingKeys('.'))
      doc.WriteString(key.Section, key.Name, key.Default);
    if (!IniFile(settings).Update([&](IniDocument& file) { file = doc; }))
      std::fprintf(stderr, "cannot write %s\n", settings.c_str());
  }
  ~BenchSet() { std::filesystem::remove_all(dir); }

  DataFileSetTables Tables() { return {plu, departments, fast_sale, recycling, settings}; }

  std::string dir, settings, name;
  StringGrid plu{10, kPluRows + 1};
  StringGrid departments{4, kDeptRows + 1};
  FastSaleTable fast_sale = InitialFastSaleTable();
  RecyclingTable recycling = InitialRecyclingTable('.');
};

void BM_SaveSet(benchmark::State& state) {
  BenchSet set;
  for (auto _ : state) {
    FileResult result = SaveSet(set.name, set.Tables());
    if (!result) state.SkipWithError(result.Message.c_str());
  }
}

void BM_LoadSet(benchmark::State& state) {
  BenchSet set;
  if (!SaveSet(set.name, set.Tables())) state.SkipWithError("cannot save the set");
  for (auto _ : state) {
    FileResult result = LoadSet(set.name, set.Tables());
    if (!result) state.SkipWithError(result.Message.c_str());
  }
}

BENCHMARK(BM_SaveSet)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_LoadSet)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace plumgr

BENCHMARK_MAIN();
