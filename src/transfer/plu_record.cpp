#include "transfer/plu_record.h"

#include <algorithm>
#include <cmath>

#include "data/helpers.h"
#include "data/rounding.h"

namespace plumgr {
namespace {

constexpr std::size_t kBarcodeOffset = 0;
constexpr std::size_t kNameOffset = 7;
constexpr std::size_t kNameWidth = 18;
constexpr std::size_t kPriceOffset = 25;
constexpr std::size_t kDeptOffset = 44;
constexpr std::size_t kStockOffset = 45;
constexpr std::size_t kFlagOffset = 49;
constexpr std::size_t kAlcoholOffset = 51;
constexpr std::size_t kIndexSize = 4;

std::uint8_t LowByte(std::int64_t value) {
  return static_cast<std::uint8_t>(value);
}

}  // namespace

PluRecordBytes EncodePluRecord(const StringGrid& plu_grid, int row, PluDownloadLayout layout,
                               bool alcohol, const WireUnits& units) {
  PluRecordBytes record;
  record.fill(layout == PluDownloadLayout::Plain ? 0xFF : 0x00);
  const char sep = units.DecimalSeparator;

  std::int64_t barcode = WholeNumberOrZero(plu_grid.Cell(PluCol::Barcode, row));
  Int64ToBcd(kBarcodeDigits, record.data() + kBarcodeOffset, std::max<std::int64_t>(barcode, 0));
  PutTextField(record, kNameOffset, kNameWidth, plu_grid.Cell(PluCol::Name, row));
  PutBig32(record, kPriceOffset,
           ScaledLow32(plu_grid.Cell(PluCol::Price, row), units.PriceDecimals, sep));
  record[kDeptOffset] = LowByte(WholeNumberOrZero(plu_grid.Cell(PluCol::Dept, row)) - 1);
  PutBig32(record, kStockOffset,
           ScaledLow32(plu_grid.Cell(PluCol::Stocks, row), kStockDecimals, sep));
  record[kFlagOffset] = LowByte(WholeNumberOrZero(plu_grid.Cell(PluCol::Flag, row)));
  if (layout == PluDownloadLayout::Compared) record[kAlcoholOffset] = alcohol ? 1 : 0;
  return record;
}

PluSlotBytes EncodePluSlot(std::int32_t index, const PluRecordBytes& record) {
  PluSlotBytes slot;
  auto bits = static_cast<std::uint32_t>(index);
  for (std::size_t i = 0; i < kIndexSize; ++i, bits >>= 8)
    slot[i] = static_cast<std::uint8_t>(bits);
  std::copy(record.begin(), record.end(), slot.begin() + kIndexSize);
  return slot;
}

PluSlotBytes EmptyPluSlot(std::int32_t index) {
  PluRecordBytes empty;
  empty.fill(0xFF);
  return EncodePluSlot(index, empty);
}

bool HasBlankPluName(const StringGrid& plu_grid, int row) {
  return TrimBlanksAndControls(plu_grid.Cell(PluCol::Name, row)).empty();
}

UploadedPluRow DecodeUploadedPluRecord(PluRecordView record, const WireUnits& units) {
  UploadedPluRow row;
  const char sep = units.DecimalSeparator;
  if (record[0] == 0xFF) {
    for (int col = PluCol::Barcode; col < PluCol::Count; ++col)
      row.Cells[col] = ColumnDefault(GridId::Plu, col, sep);
    return row;
  }
  row.Cells[PluCol::Barcode] =
      std::to_string(BcdToInt64(record.data() + kBarcodeOffset, kBarcodeDigits));
  std::string name = GetTextField(record, kNameOffset, kNameWidth);
  row.NameCleaned = BlankFieldBreaks(name);
  row.Cells[PluCol::Name] = std::move(name);
  row.Cells[PluCol::Price] =
      ScaledText(GetBig32Signed(record, kPriceOffset), units.PriceDecimals, 2, sep);
  row.Cells[PluCol::Dept] = std::to_string(record[kDeptOffset] + 1);
  row.Cells[PluCol::Stocks] =
      ScaledText(GetBig32Signed(record, kStockOffset), kStockDecimals, kStockDecimals, sep);
  row.Cells[PluCol::Flag] = std::to_string(record[kFlagOffset]);
  row.Alcohol = record[kAlcoholOffset] == 1;
  return row;
}

void StoreUploadedPluRow(const UploadedPluRow& uploaded, int row, StringGrid& plu_grid,
                         std::vector<bool>& alcohol_flags) {
  if (row < 1 || row >= plu_grid.RowCount()) return;
  for (int col = 0; col < PluCol::Count && col < plu_grid.ColCount(); ++col)
    if (uploaded.Cells[col]) plu_grid.SetCell(col, row, *uploaded.Cells[col]);
  if (uploaded.Alcohol && static_cast<std::size_t>(row - 1) < alcohol_flags.size())
    alcohol_flags[row - 1] = *uploaded.Alcohol;
}

TPLUStruct DecodeComparisonRecord(PluRecordView record, std::int32_t no, int price_decimals) {
  TPLUStruct plu;
  plu.No = no;
  plu.Barcode = std::to_string(BcdToInt64(record.data() + kBarcodeOffset, kBarcodeDigits));
  plu.Name = GetTextField(record, kNameOffset, kNameWidth);
  plu.Price = GetBig32Signed(record, kPriceOffset) / std::pow(10.0, price_decimals);
  plu.Dept = record[kDeptOffset] + 1;
  plu.Stocks = GetBig32Signed(record, kStockOffset) / std::pow(10.0, kStockDecimals);
  plu.Flag = record[kFlagOffset];
  plu.Alcohol = record[kAlcoholOffset];
  return plu;
}

}  // namespace plumgr
