#include "data/small_tables.h"

namespace plumgr {

RecyclingTable InitialRecyclingTable(char decimal_separator) {
  RecyclingTable table;
  const std::string zero_price = std::string("0") + decimal_separator + "00";
  for (int i = 0; i < kRecyclingEntries; ++i) {
    table[i].Number = std::to_string(i + 1);
    table[i].PackagePrice = zero_price;
  }
  return table;
}

FastSaleTable InitialFastSaleTable() {
  return FastSaleTable{};
}

}  // namespace plumgr
