#include "output/biff8_records.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace plumgr::biff8 {

void PutU8(std::string& out, std::uint8_t value) {
  out.push_back(static_cast<char>(value));
}

void PutU16(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

void PutU32(std::string& out, std::uint32_t value) {
  PutU16(out, static_cast<std::uint16_t>(value & 0xFFFF));
  PutU16(out, static_cast<std::uint16_t>(value >> 16));
}

void PatchU32(std::string& out, size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    out[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void AppendRecord(std::string& stream, std::uint16_t id, std::string_view data) {
  assert(data.size() <= kMaxRecordData);
  PutU16(stream, id);
  PutU16(stream, static_cast<std::uint16_t>(data.size()));
  stream.append(data);
}

bool IsCompressible(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c <= 0xFF; });
}

namespace {

void PutCharacters(std::string& out, std::u16string_view text, bool wide) {
  for (char16_t c : text) {
    if (wide)
      PutU16(out, c);
    else
      PutU8(out, static_cast<std::uint8_t>(c));
  }
}

}  // namespace

std::string ShortString(std::u16string_view text) {
  text = text.substr(0, 255);
  bool wide = !IsCompressible(text);
  std::string out;
  PutU8(out, static_cast<std::uint8_t>(text.size()));
  PutU8(out, wide ? 1 : 0);
  PutCharacters(out, text, wide);
  return out;
}

std::string BofData(BofType type) {
  std::string data;
  PutU16(data, 0x0600);  // BIFF8
  PutU16(data, type);
  PutU16(data, 0x0DBB);  // build
  PutU16(data, 0x07CC);  // year
  PutU32(data, 0);       // file history flags
  PutU32(data, 6);       // lowest version that can read the file
  return data;
}

std::string FontData(const FontRecord& font) {
  std::string data;
  PutU16(data, font.HeightTwips);
  PutU16(data, static_cast<std::uint16_t>((font.Italic ? 0x02 : 0) | (font.StrikeOut ? 0x08 : 0)));
  PutU16(data, font.ColorIndex);
  PutU16(data, font.Bold ? 700 : 400);
  PutU16(data, 0);  // escapement
  PutU8(data, font.Underline ? 1 : 0);
  PutU8(data, 0);  // family
  PutU8(data, 0);  // character set: the strings are Unicode anyway
  PutU8(data, 0);
  data += ShortString(font.Name);
  return data;
}

std::uint16_t PaletteIndex(TColor color) {
  if (IsSystemColor(color)) return kAutomaticColor;
  static constexpr std::array<TColor, 16> kDefaultPalette = {
      RgbColor(0, 0, 0),       RgbColor(255, 255, 255), RgbColor(255, 0, 0),
      RgbColor(0, 255, 0),     RgbColor(0, 0, 255),     RgbColor(255, 255, 0),
      RgbColor(255, 0, 255),   RgbColor(0, 255, 255),   RgbColor(128, 0, 0),
      RgbColor(0, 128, 0),     RgbColor(0, 0, 128),     RgbColor(128, 128, 0),
      RgbColor(128, 0, 128),   RgbColor(0, 128, 128),   RgbColor(192, 192, 192),
      RgbColor(128, 128, 128),
  };
  auto distance = [color](TColor entry) {
    int dr = RedOf(color) - RedOf(entry), dg = GreenOf(color) - GreenOf(entry),
        db = BlueOf(color) - BlueOf(entry);
    return dr * dr + dg * dg + db * db;
  };
  size_t best = 0;
  for (size_t i = 1; i < kDefaultPalette.size(); ++i)
    if (distance(kDefaultPalette[i]) < distance(kDefaultPalette[best])) best = i;
  return static_cast<std::uint16_t>(8 + best);
}

std::string XfData(std::uint16_t font_index, std::uint16_t type_word, std::uint16_t used_word) {
  std::string data;
  PutU16(data, font_index);
  PutU16(data, 0);  // number format: General
  PutU16(data, type_word);
  PutU16(data, 0x0020);  // aligned to the bottom
  PutU16(data, used_word);
  PutU32(data, 0);       // border lines
  PutU32(data, 0);       // border colours
  PutU16(data, 0x20C0);  // fill: none, default colours
  return data;
}

namespace {

// Builds the SST and its CONTINUE records one record at a time.
class SstBuilder {
 public:
  explicit SstBuilder(std::string& stream) : stream_(stream) {}

  void Append(std::string_view bytes) { record_ += bytes; }
  size_t Room() const { return kMaxRecordData - record_.size(); }
  std::string& Record() { return record_; }
  StringPosition Here() const {
    return {static_cast<std::uint32_t>(stream_.size() + 4 + record_.size()),
            static_cast<std::uint16_t>(4 + record_.size())};
  }
  void Flush() {
    AppendRecord(stream_, first_ ? kSst : kContinue, record_);
    first_ = false;
    record_.clear();
  }

 private:
  std::string& stream_;
  std::string record_;
  bool first_ = true;
};

}  // namespace

std::vector<StringPosition> AppendSst(std::string& stream,
                                      const std::vector<std::u16string>& strings,
                                      std::uint32_t total_uses) {
  std::vector<StringPosition> positions;
  positions.reserve(strings.size());
  SstBuilder sst(stream);
  PutU32(sst.Record(), total_uses);
  PutU32(sst.Record(), static_cast<std::uint32_t>(strings.size()));
  for (const std::u16string& text : strings) {
    bool wide = !IsCompressible(text);
    size_t char_size = wide ? 2 : 1;
    // The header and at least the first character start together.
    if (sst.Room() < 3 + (text.empty() ? 0 : char_size)) sst.Flush();
    positions.push_back(sst.Here());
    PutU16(sst.Record(), static_cast<std::uint16_t>(text.size()));
    PutU8(sst.Record(), wide ? 1 : 0);
    size_t done = 0;
    for (;;) {
      size_t count = std::min(sst.Room() / char_size, text.size() - done);
      PutCharacters(sst.Record(), std::u16string_view(text).substr(done, count), wide);
      done += count;
      if (done == text.size()) break;
      sst.Flush();
      PutU8(sst.Record(), wide ? 1 : 0);
    }
  }
  sst.Flush();
  return positions;
}

std::uint16_t ExtSstBucketSize(size_t string_count) {
  size_t size = std::max<size_t>(8, (string_count + 127) / 128);
  return static_cast<std::uint16_t>(std::min<size_t>(size, 0xFFFF));
}

void AppendExtSst(std::string& stream, const std::vector<StringPosition>& positions) {
  std::uint16_t bucket = ExtSstBucketSize(positions.size());
  std::string data;
  PutU16(data, bucket);
  for (size_t i = 0; i < positions.size(); i += bucket) {
    PutU32(data, positions[i].StreamOffset);
    PutU16(data, positions[i].RecordOffset);
    PutU16(data, 0);
  }
  AppendRecord(stream, kExtSst, data);
}

}  // namespace plumgr::biff8
