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

// Before the download: old dumps must not stand in for the new ones, which
// the comparison reads. A dump that is read-only is refused (a usage error).
void ForgetVerifyDumps(const MainWindowState& state);

struct VerifyOutcome {
  bool Ok = false;
  std::string Message;  // the first difference, or what was compared
};

// What a download sent: its kinds, its PLU range and the .PAR the parameter,
// VAT and header kinds were read from.
struct DownloadToVerify {
  std::uint8_t Kinds = 0;
  PluRange Range;
  std::string ParameterFile;
};

// After a download that succeeded: the line's repeats in the result and, with
// --verify, the read-back. Returns the command's exit status: 1 when the
// register differs or cannot be read back, 128 + n when signal n came.
int FinishDownload(LinkSession& session, const TransferDriver& download,
                   const DownloadToVerify& sent_kinds, bool verify);

// Reads back every kind that was sent over the range (the parameter, VAT and
// header kinds as the parameter block) and compares it with what was sent.
VerifyOutcome VerifyDownload(LinkSession& session, const TransferDriver& download,
                             const DownloadToVerify& sent_kinds);

}  // namespace plumgr::cli
