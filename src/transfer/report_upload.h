#pragma once
// The report upload: the register sends a text report in numbered pieces of
// package type 7; a piece that begins with NUL ends it.

#include <cstdint>
#include <optional>
#include <string>

#include "link/bus_frame.h"
#include "link/kovo_ibus_comm.h"
#include "link/progress_model.h"
#include "transfer/service_link.h"

namespace plumgr {

inline constexpr std::uint8_t kReportType = 7;
// The register's report never needs more: 564 × 256 = 144384 characters.
inline constexpr int kReportPackageLimit = 564;
inline constexpr const char* kUploadReportText = "Upload report";

// The package's bytes up to the first NUL, all 256 when there is none.
std::string ReportPiece(const PackageBytes& data);

struct [[nodiscard]] ReportUploadResult {
  ServiceResult Result;
  // The text as the register sent it, line ends included; set on success only.
  std::string Text;
};

// Connects, requests the pieces from number 0 until the ending piece or the
// limit, disconnects. The bus component must have its port and speed; the port
// is closed on every way out.
ReportUploadResult UploadReport(TKovoIBusComm& bus, ProgressModel& progress);

}  // namespace plumgr
