#include "data/repeat_checks.h"

#include <algorithm>
#include <cstdio>

namespace plumgr {

namespace {

// The register may report more PLUs than the table has rows; rows beyond the
// table do not exist, so they cannot repeat anything.
int CheckedPluRows(const Tables& tables) {
  return std::min(tables.EcrPluCount, tables.PLUGrid.DataRows());
}

int CheckedDeptRows(const Tables& tables) {
  return std::min(kCheckedDeptRows, tables.DeptmentGrid.DataRows());
}

// The first row in 1..last, other than `skip`, whose cell equals the text; 0 if none.
int FindRepeat(const StringGrid& grid, int col, int last, int skip, const std::string& text) {
  for (int row = 1; row <= last; ++row)
    if (row != skip && grid.Cell(col, row) == text) return row;
  return 0;
}

bool Report(UiPort& ui, const char* format, int row, int other) {
  char message[96];
  std::snprintf(message, sizeof message, format, row, other);
  ui.ShowMessage(message);
  return false;
}

}  // namespace

bool CheckPluNameRepeat(const Tables& tables, int row, const std::string& name, UiPort& ui) {
  if (int other = FindRepeat(tables.PLUGrid, PluCol::Name, CheckedPluRows(tables), row, name))
    return Report(ui, "PLU name repeat: No. %d and No. %d", row, other);
  if (int other = FindRepeat(tables.DeptmentGrid, DeptCol::Name, CheckedDeptRows(tables), 0, name))
    return Report(ui, "PLU name and Dept name repeat: No. %d and No. %d", row, other);
  return true;
}

bool CheckPluBarcodeRepeat(const Tables& tables, int row, const std::string& barcode, UiPort& ui) {
  if (int other = FindRepeat(tables.PLUGrid, PluCol::Barcode, CheckedPluRows(tables), row, barcode))
    return Report(ui, "PLU BCode repeat: No. %d and No. %d", row, other);
  return true;
}

bool CheckDeptNameRepeat(const Tables& tables, int row, const std::string& name, UiPort& ui) {
  if (int other =
          FindRepeat(tables.DeptmentGrid, DeptCol::Name, CheckedDeptRows(tables), row, name))
    return Report(ui, "Dept name repeat: No. %d and No. %d", row, other);
  if (int other = FindRepeat(tables.PLUGrid, PluCol::Name, CheckedPluRows(tables), 0, name))
    return Report(ui, "Dept name and PLU name repeat: No. %d and No. %d", row, other);
  return true;
}

}  // namespace plumgr
