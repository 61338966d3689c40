#pragma once
// What every transfer step works with: the main window's data it reads or
// fills, the bus component, the progress window, the register's status as the
// sequence read it and the operator's choices. Steps return true on success
// and false at the first failure; the sequence shows the error.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/small_tables.h"
#include "data/tables.h"
#include "link/bus_frame.h"
#include "link/kovo_ibus_comm.h"
#include "link/progress_model.h"
#include "transfer/plu_packages.h"
#include "transfer/wire_numbers.h"

namespace plumgr {

// The register's status package (type 0, number 0) as the sequences use it.
struct EcrStatus {
  int PriceDecimals = 0;
  bool ReportsCleared = true;
  std::uint32_t PluCount = 0;
  std::uint32_t SalesRecordCount = 0;
};

// Byte 0 price decimals, byte 1 zero when the reports are cleared, bytes 3 to 6
// the PLU count least significant byte first, bytes 7 to 10 the sales record
// count most significant byte first.
EcrStatus DecodeEcrStatus(const PackageBytes& data);

// The main window's data that the steps read and fill.
struct TransferData {
  Tables& Grids;
  RecyclingTable& Recycling;
  FastSaleTable& FastSale;
  std::vector<std::string>& RepeatReport;
  std::string SettingsPath;
  // Where the package dumps go; created when a dump is written.
  std::string DumpDir;
  char DecimalSeparator = '.';
  // Opens a written report with the desktop's default program for it.
  std::function<void(const std::string& path)> OpenFile;
  // A dump or report file that could not be written: the transfer goes on,
  // since the register's data is not affected, but the operator is told.
  std::function<void(const std::string& message)> Warn;
  // Names read from the register whose tabs, CRs or LFs became spaces.
  int CleanedNames = 0;
};

// The reply waits the sequences set. Tests shorten them; the program keeps
// these values.
struct TransferTimings {
  int DownloadRetryInterval = 1600;
  int ComparedDownloadRetryInterval = 3000;
};

struct TransferStep {
  TKovoIBusComm& Bus;
  ProgressModel& Progress;
  TransferData& Data;
  const EcrStatus& Status;
  PluRange Range;
  std::uint8_t DownloadKinds = 0;
  TransferTimings Timings;

  WireUnits Units() const { return {Status.PriceDecimals, Data.DecimalSeparator}; }
  // The operator pressed Cancel: the window is closed while the step runs.
  bool Cancelled() const { return Progress.State() == ProgressState::Closed; }
};

// The fixed names of the diagnostic dumps and of the repeat report.
inline constexpr const char* kDownloadPluDump = "downloadplu.hex";
inline constexpr const char* kComparePluDump = "pluex.hex";
inline constexpr const char* kUploadPluDump = "uploadplu.hex";
inline constexpr const char* kDownloadParameterDump = "para.hex";
inline constexpr const char* kUploadParameterDump = "upfun.hex";
inline constexpr const char* kRepeatReportFile = "RepeatPLUReport.txt";

// Writes a dump file into the dump directory (created when missing); a failure
// is passed to the data's Warn. Returns the path written, empty on failure.
std::string WriteDump(const TransferStep& step, const char* name, std::string_view bytes);

// The name of download or upload kind i as the display texts hold it.
std::string DownloadKindName(int kind);
std::string UploadKindName(int kind);

// Appends the 256 bytes of a package to a dump.
void AppendPackage(std::string& dump, const PackageBytes& data);

}  // namespace plumgr
