#pragma once
// Importing the rows of a sheet into the PLU or the department table. Every
// cell goes through what typing it would: the column's key filter, its rule and
// normal form (a decimal comma or point becomes the locale's separator first),
// and the repeat checks, here with every row of the table taking part, since
// the register will hold them all. A refused cell refuses the import, unless
// the operator lets the rows that hold one be left out; nothing changes the
// tables until every row is known to be good.

#include <string>
#include <vector>

#include "app/import_columns.h"
#include "data/code_page.h"
#include "data/import_sheet.h"
#include "data/tables.h"

namespace plumgr {

enum class RefusedRows { RefuseImport, LeaveOut };

struct ImportRequest {
  GridId Grid = GridId::Plu;
  ImportColumns Columns;
  char DecimalSeparator = '.';
  CodePageId Page = CodePageId::Windows1250;
  RefusedRows Refused = RefusedRows::RefuseImport;
};

// A refused cell, where the operator finds it in the file: the sheet's row
// counted from 1 with the header as row 1, its column counted from 0 (-1 when
// the whole row is refused).
struct RefusedCell {
  int SheetRow = 0;
  int SheetCol = -1;
  std::string Header;  // UTF-8
  std::string Text;    // UTF-8, as the file holds it
  std::string Reason;
};

struct ImportOutcome {
  std::vector<RefusedCell> Refused;
  int RowsRead = 0;      // data rows that held anything
  int RowsImported = 0;  // rows written into the table
  int RowsLeftOut = 0;   // rows left out for a refused cell
  // Imported rows that have no name: a set keeps no row after its last named
  // one, and the register takes an unnamed PLU as empty.
  int RowsWithoutName = 0;
  bool Applied = false;  // the table was changed
};

// Imports the sheet's data rows (row 0 is the header). Rows go to the table row
// their "NO." cell names, or else one after the other from row 1; only the
// mapped columns of a row are written, the others keep their text.
ImportOutcome ImportRows(const ImportSheet& sheet, const ImportRequest& request, Tables& tables);

// "row 12, column C (Cena): "abc": not a decimal number"
std::string DescribeRefusal(const RefusedCell& cell);

}  // namespace plumgr
