// The decoders of received packages on arbitrary bytes: none of them fails or
// reads outside its package, and what the PLU and department decoders store
// encodes back to a record that decodes to the same cells.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "data/ini_document.h"
#include "transfer/department_packages.h"
#include "transfer/fast_sale_packages.h"
#include "transfer/parameter_block.h"
#include "transfer/plu_packages.h"
#include "transfer/recycling_packages.h"
#include "transfer/sales_records.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace plumgr;
  if (size < 2) return 0;
  const WireUnits units{data[0] % 5, data[1] % 2 ? ',' : '.'};
  const std::vector<std::uint8_t> stream(data + 2, data + size);
  PackageBytes package{};
  std::copy_n(stream.begin(), std::min(stream.size(), package.size()), package.begin());

  (void)ClassifyComparisonPackage(package);
  std::vector<TPLUStruct> table(6);
  (void)StoreComparisonRecords(package, 3, units.PriceDecimals, table);

  StringGrid plu(PluCol::Count, 9);
  std::vector<bool> alcohol(8);
  StorePluUploadPackage(package, 1, {1, 8}, plu, alcohol, units);
  for (int row = 5; row <= 8; ++row) {
    if (plu.Cell(PluCol::Name, row).empty()) continue;
    const PluRecordBytes record =
        EncodePluRecord(plu, row, PluDownloadLayout::Compared, alcohol[row - 1], units);
    const UploadedPluRow back = DecodeUploadedPluRecord(record, units);
    if (*back.Cells[PluCol::Name] != plu.Cell(PluCol::Name, row)) __builtin_trap();
    if (*back.Cells[PluCol::Stocks] != plu.Cell(PluCol::Stocks, row)) __builtin_trap();
  }

  StringGrid depts(DeptCol::Count, 9);
  StoreDepartmentPackage(package, 0, depts, units);

  const std::vector<PluSalesRecord> sales = DecodeSalesRecords(stream, 1000);
  StoreSalesRecords(sales, {1, 8}, plu, units);

  RecyclingTable recycling{};
  (void)StoreRecyclingBlock(stream, recycling, units);
  (void)DecodeFastSalePackage(package, TOrvanencode(units.DecimalSeparator));

  IniDocument settings_file;
  Settings settings(settings_file, units.DecimalSeparator);
  if (stream.size() >= kParameterReadSize) {
    if (!StoreParameterBlock(stream, settings, {24, 24})) __builtin_trap();
    ParameterBlock block = ParameterBlockFromReceived(stream);
    if (!MergeParameterSettings(block, settings, {true, true, true}, {24, 24})) __builtin_trap();
  }
  return 0;
}
