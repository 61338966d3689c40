#include "transfer/transfer_driver.h"

#include <climits>

#include "data/definitions.h"
#include "transfer/department_transfer.h"
#include "transfer/fast_sale_transfer.h"
#include "transfer/parameter_transfer.h"
#include "transfer/plu_download.h"
#include "transfer/plu_upload.h"
#include "transfer/recycling_transfer.h"

namespace plumgr {
namespace {

constexpr int kErrorDisconnects = 4;

// Closes the port on every way out of a sequence, also one the steps did not
// foresee.
class PortGuard {
 public:
  explicit PortGuard(TKovoIBusComm& bus) : bus_(bus) {}
  ~PortGuard() {
    if (bus_.isActive()) (void)bus_.Activate(false);
  }
  PortGuard(const PortGuard&) = delete;
  PortGuard& operator=(const PortGuard&) = delete;

 private:
  TKovoIBusComm& bus_;
};

bool RunDownloadStep(int kind, TransferStep& step) {
  switch (kind) {
    case kDownloadPlu:
      return CurrentProfile().PluRecordFormat ? DownloadPluPlain(step) : DownloadPluCompared(step);
    case kDownloadDepartment:
      return DownloadDepartments(step);
    case kDownloadRecycling:
      return DownloadRecycling(step);
    case kDownloadParameter:
    case kDownloadVat:
    case kDownloadHeader:
      return DownloadParameters(step);
    case kDownloadFastSale:
      return DownloadFastSale(step);
    default:
      return false;
  }
}

bool RunUploadStep(int kind, TransferStep& step) {
  switch (kind) {
    case kUploadPlu:
      return UploadPlu(step);
    case kUploadDepartment:
      return UploadDepartments(step);
    case kUploadRecycling:
      return UploadRecycling(step);
    case kUploadFastSale:
      return UploadFastSale(step);
    case kUploadParameter:
      return UploadParameters(step);
    default:
      return false;
  }
}

}  // namespace

bool TransferDriver::DownloadSequence(TransferData& data, const PluRange& range) {
  PortGuard guard(bus_);
  bus_.SetRetryInterval(Timings.DownloadRetryInterval);
  if (!OpenLink(data)) return false;
  if (!status_.ReportsCleared) {
    FailTransfer(Texts().ProgressTexts.ReportNotClear);
    return false;
  }
  if (!RunKinds(Direction::Download, data, range)) return false;
  CloseLink();
  return true;
}

bool TransferDriver::UploadSequence(TransferData& data, const PluRange& range) {
  PortGuard guard(bus_);
  if (!OpenLink(data)) return false;
  if (!RunKinds(Direction::Upload, data, range)) return false;
  CloseLink();
  return true;
}

bool TransferDriver::OpenLink(TransferData& data) {
  // A port that cannot be opened has been shown by the bus component.
  if (!bus_.Activate(true)) return false;
  const ProgressTextSet& texts = Texts().ProgressTexts;
  progress_.SetBus(&bus_);
  progress_.Show();
  progress_.SetStatus(StatusMode::Normal, texts.Connect + "...");
  if (!bus_.Connect(kStationNumber)) {
    FailTransfer(texts.Connect + "...Error!");
    return false;
  }
  if (!CheckEcrStatus()) {
    (void)bus_.Activate(false);
    progress_.Close();
    return false;
  }
  data.Grids.EcrPluCount = static_cast<int>(std::min<std::uint32_t>(status_.PluCount, INT_MAX));
  return true;
}

bool TransferDriver::CheckEcrStatus() {
  progress_.SetStatus(StatusMode::Normal, std::string(kCheckEcrStatusText) + "...");
  progress_.SetMargin(0);
  if (bus_.RequestPackage(kStatusType, 0)) {
    status_ = DecodeEcrStatus(bus_.PackageData);
    return true;
  }
  SendErrorDisconnects();
  progress_.SetStatus(StatusMode::Error, std::string(kCheckEcrStatusText) + "...Error!");
  progress_.WaitForAcknowledge();
  return false;
}

bool TransferDriver::RunKinds(Direction direction, TransferData& data, const PluRange& range) {
  const bool download = direction == Direction::Download;
  const int count = download ? static_cast<int>(kDownloadKindCount) : kUploadKindCount;
  const std::uint8_t kinds = download ? DownloadKinds : UploadKinds;
  const ProgressTextSet& texts = Texts().ProgressTexts;
  const std::string& prefix = !StepPrefix.empty() ? StepPrefix
                              : download          ? texts.Download
                                                  : texts.Upload;
  for (int kind = 0; kind < count; ++kind) {
    if ((kinds & KindBit(kind)) == 0) continue;
    const std::string name = download ? DownloadKindName(kind) : UploadKindName(kind);
    progress_.SetStatus(StatusMode::Normal, prefix + name + "...");
    TransferStep step{bus_, progress_, data, status_, range, DownloadKinds, Timings};
    const bool ok = RunStep(direction, kind, step);
    // A Cancel pressed while the step's last package was already answered
    // still ends the sequence.
    if (!ok || step.Cancelled()) {
      FailTransfer(prefix + name + "...Error!");
      return false;
    }
  }
  return true;
}

bool TransferDriver::RunStep(Direction direction, int kind, TransferStep& step) {
  const StepOverride& instead = direction == Direction::Download ? DownloadSteps : UploadSteps;
  if (instead) return instead(kind, step);
  return direction == Direction::Download ? RunDownloadStep(kind, step) : RunUploadStep(kind, step);
}

void TransferDriver::CloseLink() {
  progress_.SetStatus(StatusMode::Normal, Texts().ProgressTexts.Disconnect + "...");
  bus_.Disconnect(kStationNumber, false);
  progress_.Close();
  (void)bus_.Activate(false);
}

void TransferDriver::SendErrorDisconnects() {
  for (int i = 0; i < kErrorDisconnects; ++i)
    bus_.Disconnect(kStationNumber, true);
}

void TransferDriver::FailTransfer(const std::string& text) {
  SendErrorDisconnects();
  progress_.SetStatus(StatusMode::Error, text);
  progress_.WaitForAcknowledge();
  (void)bus_.Activate(false);
  progress_.Close();
}

}  // namespace plumgr
