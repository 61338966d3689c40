#include "cli/upload_set.h"

#include <filesystem>

#include "cli/set_files.h"
#include "data/data_file_set.h"

namespace plumgr::cli {
namespace {

// Rows outside the range come back from the set's own .PLU file.
void KeepRowsOutsideRange(MainWindowState& state, const std::string& plu_file,
                          const PluRange& range) {
  std::error_code ec;
  if (!std::filesystem::exists(plu_file, ec)) return;
  StringGrid& plu = state.GetTables().PLUGrid;
  if (range.First <= 1 && range.Last >= plu.DataRows()) return;
  Tables old;
  ReadSetTables(plu_file, state.DecimalSeparator(), old);
  const int rows = std::min(plu.DataRows(), old.PLUGrid.DataRows());
  for (int row = 1; row <= rows; ++row) {
    if (row >= range.First && row <= range.Last) continue;
    for (int col = 1; col < plu.ColCount(); ++col)
      plu.SetCell(col, row, old.PLUGrid.Cell(col, row));
  }
}

}  // namespace

FileResult SaveUploadedSet(MainWindowState& state, const std::string& plu_file,
                           const UploadedParts& parts) {
  if (parts.PluUploaded && (parts.Files & kSetPluFile) != 0)
    KeepRowsOutsideRange(state, plu_file, parts.Range);
  Tables& tables = state.GetTables();
  const DataFileSetTables set{tables.PLUGrid, tables.DeptmentGrid, state.FastSale(),
                              state.Recycling(), state.SettingsPath()};
  FileResult saved = SaveSet(plu_file, set, parts.Files);
  if (saved) state.SetModified(false);
  return saved;
}

}  // namespace plumgr::cli
