#pragma once
// The spreadsheet exporter: opens a workbook, copies a string table into its one
// worksheet and saves it. The workbook is written by our own writers: a legacy
// Excel workbook for ".xls" (and any other extension), Office Open XML for
// ".xlsx" and comma-separated UTF-8 text for ".csv".

#include <string>

#include "data/code_page.h"
#include "data/color_font.h"
#include "data/file_io.h"
#include "data/string_grid.h"
#include "output/sheet.h"

namespace plumgr {

enum class WorkbookFormat { Xls, Xlsx, Csv };

// Chosen by the file name's extension, ignoring case; anything but ".xlsx" and
// ".csv" is a legacy workbook, as the register's users have always received.
WorkbookFormat FormatForFileName(const std::string& file_name);

class TOLEExcel {
 public:
  const TFont& TitleFont() const { return title_font_; }
  void SetTitleFont(const TFont& font) { title_font_ = font; }
  const TFont& CellFont() const { return cell_font_; }
  void SetCellFont(const TFont& font) { cell_font_ = font; }
  // There is no spreadsheet window to show; the flag is kept for callers that set it.
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) {
    if (connected_) visible_ = visible;
  }
  bool IgnoreFont() const { return ignore_font_; }
  void SetIgnoreFont(bool ignore) { ignore_font_ = ignore; }
  bool Connected() const { return connected_; }

  // The code page of the cell texts; Windows-1250 unless set.
  void SetCodePage(const CodePageUpperHalf& upper) { code_page_ = &upper; }

  // Starts a new, empty workbook.
  void OpenWorkbook();
  // Copies every cell of the table into the worksheet: fixed rows and columns
  // with TitleFont, the rest with CellFont (no fonts when IgnoreFont). Does
  // nothing unless Connected.
  void ExportGrid(const StringGrid& grid, int fixed_cols = 1, int fixed_rows = 1);
  // Writes the workbook under that name, in the format its extension asks for.
  // The file appears complete or not at all.
  FileResult SaveWorkbook(const std::string& file_name) const;

  const Sheet& Worksheet() const { return sheet_; }

 private:
  SheetFont ToSheetFont(const TFont& font) const;

  TFont title_font_;
  TFont cell_font_;
  bool visible_ = false;
  bool ignore_font_ = true;
  bool connected_ = false;
  const CodePageUpperHalf* code_page_ = &Windows1250();
  Sheet sheet_;
};

}  // namespace plumgr
