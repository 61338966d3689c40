#pragma once
// Colours and font records as the designer and the spreadsheet export keep them.

#include <cstdint>
#include <string>

namespace plumgr {

// 0x00BBGGRR for an RGB colour, or 0xFF0000nn for the platform's system colour nn.
using TColor = std::uint32_t;

inline constexpr TColor kClBlack = 0x00000000;
inline constexpr TColor kClWindow = 0xFF000005;      // window background
inline constexpr TColor kClWindowText = 0xFF000008;  // window text
inline constexpr TColor kClBtnFace = 0xFF00000F;     // button face

inline constexpr bool IsSystemColor(TColor color) {
  return (color & 0xFF000000u) == 0xFF000000u;
}
inline constexpr std::uint8_t RedOf(TColor color) {
  return color & 0xFF;
}
inline constexpr std::uint8_t GreenOf(TColor color) {
  return (color >> 8) & 0xFF;
}
inline constexpr std::uint8_t BlueOf(TColor color) {
  return (color >> 16) & 0xFF;
}
inline constexpr TColor RgbColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}

// Bits of TFont::Style.
enum FontStyleBit : std::uint8_t {
  kFsBold = 1 << 0,
  kFsItalic = 1 << 1,
  kFsUnderline = 1 << 2,
  kFsStrikeOut = 1 << 3,
};

// A font record: name, size in points, character-set code, style bits and colour.
// The defaults are the toolkit's default font.
struct TFont {
  std::string Name = "MS Sans Serif";
  int Size = 8;
  std::uint8_t Charset = 1;  // the platform's default character set
  std::uint8_t Style = 0;    // FontStyleBit values
  TColor Color = kClWindowText;

  bool Bold() const { return Style & kFsBold; }
  bool Italic() const { return Style & kFsItalic; }
  bool Underline() const { return Style & kFsUnderline; }
  bool StrikeOut() const { return Style & kFsStrikeOut; }

  bool operator==(const TFont&) const = default;
};

}  // namespace plumgr
