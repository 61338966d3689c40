#pragma once
// A one-sheet legacy Excel workbook stream (BIFF8) of text cells: the workbook
// globals with the shared string table, then the worksheet.

#include <string>

#include "output/sheet.h"

namespace plumgr {

// The largest sheet the format holds.
inline constexpr int kXlsMaxRows = 65536;
inline constexpr int kXlsMaxCols = 256;

inline constexpr const char16_t* kXlsSheetName = u"Sheet1";

// The "Workbook" stream for the sheet; every non-empty cell is a shared-string
// label. The sheet must fit kXlsMaxRows by kXlsMaxCols.
std::string BuildWorkbookStream(const Sheet& sheet);

}  // namespace plumgr
