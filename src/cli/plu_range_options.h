#pragma once
// --from and --to of download and upload: the PLU range a transfer covers. The
// whole table of the register model unless the operator narrows it.

#include <optional>
#include <string>

#include "transfer/plu_packages.h"

namespace plumgr::cli {

struct PluRangeOptions {
  std::string From;  // empty: 1
  std::string To;    // empty: the last PLU of the table
};

struct PluRangeChoice {
  std::optional<PluRange> Range;
  std::string Problem;  // why there is none: what is wrong and the valid range
};

// Both ends must be whole numbers from 1 to table_size, From not above To.
PluRangeChoice ChoosePluRange(const PluRangeOptions& options, int table_size);

// "PLU 1 to 3000", as summaries say it.
std::string DescribePluRange(const PluRange& range);

}  // namespace plumgr::cli
