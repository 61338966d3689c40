#pragma once
// The records of a legacy Excel (BIFF8) workbook stream: little-endian builders
// for the few record kinds a one-sheet workbook of text cells needs, and the
// shared string table with its CONTINUE splitting.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/color_font.h"

namespace plumgr::biff8 {

enum RecordId : std::uint16_t {
  kBof = 0x0809,
  kEof = 0x000A,
  kCodePage = 0x0042,
  kWindow1 = 0x003D,
  kFont = 0x0031,
  kXf = 0x00E0,
  kStyle = 0x0293,
  kBoundSheet = 0x0085,
  kSst = 0x00FC,
  kExtSst = 0x00FF,
  kContinue = 0x003C,
  kDimensions = 0x0200,
  kLabelSst = 0x00FD,
  kWindow2 = 0x023E,
};

enum BofType : std::uint16_t { kWorkbookGlobals = 0x0005, kWorksheet = 0x0010 };

// Readers refuse records whose data is longer than this.
inline constexpr size_t kMaxRecordData = 8224;

// The palette index readers take as "automatic" (the window text colour).
inline constexpr std::uint16_t kAutomaticColor = 0x7FFF;

void PutU8(std::string& out, std::uint8_t value);
void PutU16(std::string& out, std::uint16_t value);
void PutU32(std::string& out, std::uint32_t value);
void PatchU32(std::string& out, size_t offset, std::uint32_t value);

// Appends one record; data must not exceed kMaxRecordData.
void AppendRecord(std::string& stream, std::uint16_t id, std::string_view data);

// True when every character fits one byte, so the string may be stored compressed.
bool IsCompressible(std::u16string_view text);

// A string with an 8-bit character count (sheet and font names).
std::string ShortString(std::u16string_view text);

std::string BofData(BofType type);

struct FontRecord {
  std::u16string Name = u"Arial";
  std::uint16_t HeightTwips = 200;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  std::uint16_t ColorIndex = kAutomaticColor;
};
std::string FontData(const FontRecord& font);

// The default palette entry (8..23) nearest to an RGB colour; system colours are
// left to the reader as automatic.
std::uint16_t PaletteIndex(TColor color);

std::string XfData(std::uint16_t font_index, std::uint16_t type_word, std::uint16_t used_word);

// Where a shared string starts: its offset in the workbook stream and its offset
// inside the SST or CONTINUE record that holds its header (the 4-byte record
// header counted).
struct StringPosition {
  std::uint32_t StreamOffset = 0;
  std::uint16_t RecordOffset = 0;
};

// Appends the SST record for the unique strings, continued in CONTINUE records
// where it outgrows one record. A string's 3-byte header is never split; when its
// characters go on in the next record, that record starts with the flags byte
// for the rest of the string; a UTF-16 character is never split.
std::vector<StringPosition> AppendSst(std::string& stream,
                                      const std::vector<std::u16string>& strings,
                                      std::uint32_t total_uses);

// Strings per EXTSST bucket: 8, or more so that there are at most 128 buckets.
std::uint16_t ExtSstBucketSize(size_t string_count);

void AppendExtSst(std::string& stream, const std::vector<StringPosition>& positions);

}  // namespace plumgr::biff8
