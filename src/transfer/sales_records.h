#pragma once
// The PLU sales figures (type 8): a continuous stream of 17-byte records cut
// into 256-byte packages with no regard for record boundaries, so a record may
// start in one package and end in the next.
//
// Record layout: barcode (7 bytes, packed BCD of 13 digits), quantity sold
// (signed 32-bit big-endian, x 1000), amount (unsigned 48-bit big-endian,
// x 10^PriceDecimals).

#include <cstdint>
#include <span>
#include <vector>

#include "data/string_grid.h"
#include "transfer/plu_packages.h"
#include "transfer/wire_numbers.h"

namespace plumgr {

inline constexpr std::size_t kSalesRecordSize = 17;

struct PluSalesRecord {
  std::int64_t Barcode = 0;
  std::int32_t QuantityThousandths = 0;
  std::uint64_t Amount = 0;  // x 10^PriceDecimals
};

// Packages holding `record_count` records (the status package's sales count).
std::int64_t SalesPackageCount(std::uint32_t record_count);

// The first `record_count` records of the stream (the packages in order, end to
// end); records that the stream does not hold completely are left out.
std::vector<PluSalesRecord> DecodeSalesRecords(std::span<const std::uint8_t> stream,
                                               std::uint32_t record_count);

// Puts each record's quantity and amount into the first row of the range whose
// barcode cell is exactly the record's barcode in decimal. Records with
// barcode 0 or without such a row change nothing.
void StoreSalesRecords(std::span<const PluSalesRecord> records, const PluRange& range,
                       StringGrid& plu_grid, const WireUnits& units);

}  // namespace plumgr
