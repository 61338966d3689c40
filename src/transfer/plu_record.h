#pragma once
// The 64-byte PLU record, the form in which one PLU travels in both directions,
// and the 68-byte download slot that puts the register's PLU index in front of it.
//
// Record layout (multi-byte numbers big-endian):
//   0  7  barcode, packed BCD of 13 digits
//   7  18 name, NUL-terminated when shorter
//   25 4  unit price, signed, x 10^PriceDecimals
//   44 1  department - 1
//   45 4  stock, signed, x 1000
//   49 1  flag
//   51 1  alcohol mark (compared download only)
// Every other byte is filler.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "data/string_grid.h"
#include "data/table_columns.h"
#include "data/tables.h"
#include "transfer/wire_numbers.h"

namespace plumgr {

inline constexpr std::size_t kPluRecordSize = 64;
inline constexpr std::size_t kPluSlotSize = 68;
inline constexpr int kBarcodeDigits = 13;

using PluRecordBytes = std::array<std::uint8_t, kPluRecordSize>;
using PluSlotBytes = std::array<std::uint8_t, kPluSlotSize>;
using PluRecordView = std::span<const std::uint8_t, kPluRecordSize>;

// The two download layouts: the plain one fills unused bytes with 0xFF and sends
// no alcohol mark; the compared one fills them with 0x00 and sends the mark.
enum class PluDownloadLayout { Plain, Compared };

// One row of the PLU table as a record. Cell texts that are not numbers travel
// as 0 (the department as 0xFF). `alcohol` is sent by the compared layout only.
PluRecordBytes EncodePluRecord(const StringGrid& plu_grid, int row, PluDownloadLayout layout,
                               bool alcohol, const WireUnits& units);

// A slot: the 0-based register index, least significant byte first, then the record.
PluSlotBytes EncodePluSlot(std::int32_t index, const PluRecordBytes& record);

// The slot of a row without a name in the compared download: the index followed
// by 64 bytes 0xFF, which the register takes as an empty PLU.
PluSlotBytes EmptyPluSlot(std::int32_t index);

// True when the row's name is empty once blanks at both ends are removed.
bool HasBlankPluName(const StringGrid& plu_grid, int row);

// A record the register sent back, as the cells it puts into its table row
// (nothing for the cells it leaves alone) and the row's alcohol mark (nothing:
// the mark keeps its value).
struct UploadedPluRow {
  std::array<std::optional<std::string>, PluCol::Count> Cells;
  std::optional<bool> Alcohol;
  // The name held a tab, CR or LF, each stored as a space.
  bool NameCleaned = false;
};

// A record whose first byte is 0xFF is empty and resets the row's columns 1 to 9
// to their defaults. Prices show two decimals whatever PriceDecimals is. A tab,
// CR or LF in the name becomes a space, so the row stays one line of the file.
UploadedPluRow DecodeUploadedPluRecord(PluRecordView record, const WireUnits& units);

// Writes the decoded cells and alcohol mark into row `row`; rows outside the
// table are ignored.
void StoreUploadedPluRow(const UploadedPluRow& uploaded, int row, StringGrid& plu_grid,
                         std::vector<bool>& alcohol_flags);

// A record of the register's own PLU table, read for comparison, as entry `no`.
TPLUStruct DecodeComparisonRecord(PluRecordView record, std::int32_t no, int price_decimals);

}  // namespace plumgr
