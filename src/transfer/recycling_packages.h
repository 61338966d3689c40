#pragma once
// The recycling (deposit package) prices: a 1600-byte block of 100 records of
// 16 bytes, record p - 1 for recycling number p, carried by seven packages
// numbered 0 to 6 (sent as type 4, read back as type 3). Each record holds its
// price at bytes 9 to 12 (signed 32-bit big-endian, x 10^PriceDecimals); its
// other bytes are 0.

#include <array>
#include <cstdint>
#include <span>

#include "data/small_tables.h"
#include "link/bus_frame.h"
#include "transfer/wire_numbers.h"

namespace plumgr {

inline constexpr int kRecyclingPackages = 7;
inline constexpr std::size_t kRecyclingRecordSize = 16;
// The package price within a record, 32-bit big-endian.
inline constexpr std::size_t kRecyclingPriceOffset = 9;
inline constexpr std::size_t kRecyclingBlockSize = kRecyclingRecordSize * kRecyclingUsedEntries;

using RecyclingBlock = std::array<std::uint8_t, kRecyclingBlockSize>;

// The block of the first 100 entries. An entry whose number is not 1 to 100 is
// left out; of two entries with the same number the later one wins.
RecyclingBlock EncodeRecyclingBlock(const RecyclingTable& table, const WireUnits& units);

// Package i of the block: block bytes 256i to 256i + 255, the part beyond the
// block 0.
PackageBytes RecyclingPackage(const RecyclingBlock& block, int i);

// The seven received packages end to end (at least the 1600 block bytes; fewer
// leave the table unchanged and give false). Entry i gets the number i + 1 and
// the price of record i. Prices are signed, as the download sends them, so a
// negative price comes back as itself.
[[nodiscard]] bool StoreRecyclingBlock(std::span<const std::uint8_t> received,
                                       RecyclingTable& table, const WireUnits& units);

}  // namespace plumgr
