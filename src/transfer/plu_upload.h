#pragma once
// Upload kind 0: PLU records of the range back into the PLU table, then the
// register's sales figures into the Quantity and Total columns of those rows.

#include "transfer/transfer_step.h"

namespace plumgr {

inline constexpr std::uint8_t kPluUploadType = 11;
inline constexpr std::uint8_t kPluSalesType = 8;

// Rows decoded before a failure keep their new contents.
bool UploadPlu(TransferStep& step);

}  // namespace plumgr
