#pragma once
// The first worksheet of an Office Open XML workbook as text cells: shared and
// inline strings, numbers (SpreadsheetNumberText), booleans as "1" and "0",
// formula results as their cached values.

#include <string>

#include "output/import_file.h"

namespace plumgr {

ImportFileResult ReadXlsx(const std::string& path);

}  // namespace plumgr
