#pragma once
// --kinds, --from and --to of the commands that take the register's kinds of
// data and a PLU range.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/plu_range_options.h"

namespace plumgr::cli {

// A comma list of the words (any letter case) as kind bits, bit i for words[i];
// every kind when the option was not given. An unknown word is a usage error
// naming the known ones.
std::uint8_t ParseKindList(const std::string& list, bool given,
                           const std::vector<std::string>& words);

// The range over the model's whole PLU table unless narrowed; a bad one prints
// why and "Invalid PLU range", and gives nothing.
std::optional<PluRange> ChooseCommandRange(const PluRangeOptions& options);

}  // namespace plumgr::cli
