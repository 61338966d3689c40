#pragma once
// PLU names, PLU barcodes and department names must not repeat, because the
// register identifies items by them. Each check reports the first repeat found
// with an information box and returns false; texts compare exactly (same bytes,
// same case, no trimming). Only PLU rows 1 to EcrPluCount (those the register
// holds) and department rows 1 to 16 are looked at, clamped to the tables' rows.

#include <string>

#include "data/tables.h"
#include "data/ui_port.h"

namespace plumgr {

// A PLU name at PLU row `row`: against the other PLU names, then the department names.
[[nodiscard]] bool CheckPluNameRepeat(const Tables& tables, int row, const std::string& name,
                                      UiPort& ui);

// A PLU barcode as typed (before it is normalised) against the other PLU barcodes.
[[nodiscard]] bool CheckPluBarcodeRepeat(const Tables& tables, int row, const std::string& barcode,
                                         UiPort& ui);

// A department name at department row `row`: against the other department names,
// then the PLU names.
[[nodiscard]] bool CheckDeptNameRepeat(const Tables& tables, int row, const std::string& name,
                                       UiPort& ui);

}  // namespace plumgr
