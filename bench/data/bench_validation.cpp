// How long the table validation takes on a full PLU table: a sweep over every
// cell (what a whole-table check costs) and the slowest single repeat check (a
// name that has to be compared with every PLU row and every department).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "data/cell_validation.h"
#include "data/definitions.h"
#include "data/message_keeping_ui_port.h"
#include "data/rounding.h"
#include "data/tables.h"

namespace plumgr {
namespace {

constexpr char kSeparator = '.';

// The test data fill: distinct names and barcodes in every row.
void FillTestData(Tables& tables) {
  SizeTables(tables, EcrProfileTable().front());
  ResetAllRows(tables, kSeparator);
  for (int n = 1; n <= tables.PLUGrid.DataRows(); ++n) {
    char barcode[32];
    std::snprintf(barcode, sizeof barcode, "12345678%05d", n);
    tables.PLUGrid.SetCell(PluCol::Name, n, "PLU-" + std::to_string(n));
    tables.PLUGrid.SetCell(PluCol::Dept, n, std::to_string(n % 8 + 1));
    tables.PLUGrid.SetCell(PluCol::Price, n, FormatFixed(n * 10.0, 2, kSeparator));
    tables.PLUGrid.SetCell(PluCol::Barcode, n, barcode);
    tables.PLUGrid.SetCell(PluCol::Flag, n, "0");
  }
  for (int n = 1; n <= tables.DeptmentGrid.DataRows(); ++n)
    tables.DeptmentGrid.SetCell(DeptCol::Name, n, "Deptment-" + std::to_string(n));
}

void BM_FullPluSweep(benchmark::State& state) {
  Tables tables;
  FillTestData(tables);
  tables.EcrPluCount = static_cast<int>(state.range(0));
  MessageKeepingUiPort ui;
  for (auto _ : state) {
    int accepted = 0;
    for (int row = 1; row <= tables.PLUGrid.DataRows(); ++row)
      for (int col = 1; col < PluCol::Count; ++col)
        accepted += ValidateCell(tables, GridId::Plu, col, row, kSeparator, ui);
    benchmark::DoNotOptimize(accepted);
  }
  state.SetItemsProcessed(state.iterations() * tables.PLUGrid.DataRows() * (PluCol::Count - 1));
}
BENCHMARK(BM_FullPluSweep)->Arg(0)->Arg(3000)->Unit(benchmark::kMillisecond);

void BM_WorstCaseRepeatCheck(benchmark::State& state) {
  Tables tables;
  FillTestData(tables);
  tables.EcrPluCount = 3000;
  MessageKeepingUiPort ui;
  for (auto _ : state) {
    bool plu = ValidateCell(tables, GridId::Plu, PluCol::Name, 3000, kSeparator, ui);
    bool dept = ValidateCell(tables, GridId::Dept, DeptCol::Name, 16, kSeparator, ui);
    benchmark::DoNotOptimize(plu && dept);
  }
}
BENCHMARK(BM_WorstCaseRepeatCheck)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace plumgr

BENCHMARK_MAIN();
