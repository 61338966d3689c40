#pragma once
// An Office Open XML workbook (.xlsx) of one sheet of text cells.

#include <string>

#include "data/file_io.h"
#include "output/sheet.h"

namespace plumgr {

// Writes the workbook to path (which the caller has made and will rename).
FileResult WriteXlsx(const Sheet& sheet, const std::string& path, const std::string& shown_name);

}  // namespace plumgr
