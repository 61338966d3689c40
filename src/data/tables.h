#pragma once
// The process-wide table state: the PLU and department tables, the alcohol marks
// of the PLU rows and the register's PLU table as read back for comparison. The
// application owns one Tables for the whole run.

#include <cstdint>
#include <string>
#include <vector>

#include "data/definitions.h"
#include "data/string_grid.h"
#include "data/table_columns.h"

namespace plumgr {

// One PLU as the register holds it.
struct TPLUStruct {
  std::int32_t No = 0;  // zero-based PLU number; -1 marks "not found" in a lookup
  std::string Barcode;  // decimal text
  std::string Name;     // up to 18 characters
  double Price = 0;
  std::int32_t Dept = 0;  // 1-based
  double Stocks = 0;
  std::int32_t Flag = 0;  // 0 to 255
  std::int32_t Alcohol = 0;
};

inline constexpr int kEcrPluTableSize = 10000;

// The department rows that take part in the repeat checks.
inline constexpr int kCheckedDeptRows = 16;

struct Tables {
  StringGrid PLUGrid{PluCol::Count, 1};
  StringGrid DeptmentGrid{DeptCol::Count, 1};
  // One entry per PLU data row: row n uses entry n - 1. Not saved in the data files.
  std::vector<bool> AlcoholFlags;
  // The register's PLU table from the last comparison read; all zero at start.
  std::vector<TPLUStruct> EcrPluTable = std::vector<TPLUStruct>(kEcrPluTableSize);
  // The PLU count of the last status check; 0 until the first transfer. Only PLU
  // rows 1 to EcrPluCount take part in the repeat checks against PLU rows.
  int EcrPluCount = 0;

  StringGrid& Grid(GridId id) { return id == GridId::Plu ? PLUGrid : DeptmentGrid; }
  const StringGrid& Grid(GridId id) const { return id == GridId::Plu ? PLUGrid : DeptmentGrid; }
};

// Sizes the tables for a register model: PluCount + 1 and DeptCount + 1 rows,
// one alcohol mark per PLU data row. Rows and marks that stay keep their values;
// new rows are empty (callers reset them) and new marks are false.
void SizeTables(Tables& tables, const EcrProfile& profile);

// Gives every cell of data rows first..last (clamped to the table) its column
// default; column 0 gets "".
void ResetRows(Tables& tables, GridId grid, int first, int last, char decimal_separator);

// ResetRows on every data row of both tables and clears every alcohol mark (New).
void ResetAllRows(Tables& tables, char decimal_separator);

// Zero-fills EcrPluTable (start-up and before a comparison read).
void ClearEcrPluTable(Tables& tables);

}  // namespace plumgr
