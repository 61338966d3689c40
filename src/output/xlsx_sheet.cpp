#include "output/xlsx_sheet.h"

#include <xlsxwriter.h>

#include "data/code_page.h"

namespace plumgr {

namespace {

lxw_format* AddFontFormat(lxw_workbook* workbook, const SheetFont& font) {
  lxw_format* format = workbook_add_format(workbook);
  if (!font.Name.empty()) format_set_font_name(format, Utf16ToUtf8(font.Name).c_str());
  format_set_font_size(format, font.Size);
  if (font.Bold) format_set_bold(format);
  if (font.Italic) format_set_italic(format);
  if (font.Underline) format_set_underline(format, LXW_UNDERLINE_SINGLE);
  if (font.StrikeOut) format_set_font_strikeout(format);
  if (!IsSystemColor(font.Color)) {
    format_set_font_color(format, (static_cast<lxw_color_t>(RedOf(font.Color)) << 16) |
                                      (GreenOf(font.Color) << 8) | BlueOf(font.Color));
  }
  return format;
}

}  // namespace

FileResult WriteXlsx(const Sheet& sheet, const std::string& path, const std::string& shown_name) {
  auto failure = [&](lxw_error error) {
    return FileResult::Failure("Cannot write \"" + shown_name + "\": " + lxw_strerror(error));
  };
  lxw_workbook* workbook = workbook_new(path.c_str());
  if (workbook == nullptr) return failure(LXW_ERROR_CREATING_XLSX_FILE);
  lxw_worksheet* worksheet = workbook_add_worksheet(workbook, "Sheet1");
  lxw_format* title = nullptr;
  lxw_format* cell = nullptr;
  if (sheet.UsesFont(CellFontRole::Title)) title = AddFontFormat(workbook, sheet.TitleFont);
  if (sheet.UsesFont(CellFontRole::Cell)) cell = AddFontFormat(workbook, sheet.CellFont);

  lxw_error error = LXW_NO_ERROR;
  for (int r = 0; r < sheet.Rows && error == LXW_NO_ERROR; ++r) {
    for (int c = 0; c < sheet.Cols && error == LXW_NO_ERROR; ++c) {
      const SheetCell& entry = sheet.At(r, c);
      if (entry.Text.empty()) continue;
      lxw_format* format = entry.Font == CellFontRole::Title  ? title
                           : entry.Font == CellFontRole::Cell ? cell
                                                              : nullptr;
      error =
          worksheet_write_string(worksheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                                 Utf16ToUtf8(entry.Text).c_str(), format);
    }
  }
  lxw_error closed = workbook_close(workbook);
  if (error != LXW_NO_ERROR) return failure(error);
  if (closed != LXW_NO_ERROR) return failure(closed);
  return FileResult::Success();
}

}  // namespace plumgr
