#include "transfer/report_upload.h"

#include <algorithm>

namespace plumgr {

std::string ReportPiece(const PackageBytes& data) {
  const auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
  return std::string(data.begin(), end);
}

ReportUploadResult UploadReport(TKovoIBusComm& bus, ProgressModel& progress) {
  ServiceLink link(bus, progress);
  if (ServiceResult opened = link.Open(ErrorDisconnect::None); !opened) return {opened, {}};
  std::string text;
  progress.SetStatus(StatusMode::Normal, Running(kUploadReportText));
  progress.SetMargin(kReportPackageLimit);
  for (int i = 0; i < kReportPackageLimit; ++i) {
    progress.SetProgress(i + 1);
    if (!bus.RequestPackage(kReportType, static_cast<std::uint16_t>(i))) {
      link.Fail(Failing(kUploadReportText), ErrorDisconnect::None);
      return {{ServiceOutcome::Failed, {}}, {}};
    }
    if (bus.PackageData[0] == 0) break;
    text += ReportPiece(bus.PackageData);
  }
  link.Close();
  return {{}, std::move(text)};
}

}  // namespace plumgr
