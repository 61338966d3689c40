#include "transfer/memory_dump.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "data/file_io.h"

namespace plumgr {
namespace {

constexpr int kListingLineBytes = 16;
constexpr char kHexDigits[] = "0123456789ABCDEF";

// At least `digits` digits, more when the value needs them.
void AppendHex(std::string& out, std::uint64_t value, int digits) {
  while (digits < 16 && (value >> (digits * 4)) != 0)
    ++digits;
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
    out += kHexDigits[(value >> shift) & 0xF];
}

std::string CannotWrite(const std::string& path, const std::string& reason) {
  return "Cannot write \"" + path + "\": " + reason;
}

// TEMP.BIN grows page by page, so a failed dump keeps what did arrive.
class PageFile {
 public:
  bool Open(const std::string& dir, std::string& message) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    path_ = (std::filesystem::path(dir) / kMemoryBinFile).string();
    if (ec) {
      message = CannotWrite(path_, ec.message());
      return false;
    }
    if (FileResult replaceable = CheckReplaceable(path_); !replaceable) {
      message = replaceable.Message;
      return false;
    }
    out_.open(path_, std::ios::binary | std::ios::trunc);
    if (!out_) message = CannotWrite(path_, std::generic_category().message(errno));
    return static_cast<bool>(out_);
  }
  bool Append(const PackageBytes& data, std::string& message) {
    out_.write(reinterpret_cast<const char*>(data.data()), data.size());
    out_.flush();
    if (!out_) message = CannotWrite(path_, "the data could not be written");
    return static_cast<bool>(out_);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::ofstream out_;
};

}  // namespace

PackageBytes MemoryPageRequest(std::uint32_t page, MemoryKind kind) {
  PackageBytes data{};
  data[0] = static_cast<std::uint8_t>(page & 0xFF);
  data[1] = static_cast<std::uint8_t>((page >> 8) & 0xFF);
  data[2] = static_cast<std::uint8_t>(static_cast<int>(kind) * 16);
  return data;
}

std::string PageListing(std::uint32_t page, const PackageBytes& data) {
  std::string out;
  for (int line = 0; line < static_cast<int>(kPackageDataSize) / kListingLineBytes; ++line) {
    const int first = line * kListingLineBytes;
    AppendHex(out, std::uint64_t{page} * 256 + static_cast<std::uint64_t>(first), 8);
    out += "  ";
    for (int i = 0; i < kListingLineBytes; ++i) {
      AppendHex(out, data[first + i], 2);
      out += ' ';
    }
    for (int i = 0; i < kListingLineBytes; ++i) {
      const std::uint8_t byte = data[first + i];
      out += byte < 0x20 ? '.' : static_cast<char>(byte);
    }
    out += "\r\n";
  }
  return out;
}

MemoryDumpResult DumpMemory(TKovoIBusComm& bus, ProgressModel& progress, const MemoryRange& range,
                            const std::string& dump_dir) {
  ServiceLink link(bus, progress);
  MemoryDumpResult result;
  result.Result = link.Open(ErrorDisconnect::Once);
  if (!result.Result) return result;
  progress.SetStatus(StatusMode::Normal, Running(kReceiveDataText));
  progress.SetMargin(range.Count);
  PageFile pages;
  std::string message;
  if (!pages.Open(dump_dir.empty() ? "." : dump_dir, message)) {
    link.Abandon();
    result.Result = {ServiceOutcome::FileError, message};
    return result;
  }
  result.BinPath = pages.Path();
  std::string listing;
  for (std::int32_t k = 0; k < range.Count; ++k) {
    progress.SetProgress(k + 1);
    const std::uint32_t page = range.FirstPage + static_cast<std::uint32_t>(k);
    bus.PackageData = MemoryPageRequest(page, range.Kind);
    if (!bus.RequestPackage(kMemoryPageType, kMemoryPageNumber)) {
      link.Fail(Failing(kReceiveDataText), ErrorDisconnect::Once);
      result.Result = {ServiceOutcome::Failed, {}};
      return result;
    }
    if (!pages.Append(bus.PackageData, message)) {
      link.Abandon();
      result.Result = {ServiceOutcome::FileError, message};
      return result;
    }
    listing += PageListing(page, bus.PackageData);
  }
  link.Close();
  const std::string log_path =
      (std::filesystem::path(pages.Path()).parent_path() / kMemoryLogFile).string();
  if (FileResult saved = ReplaceFile(log_path, listing); !saved) {
    result.Result = {ServiceOutcome::FileError, saved.Message};
    return result;
  }
  result.LogPath = log_path;
  return result;
}

}  // namespace plumgr
