#pragma once
// The register's side of the fixed tables: the parameter block (written as
// type 1, numbers 0 to 2; read as type 5, numbers 0 and 1), the departments
// (written as type 12, read as type 10, eight records a package), the
// recycling prices (written as type 4, read as type 3, numbers 0 to 6) and the
// fast-sale buttons (written as type 98, read as type 97, number 0). A number
// outside a table is refused with NAK, and nothing is stored.

#include "sim/package_handlers.h"

namespace plumgr::sim {

Answer HandleParameterWrite(const PackageBlock& package, const FrameContext& context,
                            RegisterState& state);
Answer HandleParameterRead(const PackageBlock& package, const FrameContext& context,
                           RegisterState& state);
Answer HandleDepartmentWrite(const PackageBlock& package, const FrameContext& context,
                             RegisterState& state);
Answer HandleDepartmentRead(const PackageBlock& package, const FrameContext& context,
                            RegisterState& state);
// The seventh package carries the last 64 bytes of the block; the register
// keeps only those and answers zeros behind them.
Answer HandleRecyclingWrite(const PackageBlock& package, const FrameContext& context,
                            RegisterState& state);
Answer HandleRecyclingRead(const PackageBlock& package, const FrameContext& context,
                           RegisterState& state);
Answer HandleFastSaleWrite(const PackageBlock& package, const FrameContext& context,
                           RegisterState& state);
Answer HandleFastSaleRead(const PackageBlock& package, const FrameContext& context,
                          RegisterState& state);

}  // namespace plumgr::sim
