#pragma once
// The register's status as the PC reads it at the start of every download and
// upload (package type 0, number 0).

#include <array>
#include <cstdint>

namespace plumgr::sim {

struct RegisterStatus {
  std::uint8_t PriceDecimals = 2;
  bool ReportsCleared = true;
  std::uint32_t PluCount = 0;
  std::uint32_t SalesRecordCount = 0;
};

// The 256 data bytes of the status package: byte 0 the price decimals, byte 1
// zero when the reports are cleared, bytes 3 to 6 the PLU count least
// significant byte first, bytes 7 to 10 the sales record count most significant
// byte first; every other byte is zero.
std::array<std::uint8_t, 256> EncodeStatusData(const RegisterStatus& status);

}  // namespace plumgr::sim
