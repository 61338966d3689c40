#pragma once
// Which column of an imported sheet fills which column of the PLU or the
// department table. A header names its column by the table's title, built in
// ("Unit price") or from the language file ("Cena jedn."), compared without
// regard to case, accents and blanks; an explicit mapping ("Cena=Unit price")
// names the others. The "NO." column, when there is one, gives the row.

#include <string>
#include <string_view>
#include <vector>

#include "data/table_columns.h"

namespace plumgr {

// One pair of an explicit mapping: a header of the sheet and a title of the table.
struct ColumnMapEntry {
  std::u16string Header;
  std::u16string Title;
};

struct ColumnMapParse {
  std::vector<ColumnMapEntry> Entries;
  std::string Problem;  // empty when the text parsed
};

// "Nazwa=Name,Cena=Unit price" (UTF-8): pairs separated by commas, each a
// header, '=' and a title; blanks around the names do not count.
ColumnMapParse ParseColumnMap(std::string_view text);

// The titles a header may name a table column by: per column, the built-in
// title and the one the language file gave (when it differs).
struct ImportTitles {
  GridId Grid = GridId::Plu;
  std::vector<std::vector<std::u16string>> Names;  // by table column
};

// The built-in titles and those of the process's display texts (the language
// file's, in its code page Windows-1250).
ImportTitles TitlesForImport(GridId grid);

// The sheet column of each table column, as a sheet column's target: the table
// column (0 for the "NO." column) or kNotImported.
inline constexpr int kNotImported = -1;

struct ImportColumns {
  std::vector<int> Target;  // by sheet column

  int NumberColumn() const;  // the sheet column that holds the row number, or -1
  bool ImportsAny() const;   // at least one table column other than "NO."
};

struct ColumnMatch {
  ImportColumns Columns;
  std::vector<std::string> Problems;  // of the mapping: the import cannot go on (UTF-8 texts)
  std::vector<std::string> Notes;     // sheet columns left out, and why
};

// Matches the header row; the explicit mapping wins over the titles. The
// targets found are checked by CheckTargets.
ColumnMatch MatchColumns(const std::vector<std::u16string>& header, const ImportTitles& titles,
                         const std::vector<ColumnMapEntry>& map);

// The table column a title names, or kNotImported.
int ColumnOfTitle(const ImportTitles& titles, std::u16string_view title);

// The problems a chosen set of targets has: two sheet columns for one table
// column, a column that cannot be typed into, nothing to import.
std::vector<std::string> CheckTargets(const std::vector<std::u16string>& header,
                                      const ImportTitles& titles, const ImportColumns& columns);

}  // namespace plumgr
