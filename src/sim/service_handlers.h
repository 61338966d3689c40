#pragma once
// The register's side of the report (type 7), the memory pages of a dump (type
// 14 number 16) and the font packages (type 2).

#include "sim/package_handlers.h"

namespace plumgr::sim {

// Package i carries the report's bytes 256i to 256i + 255, a shorter piece
// followed by NULs; a package beyond the text is all NUL, which ends the report.
Answer HandleReport(const PackageBlock& package, const FrameContext& context, RegisterState& state);
// Data bytes 0 and 1 name the page (low byte first), byte 2 the memory: 0x00
// ROM, 0x10 RAM; any other memory is refused.
Answer HandleMemoryPage(const PackageBlock& package, const FrameContext& context,
                        RegisterState& state);
// Each package is kept under its number; a repeated number replaces the piece.
Answer HandleFontPackage(const PackageBlock& package, const FrameContext& context,
                         RegisterState& state);

}  // namespace plumgr::sim
