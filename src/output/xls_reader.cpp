#include "output/xls_reader.h"

#include <freexl.h>

#include "data/code_page.h"

namespace plumgr {
namespace {

class XlsHandle {
 public:
  ~XlsHandle() {
    if (handle_ != nullptr) freexl_close(handle_);
  }
  const void** Out() { return &handle_; }
  const void* Get() const { return handle_; }

 private:
  const void* handle_ = nullptr;
};

std::u16string CellText(const FreeXL_CellValue& cell) {
  switch (cell.type) {
    case FREEXL_CELL_INT:
      return SpreadsheetNumberText(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
      return SpreadsheetNumberText(cell.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
      if (cell.value.text_value == nullptr) return {};
      return Utf8ToUtf16(cell.value.text_value).value_or(u"");
    default:
      return {};
  }
}

}  // namespace

ImportFileResult ReadXls(const std::string& path) {
  ImportFileResult result;
  result.Format = ".xls workbook";
  XlsHandle xls;
  int status = freexl_open(path.c_str(), xls.Out());
  unsigned int rows = 0;
  unsigned short cols = 0;
  if (status == FREEXL_OK) status = freexl_select_active_worksheet(xls.Get(), 0);
  if (status == FREEXL_OK) status = freexl_worksheet_dimensions(xls.Get(), &rows, &cols);
  if (status != FREEXL_OK) {
    result.Ok = false;
    result.Message = "\"" + path + "\" is no workbook this program can read (error " +
                     std::to_string(status) + ")";
    return result;
  }
  result.Sheet.Rows.resize(rows);
  for (unsigned int r = 0; r < rows; ++r) {
    std::vector<std::u16string>& row = result.Sheet.Rows[r];
    for (unsigned short c = 0; c < cols; ++c) {
      FreeXL_CellValue cell;
      if (freexl_get_cell_value(xls.Get(), r, c, &cell) != FREEXL_OK) continue;
      std::u16string text = CellText(cell);
      if (text.empty()) continue;
      row.resize(static_cast<std::size_t>(c) + 1);
      row[c] = std::move(text);
    }
  }
  return result;
}

}  // namespace plumgr
