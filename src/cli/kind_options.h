#pragma once
// SET, --kinds, --from and --to of the commands that take the register's kinds
// of data and a PLU range: download, upload and diff.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/plu_range_options.h"

namespace CLI {
class App;
}

namespace plumgr::cli {

struct KindRangeArguments {
  std::string Set;
  std::string Kinds;  // empty: every kind
  bool KindsGiven = false;
  PluRangeOptions Range;  // empty ends: the whole PLU table
};

// Adds SET, --kinds (a comma list of the words) and --from/--to to the command.
void AddKindRangeOptions(CLI::App* command, KindRangeArguments& args,
                         const std::vector<std::string>& words);

// The --kinds list (any letter case) as kind bits, bit i for words[i]; every
// kind when the option was not given. An unknown word is a usage error naming
// the known ones.
std::uint8_t ParseKindList(const KindRangeArguments& args, const std::vector<std::string>& words);

// The range over the model's whole PLU table unless narrowed; a bad one prints
// why and "Invalid PLU range", and gives nothing.
std::optional<PluRange> ChooseCommandRange(const PluRangeOptions& options);

}  // namespace plumgr::cli
