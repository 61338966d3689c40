#include "transfer/fast_sale_transfer.h"

#include "transfer/fast_sale_packages.h"

namespace plumgr {

bool DownloadFastSale(TransferStep& step) {
  const TOrvanencode codec(step.Data.DecimalSeparator);
  step.Progress.SetMargin(1);
  step.Bus.PackageData = EncodeFastSalePackage(step.Data.FastSale, codec);
  if (!step.Bus.SendPackage(kFastSaleDownloadType, 0)) return false;
  step.Progress.SetProgress(1);
  return true;
}

bool UploadFastSale(TransferStep& step) {
  const TOrvanencode codec(step.Data.DecimalSeparator);
  step.Progress.SetMargin(1);
  step.Bus.PackageData.fill(0);
  if (!step.Bus.RequestPackage(kFastSaleUploadType, 0)) return false;
  step.Progress.SetProgress(1);
  step.Data.FastSale = DecodeFastSalePackage(step.Bus.PackageData, codec);
  return true;
}

}  // namespace plumgr
