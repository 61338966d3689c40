#pragma once
// Download and upload kinds 2: the 100 recycling (deposit package) prices in
// seven packages.

#include "transfer/transfer_step.h"

namespace plumgr {

inline constexpr std::uint8_t kRecyclingDownloadType = 4;
inline constexpr std::uint8_t kRecyclingUploadType = 3;

bool DownloadRecycling(TransferStep& step);
// The table changes only once all seven packages have arrived.
bool UploadRecycling(TransferStep& step);

}  // namespace plumgr
