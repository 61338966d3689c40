#pragma once
// The first worksheet of a legacy Excel workbook (BIFF5 and BIFF8 in a compound
// document) as text cells, read through libfreexl.

#include <string>

#include "output/import_file.h"

namespace plumgr {

ImportFileResult ReadXls(const std::string& path);

}  // namespace plumgr
