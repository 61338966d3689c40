#pragma once
// The code page a data file set's text is in. Opening a set makes its .PAR the
// settings file, so the set's own [Other] CodePage says it; a set without
// settings in its .PAR (or without a .PAR) is read in the code page in force,
// as Open then keeps the settings file.

#include <string>

#include "data/code_page.h"
#include "data/ini_document.h"

namespace plumgr {

struct SetCodePage {
  CodePageId Page = CodePageId::Windows1250;
  bool FromSet = false;  // the set's .PAR said it
  std::string Warning;   // a CodePage value that names no code page
};

SetCodePage CodePageOfSet(const std::string& plu_file, CodePageId in_force);

// The same for a settings document: its own [Other] CodePage when it holds
// settings, else the code page in force.
SetCodePage CodePageOfSettings(const IniDocument& document, CodePageId in_force);

}  // namespace plumgr
