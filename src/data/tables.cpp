#include "data/tables.h"

#include <algorithm>

namespace plumgr {

void SizeTables(Tables& tables, const EcrProfile& profile) {
  int plu_rows = std::max(profile.PluCount, 0);
  int dept_rows = std::max(profile.DeptCount, 0);
  tables.PLUGrid.SetRowCount(plu_rows + 1);
  tables.DeptmentGrid.SetRowCount(dept_rows + 1);
  tables.AlcoholFlags.resize(static_cast<std::size_t>(plu_rows), false);
}

void ResetRows(Tables& tables, GridId grid, int first, int last, char decimal_separator) {
  StringGrid& table = tables.Grid(grid);
  first = std::max(first, 1);
  last = std::min(last, table.DataRows());
  for (int col = 0; col < table.ColCount(); ++col) {
    std::string text = col == 0 ? std::string() : ColumnDefault(grid, col, decimal_separator);
    for (int row = first; row <= last; ++row)
      table.SetCell(col, row, text);
  }
}

void ResetAllRows(Tables& tables, char decimal_separator) {
  std::fill(tables.AlcoholFlags.begin(), tables.AlcoholFlags.end(), false);
  ResetRows(tables, GridId::Plu, 1, tables.PLUGrid.DataRows(), decimal_separator);
  ResetRows(tables, GridId::Dept, 1, tables.DeptmentGrid.DataRows(), decimal_separator);
}

void ClearEcrPluTable(Tables& tables) {
  tables.EcrPluTable.assign(kEcrPluTableSize, TPLUStruct{});
}

}  // namespace plumgr
