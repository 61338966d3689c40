#pragma once
// Reading a file to import: a CSV file, an Office Open XML workbook (.xlsx) or
// a legacy Excel workbook (.xls), told apart by their first bytes rather than
// their names. Only the first worksheet of a workbook is read.

#include <string>

#include "data/import_sheet.h"

namespace plumgr {

struct [[nodiscard]] ImportFileResult {
  bool Ok = true;
  ImportSheet Sheet;
  std::string Format;   // "CSV (semicolon-separated, UTF-8)", ".xlsx workbook", ...
  std::string Message;  // why the file could not be read; names the file
};

ImportFileResult ReadImportFile(const std::string& path);

// A number cell as text: the shortest form that reads back as the same number
// (at most 15 significant digits, as spreadsheets show them), "." as decimal
// point, no exponent below 10^15, so 5901234123457 stays a barcode.
std::u16string SpreadsheetNumberText(double value);

}  // namespace plumgr
