#include "app/service_commands.h"

#include <cstdio>

#include "data/rounding.h"

namespace plumgr {

void FillTestData(MainWindowState& state) {
  Tables& tables = state.GetTables();
  const char sep = state.DecimalSeparator();

  StringGrid& plu = tables.PLUGrid;
  for (int n = 1; n < plu.RowCount(); ++n) {
    char barcode[32];
    std::snprintf(barcode, sizeof barcode, "12345678%5.5d", n);
    plu.SetCell(PluCol::Name, n, "PLU-" + std::to_string(n));
    plu.SetCell(PluCol::Dept, n, std::to_string(n % 8 + 1));
    plu.SetCell(PluCol::Price, n, FormatScaled(static_cast<std::int64_t>(n) * 1000, 2, sep));
    plu.SetCell(PluCol::Barcode, n, barcode);
    plu.SetCell(PluCol::Flag, n, "0");
  }

  StringGrid& dept = tables.DeptmentGrid;
  for (int n = 1; n < dept.RowCount(); ++n) {
    dept.SetCell(DeptCol::Name, n, "Deptment-" + std::to_string(n));
    dept.SetCell(DeptCol::Tax, n, std::to_string(n % 9 + 1));
    dept.SetCell(DeptCol::Price, n, FormatScaled(static_cast<std::int64_t>(n) * 1000, 2, sep));
  }

  RecyclingTable& recycling = state.Recycling();
  for (int n = 1; n <= kRecyclingUsedEntries; ++n) {
    recycling[n - 1].Number = std::to_string(n);
    recycling[n - 1].PackagePrice = FormatScaled(static_cast<std::int64_t>(n) * 900, 2, sep);
  }
  state.PluEdit().TablesReplaced();
  state.DeptEdit().TablesReplaced();
  // The tables no longer hold what the file holds.
  state.SetModified(true);
}

}  // namespace plumgr
