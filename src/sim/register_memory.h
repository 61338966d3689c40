#pragma once
// What the simulated register holds in its memory: the PLU table, the PLU sales
// records, the departments, the recycling prices, the parameter block, the
// fast-sale buttons, the report it prints, the memory pages a dump reads and the
// font packages it was sent. Records are kept as the bytes that travel, so what
// the PC sends comes back exactly.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "link/bus_frame.h"
#include "sim/register_layouts.h"

namespace plumgr::sim {

inline constexpr int kPluCapacity = 10000;
inline constexpr int kPlusPerPackage = 4;
inline constexpr int kPluPackages = kPluCapacity / kPlusPerPackage;
// The PC reads at most this many report pieces.
inline constexpr int kReportPackages = 564;
inline constexpr std::size_t kReportLimit = kReportPackages * kPackageDataSize;

enum class MemoryBank : std::uint8_t { Rom = 0, Ram = 1 };

struct MemoryPageKey {
  MemoryBank Kind = MemoryBank::Rom;
  std::uint16_t Page = 0;
  friend auto operator<=>(const MemoryPageKey&, const MemoryPageKey&) = default;
};

// A slot whose record starts with 0xFF is empty, as the PLU upload reads it.
inline constexpr std::uint8_t kEmptyByte = 0xFF;

struct RegisterMemory {
  RegisterMemory();

  std::vector<PluRecordBytes> Plus;  // kPluCapacity slots, 64 bytes 0xFF when empty
  std::vector<SalesRecordBytes> Sales;
  std::array<std::uint8_t, kDepartmentCount * kDepartmentRecordSize> Departments{};
  std::array<std::uint8_t, kRecyclingBlockSize> Recycling{};
  ParameterBlock Parameters{};
  PackageBytes FastSale{};
  std::string Report;  // never holds a NUL, which would end the report early
  // Pages set explicitly; every other page reads as FillerPage.
  std::map<MemoryPageKey, PackageBytes> Pages;
  std::map<std::uint16_t, PackageBytes> Fonts;  // by package number

  friend bool operator==(const RegisterMemory&, const RegisterMemory&) = default;
};

bool PluPresent(const PluRecordBytes& record);
std::uint32_t CountPlus(const RegisterMemory& memory);
void StorePlu(RegisterMemory& memory, int index, const PluRecordBytes& record);

// A page nobody set: byte i holds the low byte of page + i, plus 0x80 in RAM,
// so that a dump shows where each page came from.
PackageBytes FillerPage(MemoryPageKey key);
PackageBytes ReadMemoryPage(const RegisterMemory& memory, MemoryPageKey key);

// The report, refused (false, nothing changed) when it holds a NUL byte.
[[nodiscard]] bool SetReport(RegisterMemory& memory, std::string text);

// Puts test items n = 1 to count into PLU slots 0 to count - 1 (at most the
// table): barcode 2000000000000 + n, name "ITEM n", price n at the given
// decimals, department (n - 1) mod 16 + 1, stock n, and a sales record for each
// (n sold for n times the price). Earlier sales records are replaced.
void FillTestPlus(RegisterMemory& memory, int count, int price_decimals);

}  // namespace plumgr::sim
