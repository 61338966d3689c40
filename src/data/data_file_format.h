#pragma once
// The text formats of the data file set: tab-separated fields, CR LF line ends
// on writing, and any of CR LF, LF or CR accepted on reading. The readers take
// arbitrary bytes; cell texts are kept exactly as found.

#include <string>
#include <string_view>

#include "data/small_tables.h"
#include "data/string_grid.h"

namespace plumgr {

// The columns of the PLU and department tables that the files hold: 1..last,
// with the Name column deciding which rows are in use.
struct TableLayout {
  int NameColumn = 0;
  int LastColumn = 0;
};
inline constexpr TableLayout kPluFileLayout{2, 9};
inline constexpr TableLayout kDeptFileLayout{1, 3};

// Rows 1 up to the last row whose Name is not empty, columns 1..LastColumn
// joined by tabs; an empty table gives an empty text.
std::string FormatTable(const StringGrid& grid, TableLayout layout);

// Line n fills data row n: field k goes to column k while k is below the column
// count, further fields are ignored and cells without a field keep their text.
// Lines past the last data row are ignored.
void ReadTable(std::string_view text, StringGrid& grid);

// 16 lines: barcode, tab, sign flag in decimal.
std::string FormatFastSale(const FastSaleTable& table);
// The first 100 entries: number text, tab, package price text.
std::string FormatRecycling(const RecyclingTable& table);

struct [[nodiscard]] EntryReadResult {
  bool Ok = true;
  int Line = 0;         // the line of the error, from 1
  std::string Message;  // names the value at fault
};

// Each line with at least two fields fills the next entry; shorter lines are
// skipped. Entries past the last line read keep their values. A sign flag that
// is not a whole number stops the reading at that line; the entries before it
// stay filled.
EntryReadResult ReadFastSale(std::string_view text, FastSaleTable& table);
void ReadRecycling(std::string_view text, RecyclingTable& table);

}  // namespace plumgr
