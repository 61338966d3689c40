#pragma once
// Download kind 5 and upload kind 3: the 16 fast-sale buttons in one package.

#include "transfer/transfer_step.h"

namespace plumgr {

inline constexpr std::uint8_t kFastSaleDownloadType = 98;
inline constexpr std::uint8_t kFastSaleUploadType = 97;

bool DownloadFastSale(TransferStep& step);
// The table changes only once the package has arrived.
bool UploadFastSale(TransferStep& step);

}  // namespace plumgr
