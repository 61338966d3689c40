#pragma once
// The key sheet drawn to scale in millimetres on any paint device: the screen,
// a printer, a PDF or an image. Lengths are millimetres unless said otherwise.

#include <functional>

#include "hotkey/key_drawing.h"
#include "hotkey/key_grid.h"

class QPainter;
class QPagedPaintDevice;

namespace plumgr {

enum THotkeyFrame : int { hfScale224Key = 0, hfFtp = 1, hfNull = 2 };

// Millimetres to device pixels at dpi pixels per inch, halves to the even neighbour.
int MillimetresToPixels(double mm, int dpi);

class TmyPaintBox {
 public:
  double IconIntervalW = 0;
  double IconIntervalH = 0;
  double SheetL = 0;
  double SheetT = 0;
  double SheetW = 0;
  double SheetH = 0;
  double IconL = 0;
  double IconT = 0;
  double IconW = 0;
  double IconH = 0;
  bool ButtonLine = false;
  bool FrameLine = true;
  int PrintPageCnt = 1;
  // Asks where to print; nullptr when cancelled. Without it nothing is printed.
  std::function<QPagedPaintDevice*()> PrintDialog;
  TPenStyle PenStyl = psSolid;
  THotkeyFrame HotkeyFrame = hfNull;
  KeyDrawContext Context;

  TMyGrid* myGrid() const { return grid_; }
  // Also takes the grid's rows and columns as the sheet's.
  void SetMyGrid(TMyGrid* grid);
  int Rows() const { return rows_; }
  int Cols() const { return cols_; }

  // Draws count sheets stacked downwards; offset shifts the sheets after the first.
  void DrawSheets(QPainter& painter, int count, int offset);
  // Draws the frame of sheet s (when FrameLine) and updates FrameHeight. Frames
  // of later sheets move with their keys.
  void DrawFrame(QPainter& painter, int sheet);

  // Shows PrintDialog and prints PrintPageCnt sheets on the chosen device. False
  // when cancelled, without a dialog, or when the device cannot be drawn on.
  bool Print(bool landscape, int offset);

  // The resolution drawn at last (read from the device by DrawSheets).
  void SetResolution(int dpi_x, int dpi_y);
  int X(double mm) const { return MillimetresToPixels(mm, dpi_x_); }
  int Y(double mm) const { return MillimetresToPixels(mm, dpi_y_); }
  int FrameHeight() const { return frame_height_; }

  // Where key (row, col) of sheet s goes, in device pixels.
  WinRect KeyRect(int sheet, int row, int col, int offset) const;

 private:
  // The downward shift of sheet s: frames and keys move together.
  int SheetShift(int sheet, int offset) const;
  void DrawKey(QPainter& painter, const TGridList& key, const WinRect& k);
  void DrawLevelLabel(QPainter& painter, const TGridItem& item, const WinRect& region);

  TMyGrid* grid_ = nullptr;
  int rows_ = 0;
  int cols_ = 0;
  int dpi_x_ = 96;
  int dpi_y_ = 96;
  int frame_height_ = 0;
  int offset_ = 0;  // of the sheets being drawn
};

// The preview's sheet for a keyboard type: 160 is the 10 x 8 keyboard, any other
// value the 6 x 10 one.
struct PreviewGeometry {
  double SheetL, SheetT, SheetW, SheetH;
  double IconL, IconT, IconW, IconH;
  int WindowWidth, WindowHeight;
};

PreviewGeometry PreviewGeometryFor(int keyboard_type);
void ApplyPreviewGeometry(TmyPaintBox& box, int keyboard_type);

}  // namespace plumgr
