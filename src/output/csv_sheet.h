#pragma once
// Comma-separated text of a sheet: UTF-8, CR LF line ends, fields quoted only
// where they hold a comma, a quote or a line break.

#include <string>

#include "output/sheet.h"

namespace plumgr {

std::string BuildCsv(const Sheet& sheet);

}  // namespace plumgr
