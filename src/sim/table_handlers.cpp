#include "sim/table_handlers.h"

#include <algorithm>
#include <optional>

namespace plumgr::sim {
namespace {

// Stores package `number` of a block kept in 256-byte pieces; false when the
// block has no such package. The last package may be cut short by the block.
template <std::size_t N>
bool WritePiece(std::array<std::uint8_t, N>& block, int number,
                std::span<const std::uint8_t, kPackageDataSize> data) {
  std::size_t begin = static_cast<std::size_t>(number) * kPackageDataSize;
  if (begin >= N) return false;
  std::size_t size = std::min(kPackageDataSize, N - begin);
  std::copy_n(data.begin(), size, block.begin() + static_cast<std::ptrdiff_t>(begin));
  return true;
}

// Package `number` of a block, of which only the first `readable` bytes are
// ever delivered; nothing when the package lies beyond them.
template <std::size_t N>
std::optional<PackageBytes> ReadPiece(const std::array<std::uint8_t, N>& block, int number,
                                      std::size_t readable) {
  std::size_t begin = static_cast<std::size_t>(number) * kPackageDataSize;
  std::size_t end = std::min(N, readable);
  if (begin >= end) return std::nullopt;
  PackageBytes data{};
  std::copy(block.begin() + static_cast<std::ptrdiff_t>(begin),
            block.begin() + static_cast<std::ptrdiff_t>(std::min(end, begin + kPackageDataSize)),
            data.begin());
  return data;
}

template <std::size_t N>
Answer Write(std::array<std::uint8_t, N>& block, const PackageBlock& package) {
  return WritePiece(block, package.Number(), package.Data()) ? Answer::Ack() : Answer::Nak();
}

template <std::size_t N>
Answer Read(const std::array<std::uint8_t, N>& block, const PackageBlock& package,
            std::size_t readable = N) {
  std::optional<PackageBytes> data = ReadPiece(block, package.Number(), readable);
  return data ? Answer::Frame(package, *data) : Answer::Nak();
}

}  // namespace

Answer HandleParameterWrite(const PackageBlock& package, const FrameContext&,
                            RegisterState& state) {
  return Write(state.Memory.Parameters, package);
}

Answer HandleParameterRead(const PackageBlock& package, const FrameContext&, RegisterState& state) {
  return Read(state.Memory.Parameters, package, kParameterReadSize);
}

Answer HandleDepartmentWrite(const PackageBlock& package, const FrameContext&,
                             RegisterState& state) {
  return Write(state.Memory.Departments, package);
}

Answer HandleDepartmentRead(const PackageBlock& package, const FrameContext&,
                            RegisterState& state) {
  return Read(state.Memory.Departments, package);
}

Answer HandleRecyclingWrite(const PackageBlock& package, const FrameContext&,
                            RegisterState& state) {
  return Write(state.Memory.Recycling, package);
}

Answer HandleRecyclingRead(const PackageBlock& package, const FrameContext&, RegisterState& state) {
  return Read(state.Memory.Recycling, package);
}

Answer HandleFastSaleWrite(const PackageBlock& package, const FrameContext&, RegisterState& state) {
  return Write(state.Memory.FastSale, package);
}

Answer HandleFastSaleRead(const PackageBlock& package, const FrameContext&, RegisterState& state) {
  return Read(state.Memory.FastSale, package);
}

}  // namespace plumgr::sim
