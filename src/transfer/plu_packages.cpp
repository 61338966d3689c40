#include "transfer/plu_packages.h"

#include <algorithm>

#include "data/helpers.h"

namespace plumgr {
namespace {

constexpr std::size_t kCountOffset = 0;
constexpr std::size_t kFirstSlotOffset = 1;
constexpr std::size_t kNoBarcodeBytes = 7;
constexpr std::size_t kJumpOffset = 7;

PluRecordView RecordAt(const PackageBytes& data, int k) {
  return PluRecordView(data.data() + kPluRecordSize * k, kPluRecordSize);
}

bool RowAlcohol(const std::vector<bool>& alcohol_flags, int row) {
  return row >= 1 && static_cast<std::size_t>(row - 1) < alcohol_flags.size() &&
         alcohol_flags[row - 1];
}

}  // namespace

int PluDownloadPackageCount(const PluRange& range) {
  return CeilDiv(range.Last - range.First + 1, kPluSlotsPerPackage);
}

PluRange PluDownloadPackageRows(const PluRange& range, int n) {
  const int first = range.First + kPluSlotsPerPackage * n;
  return {first, std::min(first + kPluSlotsPerPackage - 1, range.Last)};
}

PackageBytes PackPluSlots(std::span<const PluSlotBytes> slots) {
  PackageBytes data{};
  const std::size_t count = std::min<std::size_t>(slots.size(), kPluSlotsPerPackage);
  data[kCountOffset] = static_cast<std::uint8_t>(count);
  for (std::size_t s = 0; s < count; ++s)
    std::copy(slots[s].begin(), slots[s].end(), data.begin() + kFirstSlotOffset + kPluSlotSize * s);
  return data;
}

PackageBytes EncodePlainPluPackage(const StringGrid& plu_grid, const PluRange& range, int n,
                                   const WireUnits& units) {
  std::vector<PluSlotBytes> slots;
  const PluRange rows = PluDownloadPackageRows(range, n);
  for (int row = rows.First; row <= rows.Last; ++row)
    slots.push_back(EncodePluSlot(
        row - 1, EncodePluRecord(plu_grid, row, PluDownloadLayout::Plain, false, units)));
  return PackPluSlots(slots);
}

PackageBytes EncodeComparedPluPackage(const StringGrid& plu_grid,
                                      const std::vector<bool>& alcohol_flags, const PluRange& range,
                                      int n, const PluIndexLookup& lookup, const WireUnits& units) {
  std::vector<PluSlotBytes> slots;
  const PluRange rows = PluDownloadPackageRows(range, n);
  for (int row = rows.First; row <= rows.Last; ++row) {
    if (HasBlankPluName(plu_grid, row)) {
      slots.push_back(EmptyPluSlot(row - 1));
      continue;
    }
    const std::int32_t index = lookup(row, plu_grid.Cell(PluCol::Name, row));
    slots.push_back(EncodePluSlot(index, EncodePluRecord(plu_grid, row, PluDownloadLayout::Compared,
                                                         RowAlcohol(alcohol_flags, row), units)));
  }
  return PackPluSlots(slots);
}

ComparisonPackage ClassifyComparisonPackage(const PackageBytes& data) {
  auto is_ff = [](std::uint8_t b) { return b == 0xFF; };
  if (std::all_of(data.begin(), data.end(), is_ff)) return {ComparisonPackageKind::End};
  if (!std::all_of(data.begin(), data.begin() + kNoBarcodeBytes, is_ff))
    return {ComparisonPackageKind::Records};
  if (data[kJumpOffset] == 0xFF || data[kJumpOffset + 1] == 0xFF)
    return {ComparisonPackageKind::Skip};
  return {ComparisonPackageKind::Jump, GetBig16(data, kJumpOffset)};
}

int StoreComparisonRecords(const PackageBytes& data, int next, int price_decimals,
                           std::vector<TPLUStruct>& ecr_plu_table) {
  for (int k = 0; k < kPluRecordsPerPackage; ++k, ++next) {
    if (next < 0 || static_cast<std::size_t>(next) >= ecr_plu_table.size()) continue;
    ecr_plu_table[next] = DecodeComparisonRecord(RecordAt(data, k), next, price_decimals);
  }
  return next;
}

PackageSpan PluUploadPackages(const PluRange& range) {
  return {(range.First - 1) / kPluRecordsPerPackage, (range.Last - 1) / kPluRecordsPerPackage};
}

int StorePluUploadPackage(const PackageBytes& data, int n, const PluRange& range,
                          StringGrid& plu_grid, std::vector<bool>& alcohol_flags,
                          const WireUnits& units) {
  int cleaned = 0;
  for (int k = 0; k < kPluRecordsPerPackage; ++k) {
    const int plu = kPluRecordsPerPackage * n + k + 1;
    if (plu < range.First || plu > range.Last) continue;
    const UploadedPluRow row = DecodeUploadedPluRecord(RecordAt(data, k), units);
    if (row.NameCleaned) ++cleaned;
    StoreUploadedPluRow(row, plu, plu_grid, alcohol_flags);
  }
  return cleaned;
}

}  // namespace plumgr
