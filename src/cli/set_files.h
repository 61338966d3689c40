#pragma once
// Reading the tables of a data file set on the command line without opening it:
// opening would copy its .PAR over the settings file, which a check, an export
// or a print must not do.

#include <string>

#include "data/code_page.h"
#include "data/tables.h"

namespace plumgr::cli {

// A set is named by its .PLU file; like the dialogs, a name typed without an
// extension (and not existing as it is) means name.PLU.
std::string ResolveSetName(const std::string& set);

// The code page of the set's text: its .PAR's [Other] CodePage, or the settings
// file's (--settings or the default one) for a set without settings.
CodePageId CodePageOfSetText(const std::string& plu_file, const std::string& settings_override);

// Tables sized for the register model in force (the first model when none is)
// with their defaults, then filled from name.PLU and, when it exists, name.DEP.
// A .PLU file that cannot be read is a usage error naming the file.
void ReadSetTables(const std::string& plu_file, char decimal_separator, Tables& tables);
// The same in the code page of the set's text, which becomes the one in force.
void ReadSetTables(const std::string& plu_file, const std::string& settings_override,
                   char decimal_separator, Tables& tables);

}  // namespace plumgr::cli
