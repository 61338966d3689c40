#pragma once
// The two small tables of register data kept in memory beside the PLU and
// department tables: the recycling (deposit package) prices and the 16 fast-sale
// buttons.

#include <array>
#include <cstdint>
#include <string>

namespace plumgr {

struct TRecy {
  std::string Number;        // "1".."100"
  std::string PackagePrice;  // "%.2f" with the locale's decimal separator
  bool operator==(const TRecy&) const = default;
};

struct TSign {
  std::int32_t ButtonNumber = 0;
  std::string Barcode;
  std::int32_t SignFlag = 0;  // 0 or 1
  bool operator==(const TSign&) const = default;
};

inline constexpr int kRecyclingEntries = 101;
inline constexpr int kRecyclingUsedEntries = 100;  // the last entry is never used
inline constexpr int kFastSaleButtons = 16;

using RecyclingTable = std::array<TRecy, kRecyclingEntries>;
using FastSaleTable = std::array<TSign, kFastSaleButtons>;

// The start values: entry i has the number i + 1 and the price "0" + separator + "00".
RecyclingTable InitialRecyclingTable(char decimal_separator);
// Every button number 0, barcode empty, sign flag 0.
FastSaleTable InitialFastSaleTable();

}  // namespace plumgr
