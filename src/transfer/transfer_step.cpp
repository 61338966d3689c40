#include "transfer/transfer_step.h"

#include <filesystem>
#include <system_error>

#include "data/definitions.h"
#include "data/file_io.h"

namespace plumgr {
namespace {

constexpr std::size_t kStatusPriceDecimals = 0;
constexpr std::size_t kStatusReports = 1;
constexpr std::size_t kStatusPluCount = 3;
constexpr std::size_t kStatusSalesCount = 7;

}  // namespace

EcrStatus DecodeEcrStatus(const PackageBytes& data) {
  EcrStatus status;
  status.PriceDecimals = data[kStatusPriceDecimals];
  status.ReportsCleared = data[kStatusReports] == 0;
  std::uint32_t count = 0;
  for (std::size_t i = 4; i-- > 0;)
    count = count << 8 | data[kStatusPluCount + i];
  status.PluCount = count;
  status.SalesRecordCount = GetBig32(data, kStatusSalesCount);
  return status;
}

std::string WriteDump(const TransferStep& step, const char* name, std::string_view bytes) {
  namespace fs = std::filesystem;
  const fs::path dir = step.Data.DumpDir.empty() ? fs::path(".") : fs::path(step.Data.DumpDir);
  std::error_code ec;
  fs::create_directories(dir, ec);
  const std::string path = (dir / name).string();
  FileResult written = ec ? FileResult::Failure("Cannot create the dump directory \"" +
                                                dir.string() + "\": " + ec.message())
                          : ReplaceFile(path, bytes);
  if (written) return path;
  if (step.Data.Warn) step.Data.Warn(written.Message);
  return std::string();
}

std::string DownloadKindName(int kind) {
  return Texts().DownloadKindNames.At(kind);
}

std::string UploadKindName(int kind) {
  return Texts().UploadKindNames.At(kind);
}

void AppendPackage(std::string& dump, const PackageBytes& data) {
  dump.append(reinterpret_cast<const char*>(data.data()), data.size());
}

}  // namespace plumgr
