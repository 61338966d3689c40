#pragma once
// The two transfer commands' sequence over the bus: open the port, connect,
// read the register's status, run the step of every chosen kind in a fixed
// order, disconnect, close the port. Every failure shows its text in the
// progress window, waits for OK and closes the port; after a Cancel the same
// path is taken without a text.

#include <cstdint>
#include <functional>
#include <string>

#include "transfer/transfer_step.h"

namespace plumgr {

enum DownloadKind : int {
  kDownloadPlu = 0,
  kDownloadDepartment = 1,
  kDownloadRecycling = 2,
  kDownloadParameter = 3,
  kDownloadVat = 4,
  kDownloadFastSale = 5,
  kDownloadHeader = 6,
  kDownloadKindCount = 7,
};

enum UploadKind : int {
  kUploadPlu = 0,
  kUploadDepartment = 1,
  kUploadRecycling = 2,
  kUploadFastSale = 3,
  kUploadParameter = 4,
  kUploadKindCount = 5,
};

inline constexpr std::uint8_t KindBit(int kind) {
  return static_cast<std::uint8_t>(1u << kind);
}

inline constexpr std::uint8_t kAllDownloadKinds = 0x7F;
inline constexpr std::uint8_t kAllUploadKinds = 0x1F;

inline constexpr const char* kCheckEcrStatusText = "Check ecr status";
inline constexpr std::uint8_t kStatusType = 0;

class TransferDriver {
 public:
  TransferDriver(TKovoIBusComm& bus, ProgressModel& progress) : bus_(bus), progress_(progress) {}
  TransferDriver(const TransferDriver&) = delete;
  TransferDriver& operator=(const TransferDriver&) = delete;

  // The chosen kinds, bit i for kind i.
  std::uint8_t DownloadKinds = 0;
  std::uint8_t UploadKinds = 0;
  TransferTimings Timings;

  // A step that runs instead of the kind's own one (reading the register for a
  // comparison or a backup, sending a backup back); the sequence around it stays.
  using StepOverride = std::function<bool(int kind, TransferStep& step)>;
  StepOverride DownloadSteps;
  StepOverride UploadSteps;
  // The prefix of the steps' status and error texts when not the direction's
  // own ("Download:", "Upload:"): a comparison reads with "Compare:".
  std::string StepPrefix;

  // The fields of the last successful status check.
  const EcrStatus& Status() const { return status_; }

  // The bus component must have its port and speed. The download sets the
  // reply wait to 1600 ms and leaves it so for later commands. True when every
  // chosen kind was transferred.
  bool DownloadSequence(TransferData& data, const PluRange& range);
  // Does not check the register's reports and keeps the reply wait.
  bool UploadSequence(TransferData& data, const PluRange& range);

  // Requests the status package; on failure reports the error, waits for OK
  // and returns false (the caller closes the port).
  bool CheckEcrStatus();
  // Four error disconnects, the error text, the wait for OK, the port closed.
  void FailTransfer(const std::string& text);

 private:
  enum class Direction { Download, Upload };
  bool OpenLink(TransferData& data);
  bool RunKinds(Direction direction, TransferData& data, const PluRange& range);
  bool RunStep(Direction direction, int kind, TransferStep& step);
  void CloseLink();
  void SendErrorDisconnects();

  TKovoIBusComm& bus_;
  ProgressModel& progress_;
  EcrStatus status_;
};

}  // namespace plumgr
