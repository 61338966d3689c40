#pragma once
// The department packages: 32-byte records of departments 1 to N in order,
// eight to a package (sent as type 12, read back as type 10).
//
// Record layout: name (18 bytes, NUL-terminated when shorter, the rest 0), VAT
// rate number - 1 (1 byte), 0, unit price (signed 32-bit big-endian,
// x 10^PriceDecimals), 8 bytes 0. A department without a name is 32 bytes 0.

#include <array>
#include <cstdint>

#include "data/string_grid.h"
#include "link/bus_frame.h"
#include "transfer/wire_numbers.h"

namespace plumgr {

inline constexpr std::size_t kDepartmentRecordSize = 32;
inline constexpr int kDepartmentsPerPackage = 8;

using DepartmentRecordBytes = std::array<std::uint8_t, kDepartmentRecordSize>;

DepartmentRecordBytes EncodeDepartmentRecord(const StringGrid& dept_grid, int row,
                                             const WireUnits& units);

// Packages sent for `dept_count` departments: every department travels.
int DepartmentDownloadPackageCount(int dept_count);

// Packages read back: only whole packages of eight, as the register offers them.
int DepartmentUploadPackageCount(int dept_count);

// Download package n: departments 8n + 1 to 8n + 8, as far as dept_count reaches.
// The bytes after the last department are 0, so nothing of an earlier package
// travels again.
PackageBytes EncodeDepartmentPackage(const StringGrid& dept_grid, int dept_count, int n,
                                     const WireUnits& units);

// Stores upload package n into rows 8n + 1 to 8n + 8 (those the table has); a
// tab, CR or LF in a name becomes a space. Returns how many names changed so.
int StoreDepartmentPackage(const PackageBytes& data, int n, StringGrid& dept_grid,
                           const WireUnits& units);

}  // namespace plumgr
