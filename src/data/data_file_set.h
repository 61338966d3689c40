#pragma once
// The data file set: name.PLU (the PLU table) with its companions name.Sign (the
// fast-sale buttons), name.DEP (the departments), name.RCY (the recycling
// prices) and name.PAR (a copy of the settings file).

#include <string>

#include "data/file_io.h"
#include "data/small_tables.h"
#include "data/string_grid.h"

namespace plumgr {

// The main file name with its extension replaced by the given one (".Sign"), or
// with it added when the name has none.
std::string CompanionName(const std::string& name, const std::string& extension);

// The in-memory data a set is saved from and loaded into.
struct DataFileSetTables {
  StringGrid& Plu;
  StringGrid& Departments;
  FastSaleTable& FastSale;
  RecyclingTable& Recycling;
  std::string SettingsPath;
};

// The five files of a set, as bits, for saving only some of them.
enum SetFile : unsigned {
  kSetSignFile = 1,
  kSetPluFile = 2,
  kSetDeptFile = 4,
  kSetRecyclingFile = 8,
  kSetParameterFile = 16,
};
inline constexpr unsigned kAllSetFiles = 31;

// The path of one file of the set named by its main file.
std::string SetFilePath(const std::string& name, SetFile file);

// Writes name.Sign, name (the PLU table), name.DEP, name.RCY and name.PAR, or
// only those of `files`. Every file is first written in full beside its target
// and only then renamed over it, so on failure the old set is left as it was. A
// missing settings file writes an empty name.PAR (every key at its default).
FileResult SaveSet(const std::string& name, const DataFileSetTables& tables,
                   unsigned files = kAllSetFiles);

// What LoadSet does with name.PAR.
enum class ParameterCopy {
  IntoSettings,  // Open: the set's settings become the current ones
  None,          // name.PAR is left where it is and not read
};

// Reads name into the PLU table, name.Sign, name.DEP and name.RCY, then copies
// name.PAR over the settings file. A missing table or entry file is skipped; a
// missing name.PAR or a sign flag that is not a whole number stops the loading
// there with an error, and what was read before stays. A name.PAR that holds
// no key of the settings file would leave the port, the passwords and every
// rate at nothing: the settings file is kept then, and *notice says so. A
// name.PAR saved as UTF-8 is copied in the code page of the register's text;
// one holding a character that page lacks is not copied either (*notice).
// UTF-8 table files come into the code page in force after the load: that of
// the name.PAR copied, else the current one.
FileResult LoadSet(const std::string& name, const DataFileSetTables& tables,
                   ParameterCopy copy = ParameterCopy::IntoSettings, std::string* notice = nullptr);

}  // namespace plumgr
