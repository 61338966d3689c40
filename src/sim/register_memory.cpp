#include "sim/register_memory.h"

#include <algorithm>

#include "data/helpers.h"
#include "transfer/wire_numbers.h"

namespace plumgr::sim {
namespace {

constexpr std::int64_t kTestBarcodeBase = 2000000000000;
constexpr std::size_t kNameOffset = 7;
constexpr std::size_t kNameWidth = 18;
constexpr std::size_t kPriceOffset = 25;
constexpr std::size_t kDepartmentOffset = 44;
constexpr std::size_t kStockOffset = 45;
constexpr std::size_t kSoldOffset = 7;
constexpr std::size_t kAmountOffset = 11;

std::int64_t PowerOfTen(int decimals) {
  std::int64_t value = 1;
  // Beyond nine decimals no price of a test item would fit its 32 bits anyway.
  for (int i = 0; i < std::min(decimals, 9); ++i)
    value *= 10;
  return value;
}

PluRecordBytes TestPlu(int n, std::int64_t scale) {
  PluRecordBytes record{};
  Int64ToBcd(kBarcodeDigits, record.data(), kTestBarcodeBase + n);
  PutTextField(record, kNameOffset, kNameWidth, "ITEM " + std::to_string(n));
  PutBig32(record, kPriceOffset, static_cast<std::uint32_t>(n * scale));
  record[kDepartmentOffset] = static_cast<std::uint8_t>((n - 1) % kDepartmentCount);
  PutBig32(record, kStockOffset, static_cast<std::uint32_t>(n * 1000));
  return record;
}

SalesRecordBytes TestSale(int n, std::int64_t scale) {
  SalesRecordBytes record{};
  Int64ToBcd(kBarcodeDigits, record.data(), kTestBarcodeBase + n);
  PutBig32(record, kSoldOffset, static_cast<std::uint32_t>(n * 1000));
  auto amount = static_cast<std::uint64_t>(n) * static_cast<std::uint64_t>(n * scale);
  for (int i = 0; i < 6; ++i)
    record[kAmountOffset + 5 - i] = static_cast<std::uint8_t>(amount >> (8 * i));
  return record;
}

}  // namespace

RegisterMemory::RegisterMemory() {
  PluRecordBytes empty;
  empty.fill(kEmptyByte);
  Plus.assign(kPluCapacity, empty);
}

bool PluPresent(const PluRecordBytes& record) {
  return record[0] != kEmptyByte;
}

std::uint32_t CountPlus(const RegisterMemory& memory) {
  return static_cast<std::uint32_t>(std::count_if(memory.Plus.begin(), memory.Plus.end(),
                                                  [](const auto& r) { return PluPresent(r); }));
}

void StorePlu(RegisterMemory& memory, int index, const PluRecordBytes& record) {
  PluRecordBytes& slot = memory.Plus.at(static_cast<std::size_t>(index));
  if (PluPresent(record))
    slot = record;
  else
    slot.fill(kEmptyByte);
}

PackageBytes FillerPage(MemoryPageKey key) {
  PackageBytes page{};
  int base = key.Page + (key.Kind == MemoryBank::Ram ? 0x80 : 0);
  for (std::size_t i = 0; i < page.size(); ++i)
    page[i] = static_cast<std::uint8_t>(base + static_cast<int>(i));
  return page;
}

PackageBytes ReadMemoryPage(const RegisterMemory& memory, MemoryPageKey key) {
  auto found = memory.Pages.find(key);
  return found != memory.Pages.end() ? found->second : FillerPage(key);
}

bool SetReport(RegisterMemory& memory, std::string text) {
  if (text.find('\0') != std::string::npos) return false;
  memory.Report = std::move(text);
  return true;
}

void FillTestPlus(RegisterMemory& memory, int count, int price_decimals) {
  count = std::clamp(count, 0, kPluCapacity);
  std::int64_t scale = PowerOfTen(price_decimals);
  memory.Sales.clear();
  for (int n = 1; n <= count; ++n) {
    StorePlu(memory, n - 1, TestPlu(n, scale));
    memory.Sales.push_back(TestSale(n, scale));
  }
}

}  // namespace plumgr::sim
