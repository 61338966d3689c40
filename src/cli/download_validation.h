#pragma once
// What a download may not send: the cells the register cannot hold, checked
// before the port is opened, so nothing half-right reaches the register.

#include <cstdint>
#include <string>

#include "app/set_check.h"

namespace plumgr {
class MainWindowState;
}

namespace plumgr::cli {

// "shop.PLU: row 3, column 4 (Department): empty (the register would take 256)"
std::string FormatFinding(const CheckFinding& finding, const std::string& plu_file);

// The rows of the chosen kinds (PLU rows first to last, the departments) in the
// tables opened from plu_file; a usage error listing the first cells at fault.
void RefuseUnsendableCells(const MainWindowState& state, const std::string& plu_file,
                           std::uint8_t download_kinds, int first, int last);

}  // namespace plumgr::cli
