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

// Checks every data row of both tables; the tables are not changed. Beside
// what the cell rules refuse, an empty Department of a named PLU row and an
// empty Tax are findings: the register would take them as 256.
std::vector<CheckFinding> CheckTables(const Tables& tables, char decimal_separator);

// The rows a download sends: PLU rows First to Last (without the unnamed ones
// when the compared download sends those as empty PLUs) and every department.
struct DownloadRows {
  bool Plu = false;
  int FirstPlu = 1;
  int LastPlu = 0;
  bool UnnamedPluSentEmpty = true;
  bool Departments = false;
};

// The cells of those rows that the register cannot hold, by the rules of
// CheckTables; repeated names are not findings here.
std::vector<CheckFinding> CheckDownloadRows(const Tables& tables, const DownloadRows& rows,
                                            char decimal_separator);

// The characters of a UTF-8 name.PLU and name.DEP that the set's code page cannot
// hold (they are read as '?'); missing files have none.
std::vector<CheckFinding> FindUnencodableCells(const std::string& plu_file);

// Why a column's rule refuses a text (the text is known to be refused).
std::string RefusalReason(GridId grid, int col, const std::string& text, char decimal_separator);

}  // namespace plumgr
