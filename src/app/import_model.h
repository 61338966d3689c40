#pragma once
// "Import...": a file of items read into the PLU or the department table. The
// model holds the file's sheet, the preview of its first rows and the choice
// of table column for each of its columns; the desktop's dialog shows and
// changes it, the command line sets it from its arguments.

#include <functional>
#include <string>
#include <vector>

#include "app/import_columns.h"
#include "app/main_window_state.h"
#include "app/table_import.h"
#include "data/import_sheet.h"

namespace plumgr {

inline constexpr const char* kImportFilter =
    "Item lists(*.csv;*.txt;*.xlsx;*.xls)|*.csv;*.txt;*.xlsx;*.xls|All files(*)|*";
inline constexpr int kImportPreviewRows = 10;

class ImportModel {
 public:
  // Reads the file and matches its header to the PLU table's titles. False
  // when the file cannot be read (Message() says why).
  bool Load(const std::string& path);

  const std::string& Path() const { return path_; }
  const std::string& Format() const { return format_; }
  const std::string& Message() const { return message_; }
  const ImportSheet& Sheet() const { return sheet_; }
  // The header row; a file without rows has none.
  const std::vector<std::u16string>& Header() const { return header_; }
  int ColumnCount() const { return static_cast<int>(header_.size()); }
  // Data rows of the file and those the preview shows (at most kImportPreviewRows).
  int DataRows() const;
  int PreviewRows() const;
  // The text of a preview cell, row from 0 after the header.
  const std::u16string& PreviewCell(int row, int col) const;

  GridId Grid() const { return titles_.Grid; }
  // Another table: the header is matched again to its titles (the explicit
  // mapping applied again).
  void SetGrid(GridId grid);

  // The titles a column may be given, by table column; the first of each is
  // the one the window shows.
  const ImportTitles& Titles() const { return titles_; }
  const ImportColumns& Columns() const { return columns_; }
  // The table column a sheet column fills (kNotImported to leave it out).
  void SetTarget(int sheet_col, int table_col);
  // An explicit mapping over the titles matched; its problems stay until changed.
  void SetMap(std::vector<ColumnMapEntry> map);

  // Why the import cannot run as it is chosen (mapping and targets); empty when it can.
  std::vector<std::string> Problems() const;
  // Sheet columns that will not be imported, and why.
  const std::vector<std::string>& Notes() const { return notes_; }

  // Imports into the state's tables in the code page in force.
  ImportOutcome Import(MainWindowState& state, RefusedRows refused) const;

 private:
  void Match();

  std::string path_;
  std::string format_;
  std::string message_;
  ImportSheet sheet_;
  std::vector<std::u16string> header_;
  ImportTitles titles_ = TitlesForImport(GridId::Plu);
  std::vector<ColumnMapEntry> map_;
  ImportColumns columns_;
  std::vector<std::string> map_problems_;
  std::vector<std::string> notes_;
};

// The dialog with the preview and the mapping; true for OK.
using ImportDialog = std::function<bool(ImportModel& model)>;

// The refused cells for a message box: the first `shown` lines, then how many more.
std::string RefusalSummary(const ImportOutcome& outcome, std::size_t shown);

// "1 row", "3000 rows": a count with its noun (one that takes an "s").
std::string Counted(int count, const std::string& noun);

// "N imported rows have no name: ...", for an outcome with such rows.
std::string WithoutNameNote(const ImportOutcome& outcome);

// "Import...": validates the cell being edited, chooses the file, shows the
// dialog, imports; when cells are refused, shows them and asks whether to leave
// out their rows. What was imported marks the data modified. True when the
// tables changed.
bool ImportCommand(MainWindowState& state, const ImportDialog& dialog);

}  // namespace plumgr
