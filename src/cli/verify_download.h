#pragma once
// download --verify: after the download, the kinds it sent are read back from
// the register and compared with what was sent. The PLUs are compared with the
// slots the download's own dump holds, since the compared download may have
// redirected a name to the slot where the register already kept it.

#include <cstdint>
#include <string>

#include "transfer/plu_packages.h"

namespace plumgr {
class MainWindowState;
class TransferDriver;
}  // namespace plumgr

namespace plumgr::cli {

class LinkSession;

// Before the download: an old dump must not stand in for the new one.
void ForgetPluDownloadDump(const MainWindowState& state);

struct VerifyOutcome {
  bool Ok = false;
  std::string Message;  // the first difference, or what was compared
};

// After a download that succeeded: the line's repeats in the result and, with
// --verify, the read-back. Returns the command's exit status: 1 when the
// register differs or cannot be read back, 128 + n when signal n came.
int FinishDownload(LinkSession& session, const TransferDriver& download,
                   std::uint8_t download_kinds, const PluRange& range, bool verify);

// Reads back the kinds of `download_kinds` that the register lets us read
// (PLU, department, recycling, fast-sale buttons) over the range and compares.
VerifyOutcome VerifyDownload(LinkSession& session, const TransferDriver& download,
                             std::uint8_t download_kinds, const PluRange& range);

}  // namespace plumgr::cli
