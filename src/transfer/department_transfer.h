#pragma once
// Download and upload kinds 1: the department table, eight departments to a
// package.

#include "transfer/transfer_step.h"

namespace plumgr {

inline constexpr std::uint8_t kDepartmentDownloadType = 12;
inline constexpr std::uint8_t kDepartmentUploadType = 10;

bool DownloadDepartments(TransferStep& step);
// Reads only whole packages of eight; rows of packages received before a
// failure keep their new contents.
bool UploadDepartments(TransferStep& step);

}  // namespace plumgr
