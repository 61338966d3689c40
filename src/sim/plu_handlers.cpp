#include "sim/plu_handlers.h"

#include <algorithm>

namespace plumgr::sim {
namespace {

// A comparison package whose first seven bytes are 0xFF names the next
// package to request in bytes 7 and 8, most significant first.
constexpr std::size_t kJumpMarkerSize = 7;
constexpr Field kJumpTarget{7, 2, FieldKind::UnsignedBig};
constexpr std::uint8_t kNoTarget = 0xFF;

std::span<const std::uint8_t> Slot(std::span<const std::uint8_t, kPackageDataSize> data, int s) {
  return data.subspan(kFirstSlotOffset + kPluSlotSize * static_cast<std::size_t>(s), kPluSlotSize);
}

bool PackageHasPlu(const RegisterMemory& memory, int q) {
  for (int k = 0; k < kPlusPerPackage; ++k)
    if (PluPresent(memory.Plus[static_cast<std::size_t>(q * kPlusPerPackage + k)])) return true;
  return false;
}

// The next package after q that holds a PLU, or kPluPackages when none does.
int NextPackageWithPlu(const RegisterMemory& memory, int q) {
  for (int next = q + 1; next < kPluPackages; ++next)
    if (PackageHasPlu(memory, next)) return next;
  return kPluPackages;
}

PackageBytes JumpPackage(int target) {
  PackageBytes data{};
  std::fill_n(data.begin(), kJumpMarkerSize, kEmptyByte);
  WriteNumber(data, kJumpTarget, target < 0 ? 0xFFFF : static_cast<std::uint64_t>(target));
  return data;
}

}  // namespace

Answer HandlePluDownload(const PackageBlock& package, const FrameContext&, RegisterState& state) {
  auto data = package.Data();
  int count = data[kSlotCountOffset];
  if (count < 1 || count > kMaxSlots) return Answer::Nak();
  for (int s = 0; s < count; ++s)
    if (ReadUnsigned(Slot(data, s), kSlotIndex) >= static_cast<std::uint64_t>(kPluCapacity))
      return Answer::Nak();
  for (int s = 0; s < count; ++s) {
    std::span<const std::uint8_t> slot = Slot(data, s);
    PluRecordBytes record;
    std::copy_n(slot.begin() + kSlotRecordOffset, kPluRecordSize, record.begin());
    StorePlu(state.Memory, static_cast<int>(ReadUnsigned(slot, kSlotIndex)), record);
  }
  return Answer::Ack();
}

Answer HandlePluUpload(const PackageBlock& package, const FrameContext&, RegisterState& state) {
  int n = package.Number();
  if (n >= kPluPackages) return Answer::Nak();
  PackageBytes data;
  for (int k = 0; k < kPlusPerPackage; ++k)
    std::copy_n(state.Memory.Plus[static_cast<std::size_t>(n * kPlusPerPackage + k)].begin(),
                kPluRecordSize, data.begin() + kPluRecordSize * k);
  return Answer::Frame(package, data);
}

PackageBytes ComparisonPackage(const RegisterMemory& memory, int q) {
  if (q < kPluPackages && PackageHasPlu(memory, q)) {
    PackageBytes data{};
    for (int k = 0; k < kPlusPerPackage; ++k) {
      const PluRecordBytes& record = memory.Plus[static_cast<std::size_t>(q * kPlusPerPackage + k)];
      if (PluPresent(record))
        std::copy(record.begin(), record.end(), data.begin() + kPluRecordSize * k);
    }
    return data;
  }
  int target = q < kPluPackages ? NextPackageWithPlu(memory, q) : kPluPackages;
  if (target >= kPluPackages) {
    PackageBytes end;
    end.fill(kEmptyByte);
    return end;
  }
  if ((target & 0xFF) == kNoTarget) target = target - 1 > q ? target - 1 : -1;
  return JumpPackage(target);
}

Answer HandlePluComparison(const PackageBlock& package, const FrameContext&, RegisterState& state) {
  return Answer::Frame(package, ComparisonPackage(state.Memory, package.Number()));
}

Answer HandleSalesRecords(const PackageBlock& package, const FrameContext&, RegisterState& state) {
  PackageBytes data{};
  const std::vector<SalesRecordBytes>& sales = state.Memory.Sales;
  std::size_t begin = std::size_t{package.Number()} * kPackageDataSize;
  for (std::size_t i = 0; i < kPackageDataSize; ++i) {
    std::size_t at = begin + i;
    std::size_t record = at / kSalesRecordSize;
    if (record >= sales.size()) break;
    data[i] = sales[record][at % kSalesRecordSize];
  }
  return Answer::Frame(package, data);
}

}  // namespace plumgr::sim
