#include "sim/register_memory.h"

#include <algorithm>

namespace plumgr::sim {
namespace {

constexpr std::uint64_t kTestBarcodeBase = 2000000000000;

std::int64_t PowerOfTen(int decimals) {
  std::int64_t value = 1;
  // Beyond nine decimals no price of a test item would fit its 32 bits anyway.
  for (int i = 0; i < std::min(decimals, 9); ++i)
    value *= 10;
  return value;
}

PluRecordBytes TestPlu(int n, std::int64_t scale) {
  PluRecordBytes record{};
  WriteDecimal(record, plu_field::kBarcode, kTestBarcodeBase + static_cast<std::uint64_t>(n));
  WriteText(record, plu_field::kName, "ITEM " + std::to_string(n));
  WriteNumber(record, plu_field::kPrice, static_cast<std::uint64_t>(n * scale));
  WriteNumber(record, plu_field::kDepartment,
              static_cast<std::uint64_t>((n - 1) % kDepartmentCount));
  WriteNumber(record, plu_field::kStock, static_cast<std::uint64_t>(n) * 1000);
  return record;
}

SalesRecordBytes TestSale(int n, std::int64_t scale) {
  SalesRecordBytes record{};
  WriteDecimal(record, sale_field::kBarcode, kTestBarcodeBase + static_cast<std::uint64_t>(n));
  WriteNumber(record, sale_field::kQuantity, static_cast<std::uint64_t>(n) * 1000);
  WriteNumber(record, sale_field::kAmount,
              static_cast<std::uint64_t>(n) * static_cast<std::uint64_t>(n * scale));
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
