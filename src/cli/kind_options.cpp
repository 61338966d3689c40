#include "cli/kind_options.h"

#include <algorithm>
#include <cctype>
#include <iostream>

#include "app/transfer_commands.h"
#include "cli/cli_context.h"
#include "cli/command_result.h"
#include "data/definitions.h"
#include "data/helpers.h"

namespace plumgr::cli {

std::uint8_t ParseKindList(const std::string& list, bool given,
                           const std::vector<std::string>& words) {
  if (!given) return static_cast<std::uint8_t>((1u << words.size()) - 1);
  std::vector<std::string> items;
  SplitText(list, ",", items);
  std::uint8_t kinds = 0;
  for (std::string item : items) {
    if (item.empty()) continue;
    std::transform(item.begin(), item.end(), item.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    auto found = std::find(words.begin(), words.end(), item);
    if (found == words.end()) {
      std::string known;
      for (const std::string& word : words)
        known += (known.empty() ? "" : ", ") + word;
      throw UsageError{"unknown kind \"" + item + "\": use " + known};
    }
    kinds |= static_cast<std::uint8_t>(1u << (found - words.begin()));
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
