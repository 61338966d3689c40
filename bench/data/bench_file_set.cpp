// Opening and saving a full data file set: 3000 PLU rows, 16 departments, 100
// recycling prices, 16 fast-sale buttons and a settings file with every key.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "../support/bench_common.h"
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

  DataFileSetTables Tables() { return {plu, departments, fast_sale, recycling, settings}; }

  bench::ScratchDir dir{"plumgr-bench-set"};
  std::string settings = dir.File("SYSTEM.CFG");
  std::string name = dir.File("bench.PLU");
  StringGrid plu = bench::FullPluGrid(kPluRows);
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
