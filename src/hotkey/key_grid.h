#pragma once
// The model of the register's programmable keyboard: a grid of keys, each with
// two levels. The editor, the table encoding and the printed sheet all read it.

#include <QImage>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/color_font.h"

namespace plumgr {

// Pen styles of outlines and dividing lines, numbered as the layout files know them.
enum TPenStyle : std::int32_t {
  psSolid = 0,
  psDash = 1,
  psDot = 2,
  psDashDot = 3,
  psDashDotDot = 4,
  psClear = 5,
  psInsideFrame = 6,
};

inline constexpr TColor kClOlive = 0x008080;
inline constexpr TColor kClLightBlue = 0xF0CAA6;

// A rectangle as the drawing rules give it: right and bottom are just outside.
struct WinRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  WinRect Shrunk(int by) const { return {Left + by, Top + by, Right - by, Bottom - by}; }
  bool operator==(const WinRect&) const = default;
};

// One level of one key.
struct TGridItem {
  std::string Caption;
  double Price = 0;
  TColor Background = kClWindow;
  TFont Font;        // "MS Sans Serif", 8 points
  std::string Code;  // a PLU barcode (BTNType 1) or a department number (BTNType 2)
  std::string Event;
  std::int32_t BTNType = 0;  // 0 none, 1 PLU key, 2 department key
  std::int32_t Dindex = 0;   // position in the hot-key table
  std::int32_t KeyValue = 0;
  std::string Functionname;
  bool IsFunction = false;  // kept in memory only
  WinRect DrawnRect;        // where the level was last drawn

  // Copies what a layout carries; IsFunction and DrawnRect stay.
  void Assign(const TGridItem& source);
};

// One key: two levels, corner captions and an optional picture.
class TGridList {
 public:
  TGridItem& fs1Btn() { return level1_; }
  const TGridItem& fs1Btn() const { return level1_; }
  TGridItem& sc2Btn() { return level2_; }
  const TGridItem& sc2Btn() const { return level2_; }

  bool CenterLine = false;  // "2nd level" in use
  bool Selected = false;    // inside the selection when the grid last drew the key
  bool UseImage = false;
  bool Transparent = false;
  std::string BRCaption;       // drawn bottom-left
  std::string TRCaption;       // drawn top-right
  std::string TLCaption;       // drawn top-left
  std::string BLCaption;       // drawn bottom-right
  bool ShowLBCaption = false;  // draw TLCaption and BLCaption
  bool ShowRBCaption = false;  // draw TRCaption and BRCaption
  TFont ShowLBFont;
  TFont ShowRBFont;

  const std::string& Imagefile() const { return image_file_; }
  // Keeps the name and loads the picture when the file exists; otherwise the name
  // becomes empty and the picture stays as it was.
  void SetImagefile(const std::string& file_name);
  const QImage& Image() const { return image_; }
  void ClearImage();

  // Copies everything but Selected, which is cleared.
  void Assign(const TGridList& source);

 private:
  TGridItem level1_;
  TGridItem level2_;
  std::string image_file_;
  QImage image_;
};

// A rectangle of grid cells (columns Left..Right, rows Top..Bottom, inclusive).
struct GridSelection {
  int Left = 0;
  int Top = 0;
  int Right = -1;  // empty until the owner selects cells
  int Bottom = -1;

  bool Contains(int col, int row) const {
    return col >= Left && col <= Right && row >= Top && row <= Bottom;
  }
};

// What loading a layout file or encoding the table reports.
struct [[nodiscard]] KeyResult {
  bool Ok = true;
  std::string Message;
  explicit operator bool() const { return Ok; }
};

// The grid of keys, in row-major order.
class TMyGrid {
 public:
  // Geometry of the grid (the editor sets 80 x 60 cells).
  int ColCount = 5;
  int RowCount = 5;
  int DefaultColWidth = 64;
  int DefaultRowHeight = 24;
  TColor Color = kClWindow;  // fills every cell before its key is drawn
  GridSelection Selection;   // the selected range of cells
  int Col = 0;               // the focused cell
  int Row = 0;

  TColor SPenColor = kClBlack;
  TColor SFontColor = kClBlack;
  TColor SBurshColor = kClLightBlue;
  std::int32_t ShortLen = 2;
  TPenStyle SelectLine = psDot;
  TPenStyle DefaultLine = psSolid;
  bool ShowPrice = false;
  std::int32_t RoundNum = 5;
  bool Displayfunction = false;
  bool Isdisplayimage = false;
  std::int32_t Centershort = 0;

  // Called after a load and whenever the owner should repaint.
  std::function<void()> OnRepaint;

  TMyGrid() = default;
  TMyGrid(const TMyGrid&) = delete;
  TMyGrid& operator=(const TMyGrid&) = delete;

  // ColCount x RowCount.
  int Count() const { return ColCount * RowCount; }
  // Replaces every key by count new, empty keys.
  void SetCount(int count);
  // The number of keys held (the count written last); saving uses it.
  int StoredCount() const { return static_cast<int>(keys_.size()); }

  // The key with that index; throws std::out_of_range with the key list's
  // message for an index outside the list (a caller's mistake).
  TGridList& Items(int index);
  const TGridList& Items(int index) const;
  // The key with that index, or nullptr.
  TGridList* FindItem(int index);

  // Counts the keys marked Selected and rebuilds the list SelectItems reads.
  int SelectItemCount();
  TGridList& SelectItems(int i) { return *selected_.at(static_cast<size_t>(i)); }
  // The key drawn selected most recently, or nullptr.
  TGridList* SelectGridItem() const { return select_grid_item_; }
  void SetSelectGridItem(TGridList* key) { select_grid_item_ = key; }

  // Writes the layout as a .Key file, replacing any file of that name.
  KeyResult SaveToFile(const std::string& path, char decimal_separator) const;
  // Reads a .Key file into the existing keys, then repaints. A faulty line stops
  // the load there; the lines before it stay applied.
  KeyResult LoadFromFile(const std::string& path, char decimal_separator);
  // The same for the file's bytes.
  std::string SaveToText(char decimal_separator) const;
  KeyResult LoadFromText(std::string_view text, char decimal_separator);

  void Repaint() const {
    if (OnRepaint) OnRepaint();
  }

 private:
  std::vector<std::unique_ptr<TGridList>> keys_;
  std::vector<TGridList*> selected_;
  TGridList* select_grid_item_ = nullptr;
};

// The key list's message for an index outside it.
std::string ListIndexError(int index);

// The keyboard type that selects the 10-column by 8-row keyboard; every other
// type has 6 columns by 10 rows.
inline constexpr int kWideKeyboardType = 160;

// The grid of a keyboard type with that many new, empty keys: 10 x 8 for the
// wide keyboard, 6 x 10 for any other.
void ShapeKeyGrid(TMyGrid& grid, int keyboard_type);

}  // namespace plumgr
