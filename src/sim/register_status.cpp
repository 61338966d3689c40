#include "sim/register_status.h"

#include "sim/register_layouts.h"

namespace plumgr::sim {

std::array<std::uint8_t, 256> EncodeStatusData(const RegisterStatus& status) {
  std::array<std::uint8_t, 256> data{};
  WriteNumber(data, status_field::kPriceDecimals, status.PriceDecimals);
  WriteNumber(data, status_field::kReportsNotCleared, status.ReportsCleared ? 0 : 1);
  WriteNumber(data, status_field::kPluCount, status.PluCount.value_or(0));
  WriteNumber(data, status_field::kSalesRecordCount, status.SalesRecordCount.value_or(0));
  return data;
}

}  // namespace plumgr::sim
