#pragma once
// The file in which a backup keeps the register's own bytes ("register.img"),
// so that a restore puts them back exactly, whatever the tables could show of
// them. Text, one item a line, binary data as upper-case hexadecimal:
//
//   plumgr-register-image 1      first line: the format and its version
//   price-decimals N             the register's price decimals when it was read
//   kinds N                      the download kinds covered, as bits
//   plu-span FIRST LAST          PLUs read (one line per span)
//   plu-package N HEX            upload package N (type 11), 256 bytes
//   departments HEX              the department packages end to end
//   recycling HEX                the recycling packages end to end
//   fast-sale HEX                the fast-sale package
//   parameters HEX               the 512 bytes of the parameter block

#include <optional>
#include <string>
#include <string_view>

#include "transfer/register_snapshot.h"

namespace plumgr {

inline constexpr const char* kRegisterImageName = "register.img";

std::string RegisterSnapshotText(const RegisterSnapshot& snapshot);

// The error ("line 4: ..."), or nothing with the snapshot filled.
std::optional<std::string> ParseRegisterSnapshot(std::string_view text, RegisterSnapshot& snapshot);

}  // namespace plumgr
