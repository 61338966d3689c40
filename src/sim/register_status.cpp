#include "sim/register_status.h"

namespace plumgr::sim {

std::array<std::uint8_t, 256> EncodeStatusData(const RegisterStatus& status) {
  std::array<std::uint8_t, 256> data{};
  data[0] = status.PriceDecimals;
  data[1] = status.ReportsCleared ? 0 : 1;
  std::uint32_t plu_count = status.PluCount.value_or(0);
  std::uint32_t sales_count = status.SalesRecordCount.value_or(0);
  for (int i = 0; i < 4; ++i) {
    data[3 + i] = static_cast<std::uint8_t>(plu_count >> (8 * i));
    data[10 - i] = static_cast<std::uint8_t>(sales_count >> (8 * i));
  }
  return data;
}

}  // namespace plumgr::sim
