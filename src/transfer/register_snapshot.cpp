#include "transfer/register_snapshot.h"

#include <algorithm>
#include <set>

#include "data/definitions.h"
#include "transfer/department_packages.h"
#include "transfer/department_transfer.h"
#include "transfer/fast_sale_packages.h"
#include "transfer/fast_sale_transfer.h"
#include "transfer/parameter_block.h"
#include "transfer/parameter_transfer.h"
#include "transfer/plu_upload.h"
#include "transfer/recycling_packages.h"
#include "transfer/recycling_transfer.h"
#include "transfer/transfer_driver.h"

namespace plumgr {
namespace {

constexpr std::uint8_t kEmptyRecordByte = 0xFF;

// Requests package n of the type into the end of `into`; the buffer is cleared
// first, as the kinds' own upload steps do.
bool RequestInto(TransferStep& step, std::uint8_t type, int n, std::vector<std::uint8_t>& into) {
  step.Bus.PackageData.fill(0);
  if (!step.Bus.RequestPackage(type, static_cast<std::uint16_t>(n))) return false;
  into.insert(into.end(), step.Bus.PackageData.begin(), step.Bus.PackageData.end());
  return true;
}

std::set<int> PluPackageNumbers(const std::vector<PluRange>& spans) {
  std::set<int> numbers;
  for (const PluRange& span : spans) {
    const PackageSpan packages = PluUploadPackages(span);
    for (int n = packages.First; n <= packages.Last; ++n)
      numbers.insert(n);
  }
  return numbers;
}

bool ReadPluPackages(TransferStep& step, RegisterSnapshot& snapshot) {
  const std::set<int> numbers = PluPackageNumbers(snapshot.PluSpans);
  step.Progress.SetMargin(static_cast<int>(numbers.size()));
  int done = 0;
  for (int n : numbers) {
    step.Progress.SetProgress(++done);
    step.Bus.PackageData.fill(0);
    if (!step.Bus.RequestPackage(kPluUploadType, static_cast<std::uint16_t>(n))) return false;
    snapshot.PluPackages[n] = step.Bus.PackageData;
  }
  return true;
}

bool ReadPackages(TransferStep& step, std::uint8_t type, int count,
                  std::vector<std::uint8_t>& into) {
  std::vector<std::uint8_t> received;
  step.Progress.SetMargin(count);
  for (int n = 0; n < count; ++n) {
    step.Progress.SetProgress(n + 1);
    if (!RequestInto(step, type, n, received)) return false;
  }
  into = std::move(received);
  return true;
}

bool ReadFastSale(TransferStep& step, RegisterSnapshot& snapshot) {
  std::vector<std::uint8_t> received;
  if (!ReadPackages(step, kFastSaleUploadType, 1, received)) return false;
  PackageBytes package{};
  std::copy(received.begin(), received.end(), package.begin());
  snapshot.FastSale = package;
  return true;
}

bool ReadParameters(TransferStep& step, RegisterSnapshot& snapshot) {
  return ReadPackages(step, kParameterReadType, kParameterReadPackages, snapshot.Parameters);
}

void StorePlus(const RegisterSnapshot& snapshot, Tables& tables, const WireUnits& units,
               int& cleaned) {
  for (const PluRange& span : snapshot.PluSpans)
    for (const auto& [n, data] : snapshot.PluPackages)
      cleaned += StorePluUploadPackage(data, n, span, tables.PLUGrid, tables.AlcoholFlags, units);
}

void StoreDepartments(const RegisterSnapshot& snapshot, StringGrid& grid, const WireUnits& units,
                      int& cleaned) {
  const std::size_t count = snapshot.Departments.size() / kPackageDataSize;
  for (std::size_t n = 0; n < count; ++n) {
    PackageBytes data{};
    std::copy_n(snapshot.Departments.begin() + static_cast<std::ptrdiff_t>(n * kPackageDataSize),
                kPackageDataSize, data.begin());
    cleaned += StoreDepartmentPackage(data, static_cast<int>(n), grid, units);
  }
}

}  // namespace

bool RegisterSnapshot::HoldsPlu(int plu) const {
  if (plu < 1) return false;
  const bool in_span = std::any_of(PluSpans.begin(), PluSpans.end(), [plu](const PluRange& span) {
    return plu >= span.First && plu <= span.Last;
  });
  return in_span && PluPackages.count((plu - 1) / kPluRecordsPerPackage) != 0;
}

PluRecordView RegisterSnapshot::PluRecord(int plu) const {
  const PackageBytes& data = PluPackages.at((plu - 1) / kPluRecordsPerPackage);
  const std::size_t k = static_cast<std::size_t>((plu - 1) % kPluRecordsPerPackage);
  return PluRecordView(data.data() + kPluRecordSize * k, kPluRecordSize);
}

bool IsEmptyPluRecord(PluRecordView record) {
  return record[0] == kEmptyRecordByte;
}

std::uint8_t SnapshotUploadKinds(std::uint8_t download_kinds) {
  std::uint8_t kinds = 0;
  if (download_kinds & KindBit(kDownloadPlu)) kinds |= KindBit(kUploadPlu);
  if (download_kinds & KindBit(kDownloadDepartment)) kinds |= KindBit(kUploadDepartment);
  if (download_kinds & KindBit(kDownloadRecycling)) kinds |= KindBit(kUploadRecycling);
  if (download_kinds & KindBit(kDownloadFastSale)) kinds |= KindBit(kUploadFastSale);
  const std::uint8_t parameter_kinds =
      KindBit(kDownloadParameter) | KindBit(kDownloadVat) | KindBit(kDownloadHeader);
  if (download_kinds & parameter_kinds) kinds |= KindBit(kUploadParameter);
  return kinds;
}

std::vector<PluRange> JoinPluSpans(std::vector<PluRange> spans) {
  std::erase_if(spans, [](const PluRange& span) { return span.Last < span.First; });
  std::sort(spans.begin(), spans.end(),
            [](const PluRange& a, const PluRange& b) { return a.First < b.First; });
  std::vector<PluRange> joined;
  for (const PluRange& span : spans) {
    if (!joined.empty() && span.First <= joined.back().Last + 1)
      joined.back().Last = std::max(joined.back().Last, span.Last);
    else
      joined.push_back(span);
  }
  return joined;
}

std::vector<PluRange> PluSpansWritten(const PluRange& range, PluDownloadLayout layout) {
  std::vector<PluRange> spans{range};
  if (layout == PluDownloadLayout::Compared) {
    const int looked_up = (range.Last - range.First) / kPluRecordsPerPackage;
    if (looked_up > 0) spans.push_back({1, kPluRecordsPerPackage * looked_up});
  }
  return JoinPluSpans(std::move(spans));
}

PluDownloadLayout ProfilePluLayout() {
  return CurrentProfile().PluRecordFormat ? PluDownloadLayout::Plain : PluDownloadLayout::Compared;
}

bool ReadSnapshotStep(int upload_kind, TransferStep& step, RegisterSnapshot& snapshot) {
  snapshot.PriceDecimals = step.Status.PriceDecimals;
  switch (upload_kind) {
    case kUploadPlu:
      return ReadPluPackages(step, snapshot);
    case kUploadDepartment:
      return ReadPackages(step, kDepartmentUploadType,
                          DepartmentUploadPackageCount(CurrentProfile().DeptCount),
                          snapshot.Departments);
    case kUploadRecycling:
      return ReadPackages(step, kRecyclingUploadType, kRecyclingPackages, snapshot.Recycling);
    case kUploadFastSale:
      return ReadFastSale(step, snapshot);
    case kUploadParameter:
      return ReadParameters(step, snapshot);
    default:
      return false;
  }
}

int StoreSnapshot(const RegisterSnapshot& snapshot, Tables& tables, RecyclingTable& recycling,
                  FastSaleTable& fast_sale, Settings* parameters, char decimal_separator) {
  const WireUnits units{snapshot.PriceDecimals, decimal_separator};
  int cleaned = 0;
  StorePlus(snapshot, tables, units, cleaned);
  StoreDepartments(snapshot, tables.DeptmentGrid, units, cleaned);
  if (!snapshot.Recycling.empty()) (void)StoreRecyclingBlock(snapshot.Recycling, recycling, units);
  if (snapshot.FastSale)
    fast_sale = DecodeFastSalePackage(*snapshot.FastSale, TOrvanencode(decimal_separator));
  if (parameters != nullptr && snapshot.Parameters.size() >= kParameterReadSize)
    (void)StoreParameterBlock(snapshot.Parameters, *parameters,
                              {CurrentProfile().HeaderWidth, CurrentProfile().TailWidth});
  return cleaned;
}

}  // namespace plumgr
