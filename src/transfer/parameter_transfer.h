#pragma once
// Download kinds 3, 4 and 6 and upload kind 4: the parameter block. The
// download reads the register's block, merges the settings of every selected
// group into it and writes it back; the upload stores every field of the block
// in section [Default] of the settings file.

#include "transfer/transfer_step.h"

namespace plumgr {

inline constexpr std::uint8_t kParameterWriteType = 1;
inline constexpr std::uint8_t kParameterReadType = 5;

// The three packages are all sent even when one of them fails; the step then
// fails. A Cancel stops at once.
bool DownloadParameters(TransferStep& step);
// Nothing is stored unless both packages arrived.
bool UploadParameters(TransferStep& step);

}  // namespace plumgr
