#pragma once
// The check an operator runs on a data file set before a download: every cell
// that validation would refuse, and every repeated PLU name, PLU barcode and
// department name, as the repeat checks find them once the register has
// reported all its PLUs.

#include <string>
#include <vector>

#include "data/tables.h"

namespace plumgr {

struct CheckFinding {
  GridId Grid = GridId::Plu;
  int Row = 0;
  int Col = 0;
  std::string Reason;
};

// Checks every data row of both tables; the tables are not changed.
std::vector<CheckFinding> CheckTables(const Tables& tables, char decimal_separator);

// Why a column's rule refuses a text (the text is known to be refused).
std::string RefusalReason(GridId grid, int col, const std::string& text, char decimal_separator);

}  // namespace plumgr
