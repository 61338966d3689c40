#include "transfer/recycling_packages.h"

#include <algorithm>
#include <string>

namespace plumgr {

RecyclingBlock EncodeRecyclingBlock(const RecyclingTable& table, const WireUnits& units) {
  RecyclingBlock block{};
  for (int i = 0; i < kRecyclingUsedEntries; ++i) {
    const std::int64_t number = WholeNumberOrZero(table[i].Number);
    if (number < 1 || number > kRecyclingUsedEntries) continue;
    PutBig32(block, kRecyclingRecordSize * (number - 1) + kRecyclingPriceOffset,
             ScaledLow32(table[i].PackagePrice, units.PriceDecimals, units.DecimalSeparator));
  }
  return block;
}

PackageBytes RecyclingPackage(const RecyclingBlock& block, int i) {
  PackageBytes data{};
  const std::size_t start = kPackageDataSize * static_cast<std::size_t>(std::max(i, 0));
  if (start >= block.size()) return data;
  const std::size_t n = std::min(kPackageDataSize, block.size() - start);
  std::copy_n(block.begin() + start, n, data.begin());
  return data;
}

bool StoreRecyclingBlock(std::span<const std::uint8_t> received, RecyclingTable& table,
                         const WireUnits& units) {
  if (received.size() < kRecyclingBlockSize) return false;
  for (int i = 0; i < kRecyclingUsedEntries; ++i) {
    table[i].Number = std::to_string(i + 1);
    table[i].PackagePrice =
        ScaledText(GetBig32Signed(received, kRecyclingRecordSize * i + kRecyclingPriceOffset),
                   units.PriceDecimals, 2, units.DecimalSeparator);
  }
  return true;
}

}  // namespace plumgr
