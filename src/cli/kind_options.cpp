#include "cli/kind_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>

#include "app/transfer_commands.h"
#include "cli/cli_context.h"
#include "cli/command_result.h"
#include "data/definitions.h"
#include "data/helpers.h"

namespace plumgr::cli {

void AddKindRangeOptions(CLI::App* command, KindRangeArguments& args,
                         const std::vector<std::string>& words) {
  command->add_option("SET", args.Set, "the data file set (name.PLU)")->required();
  command
      ->add_option("--kinds", args.Kinds,
                   "comma list of " + JoinText(words, ", ") + " (default: all)")
      ->each([&args](const std::string&) { args.KindsGiven = true; });
  command->add_option("--from", args.Range.From, "first PLU number (default 1)");
  command->add_option("--to", args.Range.To,
                      "last PLU number (default: the last of the model's PLU table)");
}

std::uint8_t ParseKindList(const KindRangeArguments& args, const std::vector<std::string>& words) {
  if (!args.KindsGiven) return static_cast<std::uint8_t>((1u << words.size()) - 1);
  std::vector<std::string> items;
  SplitText(args.Kinds, ",", items);
  std::uint8_t kinds = 0;
  for (const std::string& item : items) {
    if (item.empty()) continue;
    auto found = std::find(words.begin(), words.end(), AsciiLower(item));
    if (found == words.end())
      throw UsageError{"unknown kind \"" + item + "\": use " + JoinText(words, ", ")};
    kinds |= KindBit(static_cast<int>(found - words.begin()));
  }
  return kinds;
}

std::optional<PluRange> ChooseCommandRange(const PluRangeOptions& options) {
  PluRangeChoice choice = ChoosePluRange(options, CurrentProfile().PluCount);
  if (choice.Range) return choice.Range;
  std::cerr << "plumgr-cli: " << choice.Problem << "\n" << kInvalidPluRange << "\n";
  NoteError(std::string(kInvalidPluRange) + ": " + choice.Problem);
  return std::nullopt;
}

}  // namespace plumgr::cli
