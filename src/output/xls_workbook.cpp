#include "output/xls_workbook.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "output/biff8_records.h"

namespace plumgr {

namespace {

using namespace biff8;

// The default cell format, and the two formats of the sheet's own fonts.
constexpr std::uint16_t kCellXf = 15;
constexpr std::uint16_t kTitleXf = 16;
constexpr std::uint16_t kCellFontXf = 17;
// Font index 4 does not exist in the format, so the sixth FONT record is index 6.
constexpr std::uint16_t kTitleFontIndex = 6;
constexpr std::uint16_t kCellFontIndex = 7;

struct SharedStrings {
  std::vector<std::u16string> Unique;
  std::vector<std::uint32_t> CellIndex;  // per cell, row by row; unused for empty cells
  std::uint32_t Uses = 0;
};

SharedStrings CollectStrings(const Sheet& sheet) {
  SharedStrings strings;
  std::unordered_map<std::u16string, std::uint32_t> index;
  strings.CellIndex.resize(sheet.Cells.size());
  for (size_t i = 0; i < sheet.Cells.size(); ++i) {
    const std::u16string& text = sheet.Cells[i].Text;
    if (text.empty()) continue;
    auto [it, added] = index.try_emplace(text, static_cast<std::uint32_t>(strings.Unique.size()));
    if (added) strings.Unique.push_back(text);
    strings.CellIndex[i] = it->second;
    ++strings.Uses;
  }
  return strings;
}

FontRecord ToFontRecord(const SheetFont& font) {
  FontRecord record;
  if (!font.Name.empty()) record.Name = font.Name;
  record.HeightTwips = static_cast<std::uint16_t>(std::clamp(font.Size, 1, 409) * 20);
  record.Bold = font.Bold;
  record.Italic = font.Italic;
  record.Underline = font.Underline;
  record.StrikeOut = font.StrikeOut;
  record.ColorIndex = PaletteIndex(font.Color);
  return record;
}

void AppendFontsAndFormats(std::string& stream, const Sheet& sheet, bool sheet_fonts) {
  for (int i = 0; i < 5; ++i)
    AppendRecord(stream, kFont, FontData(FontRecord{}));
  if (sheet_fonts) {
    AppendRecord(stream, kFont, FontData(ToFontRecord(sheet.TitleFont)));
    AppendRecord(stream, kFont, FontData(ToFontRecord(sheet.CellFont)));
  }
  AppendRecord(stream, kXf, XfData(0, 0xFFF5, 0x0000));
  for (std::uint16_t i = 1; i <= 14; ++i) {
    std::uint16_t font = i <= 2 ? 1 : i <= 4 ? 2 : 0;
    AppendRecord(stream, kXf, XfData(font, 0xFFF5, 0xF400));
  }
  AppendRecord(stream, kXf, XfData(0, 0x0001, 0x0000));
  if (sheet_fonts) {
    // Cell formats that carry their own font mark the font attribute as used.
    AppendRecord(stream, kXf, XfData(kTitleFontIndex, 0x0001, 0x0800));
    AppendRecord(stream, kXf, XfData(kCellFontIndex, 0x0001, 0x0800));
  }
}

void AppendWindow1(std::string& stream) {
  std::string data;
  for (std::uint16_t v : {0, 0, 0x3000, 0x2000, 0x0038, 0, 0, 1, 600})
    PutU16(data, v);
  AppendRecord(stream, kWindow1, data);
}

void AppendStyle(std::string& stream) {
  std::string data;
  PutU16(data, 0x8000);  // built-in style of XF 0
  PutU8(data, 0x00);     // Normal
  PutU8(data, 0xFF);
  AppendRecord(stream, kStyle, data);
}

// Appends the BOUNDSHEET record and returns where its sheet offset is to be patched.
size_t AppendBoundSheet(std::string& stream) {
  std::string data;
  PutU32(data, 0);
  PutU8(data, 0);  // visible
  PutU8(data, 0);  // worksheet
  data += ShortString(kXlsSheetName);
  size_t patch_at = stream.size() + 4;
  AppendRecord(stream, kBoundSheet, data);
  return patch_at;
}

std::uint16_t XfOf(CellFontRole role) {
  switch (role) {
    case CellFontRole::Title:
      return kTitleXf;
    case CellFontRole::Cell:
      return kCellFontXf;
    case CellFontRole::Default:
      break;
  }
  return kCellXf;
}

void AppendWorksheet(std::string& stream, const Sheet& sheet, const SharedStrings& strings,
                     bool sheet_fonts) {
  AppendRecord(stream, kBof, BofData(kWorksheet));
  std::string dimensions;
  PutU32(dimensions, 0);
  PutU32(dimensions, static_cast<std::uint32_t>(sheet.Rows));
  PutU16(dimensions, 0);
  PutU16(dimensions, static_cast<std::uint16_t>(sheet.Cols));
  PutU16(dimensions, 0);
  AppendRecord(stream, kDimensions, dimensions);
  std::string label;
  for (int r = 0; r < sheet.Rows; ++r) {
    for (int c = 0; c < sheet.Cols; ++c) {
      const SheetCell& cell = sheet.At(r, c);
      if (cell.Text.empty()) continue;
      label.clear();
      PutU16(label, static_cast<std::uint16_t>(r));
      PutU16(label, static_cast<std::uint16_t>(c));
      PutU16(label, sheet_fonts ? XfOf(cell.Font) : kCellXf);
      PutU32(label, strings.CellIndex[static_cast<size_t>(r) * sheet.Cols + c]);
      AppendRecord(stream, kLabelSst, label);
    }
  }
  std::string window2;
  PutU16(window2, 0x06B6);
  PutU16(window2, 0);
  PutU16(window2, 0);
  PutU32(window2, 0x00000040);
  for (int i = 0; i < 3; ++i)
    PutU16(window2, 0);
  AppendRecord(stream, kWindow2, window2);
  AppendRecord(stream, kEof, {});
}

}  // namespace

std::string BuildWorkbookStream(const Sheet& sheet) {
  bool sheet_fonts = sheet.UsesFont(CellFontRole::Title) || sheet.UsesFont(CellFontRole::Cell);
  SharedStrings strings = CollectStrings(sheet);
  std::string stream;
  stream.reserve(sheet.Cells.size() * 24 + 4096);

  AppendRecord(stream, kBof, BofData(kWorkbookGlobals));
  std::string codepage;
  PutU16(codepage, 1200);  // the strings are Unicode
  AppendRecord(stream, kCodePage, codepage);
  AppendWindow1(stream);
  AppendFontsAndFormats(stream, sheet, sheet_fonts);
  AppendStyle(stream);
  size_t sheet_offset_at = AppendBoundSheet(stream);
  std::vector<StringPosition> positions = AppendSst(stream, strings.Unique, strings.Uses);
  AppendExtSst(stream, positions);
  AppendRecord(stream, kEof, {});

  PatchU32(stream, sheet_offset_at, static_cast<std::uint32_t>(stream.size()));
  AppendWorksheet(stream, sheet, strings, sheet_fonts);
  return stream;
}

}  // namespace plumgr
