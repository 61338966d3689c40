#include "cli/plu_range_options.h"

#include "data/helpers.h"

namespace plumgr::cli {
namespace {

// The end as a PLU number of the table, or nothing for text that is none.
std::optional<int> RangeEnd(const std::string& text, int table_size) {
  const std::optional<std::int64_t> number = ParseWholeNumber(text);
  if (!number || *number < 1 || *number > table_size) return std::nullopt;
  return static_cast<int>(*number);
}

}  // namespace

PluRangeChoice ChoosePluRange(const PluRangeOptions& options, int table_size) {
  const std::string valid = "the PLU table holds PLU 1 to " + std::to_string(table_size);
  const std::optional<int> from = options.From.empty() ? 1 : RangeEnd(options.From, table_size);
  if (!from)
    return {std::nullopt, "--from " + options.From + " is not a PLU of the table: " + valid};
  const std::optional<int> to = options.To.empty() ? table_size : RangeEnd(options.To, table_size);
  if (!to) return {std::nullopt, "--to " + options.To + " is not a PLU of the table: " + valid};
  if (*from > *to)
    return {std::nullopt, "--from " + std::to_string(*from) + " is above --to " +
                              std::to_string(*to) + ": " + valid};
  return {PluRange{*from, *to}, {}};
}

std::string DescribePluRange(const PluRange& range) {
  return "PLU " + std::to_string(range.First) + " to " + std::to_string(range.Last);
}

}  // namespace plumgr::cli
