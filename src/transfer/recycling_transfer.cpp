#include "transfer/recycling_transfer.h"

#include <vector>

#include "transfer/recycling_packages.h"

namespace plumgr {

bool DownloadRecycling(TransferStep& step) {
  const RecyclingBlock block = EncodeRecyclingBlock(step.Data.Recycling, step.Units());
  step.Progress.SetMargin(kRecyclingPackages);
  for (int i = 0; i < kRecyclingPackages; ++i) {
    step.Progress.SetProgress(i + 1);
    step.Bus.PackageData = RecyclingPackage(block, i);
    if (!step.Bus.SendPackage(kRecyclingDownloadType, static_cast<std::uint16_t>(i))) return false;
  }
  return true;
}

bool UploadRecycling(TransferStep& step) {
  step.Progress.SetMargin(kRecyclingPackages);
  std::vector<std::uint8_t> received;
  received.reserve(kRecyclingPackages * kPackageDataSize);
  for (int a = 0; a < kRecyclingPackages; ++a) {
    step.Progress.SetProgress(a + 1);
    if (!step.Bus.RequestPackage(kRecyclingUploadType, static_cast<std::uint16_t>(a))) return false;
    received.insert(received.end(), step.Bus.PackageData.begin(), step.Bus.PackageData.end());
  }
  return StoreRecyclingBlock(received, step.Data.Recycling, step.Units());
}

}  // namespace plumgr
