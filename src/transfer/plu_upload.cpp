#include "transfer/plu_upload.h"

#include <algorithm>
#include <climits>

#include "transfer/sales_records.h"

namespace plumgr {
namespace {

bool UploadPluRecords(TransferStep& step) {
  const PackageSpan span = PluUploadPackages(step.Range);
  step.Progress.SetMargin(span.Last - span.First + 1);
  Tables& tables = step.Data.Grids;
  const WireUnits units = step.Units();
  std::string dump;
  for (int n = span.First; n <= span.Last; ++n) {
    step.Progress.SetProgress(n - span.First + 1);
    if (!step.Bus.RequestPackage(kPluUploadType, static_cast<std::uint16_t>(n))) return false;
    AppendPackage(dump, step.Bus.PackageData);
    step.Data.CleanedNames += StorePluUploadPackage(step.Bus.PackageData, n, step.Range,
                                                    tables.PLUGrid, tables.AlcoholFlags, units);
  }
  WriteDump(step, kUploadPluDump, dump);
  return true;
}

// The sales records run on from package to package; a record may start in one
// and end in the next, so the stream is decoded only once it is complete.
bool UploadPluSales(TransferStep& step) {
  const std::int64_t count = SalesPackageCount(step.Status.SalesRecordCount);
  step.Progress.SetMargin(static_cast<int>(std::min<std::int64_t>(count, INT_MAX)));
  std::vector<std::uint8_t> stream;
  for (std::int64_t i = 0; i < count; ++i) {
    step.Progress.SetProgress(static_cast<int>(std::min<std::int64_t>(i + 1, INT_MAX)));
    if (!step.Bus.RequestPackage(kPluSalesType, static_cast<std::uint16_t>(i))) return false;
    stream.insert(stream.end(), step.Bus.PackageData.begin(), step.Bus.PackageData.end());
  }
  const std::vector<PluSalesRecord> records =
      DecodeSalesRecords(stream, step.Status.SalesRecordCount);
  StoreSalesRecords(records, step.Range, step.Data.Grids.PLUGrid, step.Units());
  return true;
}

}  // namespace

bool UploadPlu(TransferStep& step) {
  return UploadPluRecords(step) && UploadPluSales(step);
}

}  // namespace plumgr
