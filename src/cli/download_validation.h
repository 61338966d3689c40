#pragma once
// What a download may not send: the cells the register cannot hold, checked
// before the port is opened, so nothing half-right reaches the register.

#include <cstdint>
#include <optional>
#include <string>

#include "app/set_check.h"
#include "cli/plu_range_options.h"

namespace plumgr {
class MainWindowState;
}

namespace plumgr::cli {

class LinkSession;

// The title of a table column, as findings name it.
std::string FindingColumnTitle(GridId grid, int col);

// "shop.PLU: row 3, column 4 (Department): empty (the register would take 256)"
std::string FormatFinding(const CheckFinding& finding, const std::string& plu_file);

// The rows of the chosen kinds (PLU rows first to last, the departments) in the
// tables opened from plu_file; a usage error listing the first cells at fault.
void RefuseUnsendableCells(const MainWindowState& state, const std::string& plu_file,
                           std::uint8_t download_kinds, int first, int last);

// Everything a download or a comparison of the set checks before the port
// opens: the PLU range (nothing, once it has said why, when the range is
// invalid), the files the kinds are sent from, and, with the set's tables read
// into the session's state, every cell the register cannot hold. Each refusal
// of a file or a cell is a usage error.
std::optional<PluRange> PrepareSetToSend(LinkSession& session, const std::string& plu_file,
                                         std::uint8_t download_kinds, const PluRangeOptions& range);

}  // namespace plumgr::cli
