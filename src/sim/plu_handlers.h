#pragma once
// The register's side of the PLU packages: the download (type 13), the upload
// (type 11), the comparison read (type 87) and the sales records (type 8).

#include "sim/package_handlers.h"

namespace plumgr::sim {

// Type 13: one to three slots, each a 32-bit index (least significant byte
// first) and a record; a record starting with 0xFF empties its slot. A count
// outside 1 to 3 or an index outside the table refuses the whole package.
Answer HandlePluDownload(const PackageBlock& package, const FrameContext& context,
                         RegisterState& state);
// Type 11: package n holds slots 4n to 4n + 3, empty slots as 64 bytes 0xFF.
Answer HandlePluUpload(const PackageBlock& package, const FrameContext& context,
                       RegisterState& state);
// Type 87: the table for comparison; see ComparisonPackage.
Answer HandlePluComparison(const PackageBlock& package, const FrameContext& context,
                           RegisterState& state);
// Type 8: the sales records as one stream of 17-byte records cut into
// packages; past its end the stream reads as zeros.
Answer HandleSalesRecords(const PackageBlock& package, const FrameContext& context,
                          RegisterState& state);

// Package q of the comparison read describes slots 4q to 4q + 3. When one of
// them holds a PLU it carries the four records, an empty one as 64 zero bytes
// (an empty name, where the PC stops looking for names); a first record of
// 0xFF bytes would read as a jump. When all four are empty it is a jump to the
// next package with a PLU, or the end marker (256 bytes 0xFF) when none
// follows. A target whose low byte is 0xFF cannot be named, as 0xFF means "no
// target": the jump goes to the package before it, which then answers with a
// jump without target, so that the PC goes on with the next package.
PackageBytes ComparisonPackage(const RegisterMemory& memory, int q);

}  // namespace plumgr::sim
