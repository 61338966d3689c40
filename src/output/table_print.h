#pragma once
// The text of "Print...": one line per PLU row that has a Name, the Barcode and
// then a tab before each further cell, as the table holds them.

#include <string>
#include <vector>

#include "data/string_grid.h"

namespace plumgr {

std::vector<std::string> PluPrintLines(const StringGrid& plu);

// The lines each ended by CR LF: exactly what a text printer receives.
std::string PluPrintText(const StringGrid& plu);

}  // namespace plumgr
