#pragma once
// The compound document container (version 3, 512-byte sectors) that holds a
// legacy workbook as its one stream "Workbook".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plumgr {

inline constexpr size_t kCfbSectorSize = 512;
inline constexpr size_t kCfbMiniStreamCutoff = 4096;
inline constexpr std::uint32_t kCfbFreeSector = 0xFFFFFFFF;
inline constexpr std::uint32_t kCfbEndOfChain = 0xFFFFFFFE;
inline constexpr std::uint32_t kCfbFatSector = 0xFFFFFFFD;
inline constexpr std::uint32_t kCfbNoStream = 0xFFFFFFFF;
// The header lists at most this many FAT sectors; beyond it the container would
// need DIFAT sectors, which a one-sheet workbook of a register's tables never does.
inline constexpr size_t kCfbHeaderDifatSlots = 109;

// Layout: header, the stream's sectors, one directory sector, the FAT sectors.
// The stream is padded with zeros to the mini-stream cutoff so that it lives in
// regular sectors. Empty when the stream is too large for a header-only DIFAT.
std::optional<std::string> BuildCompoundFile(std::string_view workbook_stream);

}  // namespace plumgr
