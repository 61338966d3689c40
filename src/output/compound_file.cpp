#include "output/compound_file.h"

#include <algorithm>
#include <vector>

#include "output/biff8_records.h"

namespace plumgr {

namespace {

using biff8::PutU16;
using biff8::PutU32;
using biff8::PutU8;

constexpr size_t kFatEntriesPerSector = kCfbSectorSize / 4;
constexpr size_t kDirEntrySize = 128;

size_t SectorsFor(size_t bytes) {
  return (bytes + kCfbSectorSize - 1) / kCfbSectorSize;
}

// The FAT has to describe the stream, the directory and the FAT sectors themselves.
size_t FatSectorsFor(size_t other_sectors) {
  size_t fat = 1;
  while (fat * kFatEntriesPerSector < other_sectors + fat)
    ++fat;
  return fat;
}

std::string Header(std::uint32_t fat_count, std::uint32_t first_fat, std::uint32_t dir_sector) {
  std::string h;
  h.append("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  h.append(16, '\0');  // class id
  PutU16(h, 0x003E);   // minor version
  PutU16(h, 3);        // major version
  PutU16(h, 0xFFFE);   // little-endian
  PutU16(h, 9);        // 512-byte sectors
  PutU16(h, 6);        // 64-byte mini sectors
  h.append(6, '\0');
  PutU32(h, 0);  // directory sector count, always 0 in version 3
  PutU32(h, fat_count);
  PutU32(h, dir_sector);
  PutU32(h, 0);  // transaction signature
  PutU32(h, kCfbMiniStreamCutoff);
  PutU32(h, kCfbEndOfChain);  // no mini FAT
  PutU32(h, 0);
  PutU32(h, kCfbEndOfChain);  // no DIFAT sectors
  PutU32(h, 0);
  for (size_t i = 0; i < kCfbHeaderDifatSlots; ++i)
    PutU32(h, i < fat_count ? first_fat + static_cast<std::uint32_t>(i) : kCfbFreeSector);
  return h;
}

std::string DirectoryEntry(std::u16string_view name, std::uint8_t type, std::uint32_t child,
                           std::uint32_t start, std::uint32_t size) {
  std::string e;
  for (char16_t c : name)
    PutU16(e, c);
  e.resize(64, '\0');
  PutU16(e, name.empty() ? 0 : static_cast<std::uint16_t>((name.size() + 1) * 2));
  PutU8(e, type);
  PutU8(e, name.empty() ? 0 : 1);  // black
  PutU32(e, kCfbNoStream);         // left sibling
  PutU32(e, kCfbNoStream);         // right sibling
  PutU32(e, child);
  e.append(16 + 4 + 8 + 8, '\0');  // class id, state bits, times
  PutU32(e, start);
  PutU32(e, size);
  PutU32(e, 0);
  return e;
}

std::string Directory(std::uint32_t stream_size) {
  std::string d;
  d += DirectoryEntry(u"Root Entry", 5, 1, kCfbEndOfChain, 0);
  d += DirectoryEntry(u"Workbook", 2, kCfbNoStream, 0, stream_size);
  d += DirectoryEntry(u"", 0, kCfbNoStream, 0, 0);
  d += DirectoryEntry(u"", 0, kCfbNoStream, 0, 0);
  return d;
}

}  // namespace

std::optional<std::string> BuildCompoundFile(std::string_view workbook_stream) {
  size_t stream_size = std::max(workbook_stream.size(), kCfbMiniStreamCutoff);
  size_t stream_sectors = SectorsFor(stream_size);
  size_t fat_sectors = FatSectorsFor(stream_sectors + 1);
  if (fat_sectors > kCfbHeaderDifatSlots || stream_size > 0xFFFFFFFFu) return std::nullopt;

  auto dir_sector = static_cast<std::uint32_t>(stream_sectors);
  auto first_fat = static_cast<std::uint32_t>(stream_sectors + 1);
  std::string file = Header(static_cast<std::uint32_t>(fat_sectors), first_fat, dir_sector);
  file.reserve(kCfbSectorSize * (1 + stream_sectors + 1 + fat_sectors));

  file.append(workbook_stream);
  file.append(stream_sectors * kCfbSectorSize - workbook_stream.size(), '\0');
  file += Directory(static_cast<std::uint32_t>(stream_size));

  std::string fat;
  for (size_t s = 0; s < stream_sectors; ++s)
    PutU32(fat, s + 1 < stream_sectors ? static_cast<std::uint32_t>(s + 1) : kCfbEndOfChain);
  PutU32(fat, kCfbEndOfChain);  // the directory's one sector
  for (size_t s = 0; s < fat_sectors; ++s)
    PutU32(fat, kCfbFatSector);
  fat.resize(fat_sectors * kCfbSectorSize, '\xFF');
  file += fat;
  return file;
}

}  // namespace plumgr
