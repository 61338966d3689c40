#include "transfer/sales_records.h"

#include <string>
#include <unordered_map>

#include "data/helpers.h"
#include "data/table_columns.h"
#include "link/bus_frame.h"

namespace plumgr {
namespace {

constexpr std::size_t kQuantityOffset = 7;
constexpr std::size_t kAmountOffset = 11;

}  // namespace

std::int64_t SalesPackageCount(std::uint32_t record_count) {
  const std::int64_t bytes = std::int64_t{record_count} * kSalesRecordSize;
  return (bytes + kPackageDataSize - 1) / kPackageDataSize;
}

std::vector<PluSalesRecord> DecodeSalesRecords(std::span<const std::uint8_t> stream,
                                               std::uint32_t record_count) {
  const std::size_t available = stream.size() / kSalesRecordSize;
  const std::size_t count = std::min<std::size_t>(record_count, available);
  std::vector<PluSalesRecord> records;
  records.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const auto record = stream.subspan(i * kSalesRecordSize, kSalesRecordSize);
    records.push_back({BcdToInt64(record.data(), kBarcodeDigits),
                       GetBig32Signed(record, kQuantityOffset), GetBig48(record, kAmountOffset)});
  }
  return records;
}

void StoreSalesRecords(std::span<const PluSalesRecord> records, const PluRange& range,
                       StringGrid& plu_grid, const WireUnits& units) {
  // The first row of each barcode, so that thousands of records need not each
  // walk thousands of rows.
  std::unordered_map<std::string, int> row_of_barcode;
  const int last = std::min(range.Last, plu_grid.RowCount() - 1);
  for (int row = std::max(range.First, 1); row <= last; ++row)
    row_of_barcode.emplace(plu_grid.Cell(PluCol::Barcode, row), row);

  for (const PluSalesRecord& record : records) {
    if (record.Barcode == 0) continue;
    const auto found = row_of_barcode.find(std::to_string(record.Barcode));
    if (found == row_of_barcode.end()) continue;
    plu_grid.SetCell(PluCol::Quantity, found->second,
                     ScaledText(record.QuantityThousandths, kStockDecimals, kStockDecimals,
                                units.DecimalSeparator));
    plu_grid.SetCell(PluCol::Total, found->second,
                     ScaledText(static_cast<double>(record.Amount), units.PriceDecimals, 2,
                                units.DecimalSeparator));
  }
}

}  // namespace plumgr
