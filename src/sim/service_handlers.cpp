#include "sim/service_handlers.h"

#include <algorithm>

namespace plumgr::sim {
namespace {

constexpr std::uint8_t kRomCode = 0x00;
constexpr std::uint8_t kRamCode = 0x10;

}  // namespace

Answer HandleReport(const PackageBlock& package, const FrameContext&, RegisterState& state) {
  const std::string& report = state.Memory.Report;
  PackageBytes data{};
  std::size_t begin = std::size_t{package.Number()} * kPackageDataSize;
  if (begin < report.size()) {
    std::size_t size = std::min(kPackageDataSize, report.size() - begin);
    std::copy_n(report.begin() + static_cast<std::ptrdiff_t>(begin), size, data.begin());
  }
  return Answer::Frame(package, data);
}

Answer HandleMemoryPage(const PackageBlock& package, const FrameContext&, RegisterState& state) {
  auto data = package.Data();
  MemoryPageKey key;
  key.Page = static_cast<std::uint16_t>(data[0] | data[1] << 8);
  if (data[2] == kRomCode)
    key.Kind = MemoryBank::Rom;
  else if (data[2] == kRamCode)
    key.Kind = MemoryBank::Ram;
  else
    return Answer::Nak();
  return Answer::Frame(package, ReadMemoryPage(state.Memory, key));
}

Answer HandleFontPackage(const PackageBlock& package, const FrameContext&, RegisterState& state) {
  PackageBytes& piece = state.Memory.Fonts[package.Number()];
  std::copy(package.Data().begin(), package.Data().end(), piece.begin());
  return Answer::Ack();
}

}  // namespace plumgr::sim
