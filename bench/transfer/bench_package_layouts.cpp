// The package layouts over a whole table of the one model (3000 PLUs): building
// every download package, storing every upload package, and matching a sales
// record for every PLU. The bus needs about 0.3 s per package at 115200 baud, so
// the layouts should stay far below a millisecond per package.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "transfer/plu_packages.h"
#include "transfer/sales_records.h"

namespace {

using namespace plumgr;

constexpr int kRows = 3000;

StringGrid FullTable() {
  StringGrid grid(PluCol::Count, kRows + 1);
  for (int row = 1; row <= kRows; ++row) {
    grid.SetCell(PluCol::Barcode, row, std::to_string(5900000000000 + row));
    grid.SetCell(PluCol::Name, row, "Item number " + std::to_string(row));
    grid.SetCell(PluCol::Price, row, "12.34");
    grid.SetCell(PluCol::Dept, row, "3");
    grid.SetCell(PluCol::Stocks, row, "1.500");
    grid.SetCell(PluCol::Flag, row, "0");
  }
  return grid;
}

void BM_EncodeEveryDownloadPackage(benchmark::State& state) {
  const StringGrid grid = FullTable();
  const PluRange range{1, kRows};
  for (auto _ : state)
    for (int n = 0; n < PluDownloadPackageCount(range); ++n)
      benchmark::DoNotOptimize(EncodePlainPluPackage(grid, range, n, {}));
  state.SetItemsProcessed(state.iterations() * PluDownloadPackageCount(range));
}
BENCHMARK(BM_EncodeEveryDownloadPackage)->Unit(benchmark::kMillisecond);

void BM_StoreEveryUploadPackage(benchmark::State& state) {
  const StringGrid source = FullTable();
  std::vector<PackageBytes> packages(kRows / 4);
  for (int n = 0; n < kRows / 4; ++n)
    for (int k = 0; k < 4; ++k) {
      const PluRecordBytes record =
          EncodePluRecord(source, 4 * n + k + 1, PluDownloadLayout::Compared, false, {});
      std::copy(record.begin(), record.end(), packages[n].begin() + 64 * k);
    }
  StringGrid grid(PluCol::Count, kRows + 1);
  std::vector<bool> alcohol(kRows);
  for (auto _ : state)
    for (int n = 0; n < kRows / 4; ++n)
      StorePluUploadPackage(packages[n], n, {1, kRows}, grid, alcohol, {});
  state.SetItemsProcessed(state.iterations() * (kRows / 4));
}
BENCHMARK(BM_StoreEveryUploadPackage)->Unit(benchmark::kMillisecond);

void BM_StoreSalesOfEveryPlu(benchmark::State& state) {
  StringGrid grid = FullTable();
  std::vector<PluSalesRecord> records;
  for (int row = kRows; row >= 1; --row)
    records.push_back({5900000000000 + row, 1000, 1234});
  for (auto _ : state)
    StoreSalesRecords(records, {1, kRows}, grid, {});
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_StoreSalesOfEveryPlu)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
