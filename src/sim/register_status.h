#pragma once
// The register's status as the PC reads it at the start of every download and
// upload (package type 0, number 0).

#include <array>
#include <cstdint>
#include <optional>

namespace plumgr::sim {

struct RegisterStatus {
  std::uint8_t PriceDecimals = 2;
  bool ReportsCleared = true;
  // The counts the status reports; when not set, those of the register's memory.
  std::optional<std::uint32_t> PluCount;
  std::optional<std::uint32_t> SalesRecordCount;
};

// The 256 data bytes of the status package: byte 0 the price decimals, byte 1
// zero when the reports are cleared, bytes 3 to 6 the PLU count least
// significant byte first, bytes 7 to 10 the sales record count most significant
// byte first; every other byte is zero. A count not set is sent as 0.
std::array<std::uint8_t, 256> EncodeStatusData(const RegisterStatus& status);

}  // namespace plumgr::sim
