#pragma once
// "Convert set...": a data file set rewritten from its code page into another,
// on the operator's choice of set and code page.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_state.h"
#include "data/code_page.h"
#include "data/set_conversion.h"

namespace plumgr {

// Asks for the target code page of a set in `from`; nothing when cancelled.
using CodePageChoice = std::function<std::optional<CodePageId>(CodePageId from)>;

// "line 3, column 2: U+0107 "ć" is not in Mazovia" for each refusal, at most `shown`.
std::string ConversionRefusalText(const std::vector<ConversionRefusal>& refused, CodePageId to,
                                  std::size_t shown);

// The save prompt (the set may be the one open), the set, the code page; then
// the conversion, all files or none. The open set, when converted, is opened
// again so the tables hold its new bytes. True when files were rewritten.
bool ConvertSetCommand(MainWindowState& state, const CodePageChoice& choose);

}  // namespace plumgr
