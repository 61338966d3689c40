#pragma once
// The PLU packages: the download package (type 13, up to three slots), the
// comparison package (type 87, four records of the register's own table, or a
// jump or end marker) and the upload package (type 11, four records).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/string_grid.h"
#include "data/tables.h"
#include "link/bus_frame.h"
#include "transfer/plu_record.h"

namespace plumgr {

inline constexpr int kPluSlotsPerPackage = 3;
inline constexpr int kPluRecordsPerPackage = 4;

// Rows first..last of a download or upload; PLU number = table row.
struct PluRange {
  int First = 1;
  int Last = 0;
};

// Download packages needed for the range: one per three rows, numbered from 0
// whatever the first row is.
int PluDownloadPackageCount(const PluRange& range);

// The rows that package n carries: first + 3n to first + 3n + 2, within the range.
PluRange PluDownloadPackageRows(const PluRange& range, int n);

// Byte 0 the slot count, then the slots at 1, 69 and 137. Bytes that carry no
// slot are 0, so nothing of an earlier package travels again.
PackageBytes PackPluSlots(std::span<const PluSlotBytes> slots);

// Package n of the plain download: every row of it to its own index, row - 1.
PackageBytes EncodePlainPluPackage(const StringGrid& plu_grid, const PluRange& range, int n,
                                   const WireUnits& units);

// The register index a named row of the compared download goes to: the slot
// that already holds its name, or row - 1 (the comparison lookup).
using PluIndexLookup = std::function<std::int32_t(int row, const std::string& name)>;

// Package n of the compared download. A row without a name is sent as an empty
// slot at row - 1 and is not looked up; every other row is looked up once.
PackageBytes EncodeComparedPluPackage(const StringGrid& plu_grid,
                                      const std::vector<bool>& alcohol_flags, const PluRange& range,
                                      int n, const PluIndexLookup& lookup, const WireUnits& units);

// What a comparison package (type 87) holds.
enum class ComparisonPackageKind {
  End,      // all 256 bytes 0xFF: the register's table ends here
  Jump,     // continue with package JumpTarget, store nothing
  Skip,     // a jump without a target: store nothing, continue with the next
  Records,  // four records to store
};

struct ComparisonPackage {
  ComparisonPackageKind Kind = ComparisonPackageKind::Records;
  std::uint16_t JumpTarget = 0;
};

ComparisonPackage ClassifyComparisonPackage(const PackageBytes& data);

// Decodes the four records of a Records package into table entries next,
// next + 1, ... as far as the table reaches; returns the next free entry.
int StoreComparisonRecords(const PackageBytes& data, int next, int price_decimals,
                           std::vector<TPLUStruct>& ecr_plu_table);

// The upload packages for the range: (first - 1) / 4 to (last - 1) / 4, since
// package n holds PLU numbers 4n + 1 to 4n + 4.
struct PackageSpan {
  int First = 0;
  int Last = -1;
};
PackageSpan PluUploadPackages(const PluRange& range);

// Stores the records of upload package n whose PLU numbers lie in the range
// into their rows; returns how many of their names had a tab, CR or LF blanked.
int StorePluUploadPackage(const PackageBytes& data, int n, const PluRange& range,
                          StringGrid& plu_grid, std::vector<bool>& alcohol_flags,
                          const WireUnits& units);

}  // namespace plumgr
