// The PLU and department table reader on arbitrary bytes; what it read must
// write and read back to the same cells. Small tables keep the runs fast; the row
// limit works the same at any size.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/data_file_format.h"

namespace {

plumgr::StringGrid FreshGrid(int columns) {
  plumgr::StringGrid grid(columns, 41);
  for (int row = 1; row < grid.RowCount(); ++row)
    grid.SetCell(columns - 1, row, "0.00");
  return grid;
}

void CheckRoundTrip(std::string_view text, int columns, plumgr::TableLayout layout) {
  plumgr::StringGrid first = FreshGrid(columns);
  plumgr::ReadTable(text, first);
  std::string written = plumgr::FormatTable(first, layout);
  plumgr::StringGrid second = FreshGrid(columns);
  plumgr::ReadTable(written, second);
  int last_used = 0;
  for (int row = 1; row < first.RowCount(); ++row)
    if (!first.Cell(layout.NameColumn, row).empty()) last_used = row;
  for (int row = 1; row <= last_used; ++row)
    for (int col = 1; col < first.ColCount(); ++col)
      if (first.Cell(col, row) != second.Cell(col, row)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckRoundTrip(text, 10, plumgr::kPluFileLayout);
  CheckRoundTrip(text, 4, plumgr::kDeptFileLayout);
  return 0;
}
