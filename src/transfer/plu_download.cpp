#include "transfer/plu_download.h"

#include <charconv>
#include <filesystem>
#include <functional>

#include "data/file_io.h"
#include "data/helpers.h"
#include "data/table_columns.h"

namespace plumgr {
namespace {

constexpr int kDownloadKindPlu = 0;

std::string DownloadStatusText() {
  return Texts().ProgressTexts.Download + DownloadKindName(kDownloadKindPlu) + "...";
}

// The range may reach past the table's rows (it is bounded by the register's
// 10000 PLUs, the table by the model); those rows are sent as empty rows.
const StringGrid& GridCovering(const StringGrid& grid, const PluRange& range,
                               StringGrid& extended) {
  if (range.Last < grid.RowCount()) return grid;
  extended = grid;
  extended.SetRowCount(range.Last + 1);
  return extended;
}

using PackageEncoder = std::function<PackageBytes(int n)>;

// Sends the packages of the range, each appended to the dump before it goes.
bool SendPluPackages(TransferStep& step, const PackageEncoder& encode, std::string& dump) {
  const int count = PluDownloadPackageCount(step.Range);
  step.Progress.SetMargin(count);
  for (int n = 0; n < count; ++n) {
    step.Progress.SetProgress(n + 1);
    step.Bus.PackageData = encode(n);
    AppendPackage(dump, step.Bus.PackageData);
    if (!step.Bus.SendPackage(kPluDownloadType, static_cast<std::uint16_t>(n))) return false;
  }
  return true;
}

// Puts the bus component's reply wait back however the step ends.
class RetryIntervalScope {
 public:
  RetryIntervalScope(TKovoIBusComm& bus, int interval) : bus_(bus), saved_(bus.RetryInterval()) {
    bus_.SetRetryInterval(interval);
  }
  ~RetryIntervalScope() { bus_.SetRetryInterval(saved_); }
  RetryIntervalScope(const RetryIntervalScope&) = delete;
  RetryIntervalScope& operator=(const RetryIntervalScope&) = delete;

 private:
  TKovoIBusComm& bus_;
  int saved_;
};

void WriteRepeatReport(const TransferStep& step) {
  std::string text;
  for (const std::string& line : step.Data.RepeatReport)
    text += line + "\r\n";
  std::error_code ec;
  std::filesystem::path path = std::filesystem::current_path(ec) / kRepeatReportFile;
  if (ec) path = kRepeatReportFile;
  FileResult written = ReplaceFile(path.string(), text);
  if (!written) {
    if (step.Data.Warn) step.Data.Warn(written.Message);
    return;
  }
  if (step.Data.OpenFile) step.Data.OpenFile(path.string());
}

}  // namespace

std::string ShortestNumberText(double value, char decimal_separator) {
  char buffer[64];
  auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  std::string text(buffer, ec == std::errc() ? end : buffer);
  for (char& c : text)
    if (c == '.') c = decimal_separator;
  return text;
}

std::string RepeatReportLine(const TPLUStruct& entry, char decimal_separator) {
  return std::to_string(entry.No + 1) + "\t" + entry.Barcode + "\t" + entry.Name + "\t" +
         ShortestNumberText(entry.Price, decimal_separator) + "\t" + std::to_string(entry.Dept) +
         "\t" + ShortestNumberText(entry.Stocks, decimal_separator);
}

TPLUStruct FindEcrPluByName(std::vector<TPLUStruct>& ecr_plu_table, int row,
                            const std::string& name) {
  const std::string_view wanted = TrimBlanksAndControls(name);
  const std::size_t limit = std::min<std::size_t>(ecr_plu_table.size(), kEcrPluTableSize);
  for (std::size_t i = 0; i < limit; ++i) {
    const std::string_view held = TrimBlanksAndControls(ecr_plu_table[i].Name);
    if (held.empty()) break;
    if (held == wanted) {
      TPLUStruct found = ecr_plu_table[i];
      found.No = static_cast<std::int32_t>(i);
      return found;
    }
  }
  if (row >= 1 && static_cast<std::size_t>(row - 1) < ecr_plu_table.size()) {
    ecr_plu_table[row - 1].Name = name;
    ecr_plu_table[row - 1].No = row - 1;
  }
  TPLUStruct none;
  none.No = -1;
  return none;
}

bool DownloadPluPlain(TransferStep& step) {
  step.Progress.SetStatus(StatusMode::Normal, DownloadStatusText());
  StringGrid extended(0, 0);
  const StringGrid& grid = GridCovering(step.Data.Grids.PLUGrid, step.Range, extended);
  const WireUnits units = step.Units();
  std::string dump;
  const bool ok = SendPluPackages(
      step, [&](int n) { return EncodePlainPluPackage(grid, step.Range, n, units); }, dump);
  WriteDump(step, kDownloadPluDump, dump);
  return ok;
}

bool ReadEcrPluTable(TransferStep& step) {
  Tables& tables = step.Data.Grids;
  ClearEcrPluTable(tables);
  step.Progress.SetStatus(StatusMode::Normal, Texts().ProgressTexts.Compare +
                                                  DownloadKindName(kDownloadKindPlu) + "...");
  const int limit = (step.Range.Last - step.Range.First) / kPluRecordsPerPackage;
  step.Progress.SetMargin(limit);
  int q = 0;
  int next_entry = 0;
  bool ok = true;
  std::string dump;
  for (int round = 0; round < limit; ++round) {
    step.Progress.SetProgress(q);
    if (q >= limit) break;
    if (!step.Bus.RequestPackage(kPluCompareType, static_cast<std::uint16_t>(q))) {
      ok = false;
      break;
    }
    const PackageBytes data = step.Bus.PackageData;
    const ComparisonPackage package = ClassifyComparisonPackage(data);
    if (package.Kind == ComparisonPackageKind::End) break;
    AppendPackage(dump, data);
    switch (package.Kind) {
      case ComparisonPackageKind::Jump:
        q = package.JumpTarget;
        break;
      case ComparisonPackageKind::Skip:
        ++q;
        break;
      default:
        next_entry =
            StoreComparisonRecords(data, next_entry, step.Status.PriceDecimals, tables.EcrPluTable);
        ++q;
        break;
    }
  }
  WriteDump(step, kComparePluDump, dump);
  return ok;
}

bool DownloadPluCompared(TransferStep& step) {
  if (!ReadEcrPluTable(step)) return false;
  RetryIntervalScope retry(step.Bus, step.Timings.ComparedDownloadRetryInterval);
  step.Progress.SetStatus(StatusMode::Normal, DownloadStatusText());
  std::vector<std::string>& report = step.Data.RepeatReport;
  report.clear();
  report.push_back(kRepeatReportHeader);

  Tables& tables = step.Data.Grids;
  const char separator = step.Data.DecimalSeparator;
  PluIndexLookup lookup = [&](int row, const std::string& name) {
    const TPLUStruct found = FindEcrPluByName(tables.EcrPluTable, row, name);
    if (found.No == -1) return row - 1;
    report.push_back(RepeatReportLine(found, separator));
    return found.No;
  };
  StringGrid extended(0, 0);
  const StringGrid& grid = GridCovering(tables.PLUGrid, step.Range, extended);
  const WireUnits units = step.Units();
  std::string dump;
  const bool ok = SendPluPackages(
      step,
      [&](int n) {
        return EncodeComparedPluPackage(grid, tables.AlcoholFlags, step.Range, n, lookup, units);
      },
      dump);
  WriteDump(step, kDownloadPluDump, dump);
  if (report.size() > 1) WriteRepeatReport(step);
  return ok;
}

}  // namespace plumgr
