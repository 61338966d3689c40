#pragma once
// Reading the tables of a data file set on the command line without opening it:
// opening would copy its .PAR over the settings file, which a check, an export
// or a print must not do.

#include <string>

#include "data/code_page.h"
#include "data/tables.h"

namespace plumgr {
class MainWindowState;
}

namespace plumgr::cli {

// A set is named by its .PLU file as typed; like the file dialogs, a name
// without an extension means name.PLU, whatever files exist. Every command
// takes its SET by this one rule.
std::string WithPluExtension(const std::string& name);

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

// The set's tables, fast-sale buttons and recycling prices as Open reads them,
// without copying its .PAR over the settings file: what a download sends or a
// comparison compares, the parameters coming from the .PAR where it lies. A
// file that cannot be read is a usage error naming it.
void ReadSetToSend(MainWindowState& state, const std::string& plu_file);

}  // namespace plumgr::cli
