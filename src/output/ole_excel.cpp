#include "output/ole_excel.h"

#include "data/file_io.h"
#include "data/helpers.h"
#include "output/compound_file.h"
#include "output/csv_sheet.h"
#include "output/xls_workbook.h"
#include "output/xlsx_sheet.h"

namespace plumgr {

WorkbookFormat FormatForFileName(const std::string& file_name) {
  const std::string extension = LowerExtension(file_name);
  if (extension == ".xlsx") return WorkbookFormat::Xlsx;
  if (extension == ".csv") return WorkbookFormat::Csv;
  return WorkbookFormat::Xls;
}

void TOLEExcel::OpenWorkbook() {
  sheet_ = Sheet();
  connected_ = true;
}

SheetFont TOLEExcel::ToSheetFont(const TFont& font) const {
  SheetFont out;
  out.Name = DecodeCodePage(font.Name, *code_page_);
  out.Size = font.Size;
  out.Bold = font.Bold();
  out.Italic = font.Italic();
  out.Underline = font.Underline();
  out.StrikeOut = font.StrikeOut();
  out.Color = font.Color;
  return out;
}

void TOLEExcel::ExportGrid(const StringGrid& grid, int fixed_cols, int fixed_rows) {
  if (!connected_) return;
  sheet_ = Sheet(grid.RowCount(), grid.ColCount());
  sheet_.TitleFont = ToSheetFont(title_font_);
  sheet_.CellFont = ToSheetFont(cell_font_);
  for (int r = 0; r < grid.RowCount(); ++r) {
    for (int c = 0; c < grid.ColCount(); ++c) {
      SheetCell& cell = sheet_.At(r, c);
      cell.Text = DecodeCodePage(grid.Cell(c, r), *code_page_);
      bool fixed = r < fixed_rows || c < fixed_cols;
      if (!ignore_font_) cell.Font = fixed ? CellFontRole::Title : CellFontRole::Cell;
    }
  }
}

namespace {

FileResult SaveXls(const Sheet& sheet, const std::string& file_name) {
  if (sheet.Rows > kXlsMaxRows || sheet.Cols > kXlsMaxCols) {
    return FileResult::Failure("Cannot write \"" + file_name +
                               "\": the table is larger than a .xls worksheet (65536 rows, "
                               "256 columns)");
  }
  std::optional<std::string> file = BuildCompoundFile(BuildWorkbookStream(sheet));
  if (!file) {
    return FileResult::Failure("Cannot write \"" + file_name +
                               "\": the workbook is too large for a .xls file");
  }
  return ReplaceFile(file_name, *file);
}

FileResult SaveXlsxFile(const Sheet& sheet, const std::string& file_name) {
  PendingFile pending;
  if (FileResult r = PendingFile::Reserve(file_name, NewFileAccess::Shared, &pending); !r) return r;
  if (FileResult r = WriteXlsx(sheet, pending.TempPath(), file_name); !r) return r;
  return pending.Commit();
}

// The most characters one cell holds: a .xls string counts them in 16 bits,
// a .xlsx cell stops at 32767; a .csv line has no limit.
std::size_t MaxCellLength(WorkbookFormat format) {
  switch (format) {
    case WorkbookFormat::Xls:
      return 65535;
    case WorkbookFormat::Xlsx:
      return 32767;
    case WorkbookFormat::Csv:
      break;
  }
  return std::u16string::npos;
}

// "A1", "J3001": the cell as the spreadsheet names it.
std::string CellName(int row, int col) {
  std::string letters;
  for (int n = col + 1; n > 0; n = (n - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  return letters + std::to_string(row + 1);
}

// A longer cell would wrap its length and corrupt the file, or be cut.
FileResult CheckCellLengths(const Sheet& sheet, WorkbookFormat format,
                            const std::string& file_name) {
  const std::size_t limit = MaxCellLength(format);
  for (int r = 0; r < sheet.Rows; ++r) {
    for (int c = 0; c < sheet.Cols; ++c) {
      const std::size_t length = sheet.At(r, c).Text.size();
      if (length <= limit) continue;
      return FileResult::Failure("Cannot write \"" + file_name + "\": cell " + CellName(r, c) +
                                 " holds " + std::to_string(length) +
                                 " characters, more than the " + std::to_string(limit) +
                                 " a cell of this format can hold");
    }
  }
  return FileResult::Success();
}

}  // namespace

FileResult TOLEExcel::SaveWorkbook(const std::string& file_name) const {
  if (!connected_)
    return FileResult::Failure("Cannot write \"" + file_name + "\": no workbook is open");
  if (FileResult fits = CheckCellLengths(sheet_, FormatForFileName(file_name), file_name); !fits)
    return fits;
  switch (FormatForFileName(file_name)) {
    case WorkbookFormat::Xlsx:
      return SaveXlsxFile(sheet_, file_name);
    case WorkbookFormat::Csv:
      return ReplaceFile(file_name, BuildCsv(sheet_));
    case WorkbookFormat::Xls:
      break;
  }
  return SaveXls(sheet_, file_name);
}

}  // namespace plumgr
