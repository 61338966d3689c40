#pragma once
// The backups the command line's transfers keep: the set's files before an
// upload replaces them, and with download --backup the register's data of the
// kinds the download writes, read before it starts.

#include <cstdint>
#include <string>

#include "app/register_commands.h"
#include "transfer/plu_packages.h"

namespace plumgr::cli {

class LinkSession;

// The session's bus, progress window and port options for the register commands.
RegisterLink MakeRegisterLink(LinkSession& session);

// Before an upload writes the set: its files as they are into a new backup
// beside it. False, with the reason printed and noted, when they cannot be
// kept; the set must not be written then.
bool KeepSetBeforeUpload(LinkSession& session, const std::string& plu_file);

// download --backup: the register's data read into a backup beside the set.
// Returns 0, or the exit status: 1 the register could not be read, 2 the
// backup could not be written, 128 + n a signal.
int BackUpRegisterBeforeDownload(LinkSession& session, std::uint8_t download_kinds,
                                 const PluRange& range, const std::string& plu_file);

}  // namespace plumgr::cli
