#include "transfer/snapshot_restore.h"

#include <algorithm>

#include "data/definitions.h"
#include "transfer/department_transfer.h"
#include "transfer/fast_sale_packages.h"
#include "transfer/fast_sale_transfer.h"
#include "transfer/parameter_block.h"
#include "transfer/parameter_transfer.h"
#include "transfer/plu_download.h"
#include "transfer/recycling_packages.h"
#include "transfer/recycling_transfer.h"
#include "transfer/transfer_driver.h"

namespace plumgr {
namespace {

// The fast-sale package carries its 16 entries in bytes 0 to 143.
constexpr std::size_t kFastSaleBytes = kFastSaleEntrySize * kFastSaleButtons;

using PackageList = std::vector<PackageBytes>;

bool SendAll(TransferStep& step, std::uint8_t type, const PackageList& packages) {
  step.Progress.SetMargin(static_cast<int>(packages.size()));
  for (std::size_t n = 0; n < packages.size(); ++n) {
    step.Progress.SetProgress(static_cast<int>(n + 1));
    step.Bus.PackageData = packages[n];
    if (!step.Bus.SendPackage(type, static_cast<std::uint16_t>(n))) return false;
  }
  return true;
}

// Every PLU of the snapshot to its own number; an empty one as the empty slot.
PackageList SnapshotPluPackages(const RegisterSnapshot& snapshot) {
  std::vector<PluSlotBytes> plu_slots;
  for (const PluRange& span : snapshot.PluSpans)
    for (int plu = span.First; plu <= span.Last; ++plu) {
      if (!snapshot.HoldsPlu(plu)) continue;
      const PluRecordView record = snapshot.PluRecord(plu);
      PluRecordBytes bytes;
      std::copy(record.begin(), record.end(), bytes.begin());
      plu_slots.push_back(IsEmptyPluRecord(record) ? EmptyPluSlot(plu - 1)
                                                   : EncodePluSlot(plu - 1, bytes));
    }
  PackageList packages;
  for (std::size_t at = 0; at < plu_slots.size(); at += kPluSlotsPerPackage) {
    const std::size_t count = std::min<std::size_t>(kPluSlotsPerPackage, plu_slots.size() - at);
    packages.push_back(PackPluSlots(std::span(plu_slots).subspan(at, count)));
  }
  return packages;
}

// The rows of the range from the tables, each to its own number.
PackageList TablePluPackages(const TransferStep& step) {
  StringGrid grid = step.Data.Grids.PLUGrid;
  if (grid.RowCount() <= step.Range.Last) grid.SetRowCount(step.Range.Last + 1);
  const PluIndexLookup own_number = [](int row, const std::string&) { return row - 1; };
  PackageList packages;
  for (int n = 0; n < PluDownloadPackageCount(step.Range); ++n)
    packages.push_back(ProfilePluLayout() == PluDownloadLayout::Plain
                           ? EncodePlainPluPackage(grid, step.Range, n, step.Units())
                           : EncodeComparedPluPackage(grid, step.Data.Grids.AlcoholFlags,
                                                      step.Range, n, own_number, step.Units()));
  return packages;
}

PackageList Split(const std::vector<std::uint8_t>& bytes) {
  PackageList packages(bytes.size() / kPackageDataSize);
  for (std::size_t n = 0; n < packages.size(); ++n)
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(n * kPackageDataSize), kPackageDataSize,
                packages[n].begin());
  return packages;
}

PackageList RecyclingPackages(const std::vector<std::uint8_t>& bytes) {
  RecyclingBlock block{};
  std::copy_n(bytes.begin(), std::min(bytes.size(), block.size()), block.begin());
  PackageList packages;
  for (int i = 0; i < kRecyclingPackages; ++i)
    packages.push_back(RecyclingPackage(block, i));
  return packages;
}

PackageBytes FastSalePackage(const PackageBytes& read) {
  PackageBytes package{};
  std::copy_n(read.begin(), kFastSaleBytes, package.begin());
  return package;
}

constexpr std::uint8_t kParameterKinds =
    KindBit(kDownloadParameter) | KindBit(kDownloadVat) | KindBit(kDownloadHeader);

}  // namespace

bool SnapshotRestore::PricesAsRead(const TransferStep& step) const {
  return snapshot_ != nullptr && snapshot_->PriceDecimals == step.Status.PriceDecimals;
}

bool SnapshotRestore::SendPlus(TransferStep& step) {
  const bool raw = PricesAsRead(step) && (snapshot_->DownloadKinds & KindBit(kDownloadPlu));
  const PackageList packages = raw ? SnapshotPluPackages(*snapshot_) : TablePluPackages(step);
  std::string dump;
  for (const PackageBytes& package : packages)
    AppendPackage(dump, package);
  const bool ok = SendAll(step, kPluDownloadType, packages);
  WriteDump(step, kDownloadPluDump, dump);
  return ok;
}

bool SnapshotRestore::SendParameters(TransferStep& step) {
  if (parameters_sent_) return true;
  parameters_sent_ = true;
  const bool raw = snapshot_ != nullptr && (snapshot_->DownloadKinds & kParameterKinds) &&
                   snapshot_->Parameters.size() >= kParameterReadSize;
  if (!raw) return DownloadParameters(step);
  std::vector<std::uint8_t> current;
  for (int i = 0; i < kParameterReadPackages; ++i) {
    if (!step.Bus.RequestPackage(kParameterReadType, static_cast<std::uint16_t>(i))) return false;
    current.insert(current.end(), step.Bus.PackageData.begin(), step.Bus.PackageData.end());
  }
  ParameterBlock block = ParameterBlockFromReceived(current);
  const ParameterGroups groups = ParameterGroupsOf(step.DownloadKinds & snapshot_->DownloadKinds);
  if (!CopyParameterGroups(block, snapshot_->Parameters, groups,
                           {CurrentProfile().HeaderWidth, CurrentProfile().TailWidth}))
    return false;
  PackageList packages;
  for (int j = 0; j < kParameterSendPackages; ++j)
    packages.push_back(ParameterPackage(block, j));
  return SendAll(step, kParameterWriteType, packages);
}

bool SnapshotRestore::Step(int download_kind, TransferStep& step) {
  const bool has = snapshot_ != nullptr && (snapshot_->DownloadKinds & KindBit(download_kind));
  switch (download_kind) {
    case kDownloadPlu:
      return SendPlus(step);
    case kDownloadDepartment:
      if (has && PricesAsRead(step) && !snapshot_->Departments.empty())
        return SendAll(step, kDepartmentDownloadType, Split(snapshot_->Departments));
      return DownloadDepartments(step);
    case kDownloadRecycling:
      if (has && PricesAsRead(step) && !snapshot_->Recycling.empty())
        return SendAll(step, kRecyclingDownloadType, RecyclingPackages(snapshot_->Recycling));
      return DownloadRecycling(step);
    case kDownloadFastSale:
      if (has && snapshot_->FastSale)
        return SendAll(step, kFastSaleDownloadType, {FastSalePackage(*snapshot_->FastSale)});
      return DownloadFastSale(step);
    case kDownloadParameter:
    case kDownloadVat:
    case kDownloadHeader:
      return SendParameters(step);
    default:
      return false;
  }
}

}  // namespace plumgr
