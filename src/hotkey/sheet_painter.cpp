#include "hotkey/sheet_painter.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPolygon>

#include "data/helpers.h"
#include "data/rounding.h"

namespace plumgr {
namespace {

// Sheets after the first are this far below the previous frame, in pixels.
constexpr int kSheetGap = 100;

}  // namespace

int MillimetresToPixels(double mm, int dpi) {
  return static_cast<int>(RoundHalfEven(mm / 25.4 * dpi));
}

void TmyPaintBox::SetMyGrid(TMyGrid* grid) {
  grid_ = grid;
  rows_ = grid != nullptr ? grid->RowCount : 0;
  cols_ = grid != nullptr ? grid->ColCount : 0;
}

void TmyPaintBox::SetResolution(int dpi_x, int dpi_y) {
  dpi_x_ = dpi_x > 0 ? dpi_x : 96;
  dpi_y_ = dpi_y > 0 ? dpi_y : 96;
}

int TmyPaintBox::SheetShift(int sheet, int offset) const {
  if (sheet <= 0) return 0;
  // Without a frame drawn yet the sheet's own height gives the pitch, so that
  // sheets never overlap.
  int height = frame_height_ > 0 ? frame_height_ : Y(SheetH);
  return sheet * (height + kSheetGap) + offset;
}

WinRect TmyPaintBox::KeyRect(int sheet, int row, int col, int offset) const {
  WinRect k;
  k.Left = X((IconW + IconIntervalW) * col + IconL);
  k.Top = Y((IconH + IconIntervalH) * row + IconT) + SheetShift(sheet, offset);
  k.Right = k.Left + X(IconW);
  k.Bottom = k.Top + Y(IconH);
  return k;
}

void TmyPaintBox::DrawLevelLabel(QPainter& painter, const TGridItem& item, const WinRect& region) {
  std::string label = ItemLabel(item, grid_->Displayfunction, grid_->ShowPrice,
                                Context.CurrencySymbol, Context.DecimalSeparator);
  if (TrimBlanksAndControls(label).empty()) return;
  painter.setFont(ResolveFont(item.Font));
  DrawLabel(painter, Context.Decode(label), region, ResolveColor(item.Font.Color, Context.Palette));
}

void TmyPaintBox::DrawKey(QPainter& painter, const TGridList& key, const WinRect& k) {
  painter.setPen(QPen(Qt::black, 0, ResolvePenStyle(grid_->DefaultLine)));
  if (ButtonLine) {
    painter.setBrush(Qt::NoBrush);
    DrawRoundRect(painter, {k.Left - 1, k.Top - 1, k.Right + 1, k.Bottom + 1}, grid_->RoundNum,
                  grid_->RoundNum);
  }
  int mid = (k.Bottom - k.Top) / 2 + k.Top - grid_->Centershort;
  if (key.UseImage) {
    QImage picture = KeyPicture(key);
    if (!picture.isNull()) painter.drawImage(ToQRect(k), picture);
    return;
  }
  const TGridItem& level1 = key.fs1Btn();
  const TGridItem& level2 = key.sc2Btn();
  QColor fill1 = ResolveColor(level1.Background, Context.Palette);
  QColor fill2 = ResolveColor(level2.Background, Context.Palette);
  WinRect last = k;
  if (key.CenterLine) {
    WinRect upper{k.Left, k.Top, k.Right, mid - 1};
    WinRect lower{k.Left, mid + 1, k.Right, k.Bottom};
    FillWinRect(painter, upper, fill1);
    DrawLevelLabel(painter, level1, upper);
    FillWinRect(painter, lower, fill2);
    DrawLevelLabel(painter, level2, lower);
    if (!level1.Caption.empty() || !level2.Caption.empty()) {
      painter.setPen(QPen(Qt::black, 0, ResolvePenStyle(PenStyl)));
      DrawHorizontalLine(painter, k.Left + 5, k.Right - 5, mid);
    }
    last = lower;
  } else {
    FillWinRect(painter, k, fill1);
    DrawLevelLabel(painter, level1, k);
  }
  DrawCornerCaptions(painter, key, k, last, fill1, fill2, Context);
}

void TmyPaintBox::DrawSheets(QPainter& painter, int count, int offset) {
  if (painter.device() != nullptr)
    SetResolution(painter.device()->logicalDpiX(), painter.device()->logicalDpiY());
  offset_ = offset;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (int s = 0; s < count; ++s) {
    for (int r = 0; r < rows_ && grid_ != nullptr; ++r) {
      for (int c = 0; c < cols_; ++c) {
        const TGridList* key = grid_->FindItem(r * cols_ + c);
        if (key != nullptr) DrawKey(painter, *key, KeyRect(s, r, c, offset));
      }
    }
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    DrawFrame(painter, s);
  }
  painter.restore();
}

void TmyPaintBox::DrawFrame(QPainter& painter, int sheet) {
  if (!FrameLine) return;
  int shift = SheetShift(sheet, offset_);
  switch (HotkeyFrame) {
    case hfNull: {
      WinRect f{X(SheetL), Y(SheetT) + shift, 0, 0};
      f.Right = f.Left + X(SheetW);
      f.Bottom = f.Top + Y(SheetH);
      DrawRoundRect(painter, f, X(8), Y(8));
      frame_height_ = f.Height();
      break;
    }
    case hfFtp: {
      WinRect f{X(SheetL - 17), Y(SheetT) + shift, 0, 0};
      f.Right = f.Left + X(SheetW + 17);
      f.Bottom = f.Top + Y(SheetH + 18);
      painter.drawRect(ToQRect(f).adjusted(0, 0, -1, -1));
      painter.drawLine(f.Left, f.Bottom - X(5), f.Left + X(5), f.Bottom);
      frame_height_ = f.Height();
      break;
    }
    case hfScale224Key: {
      int l = X(SheetL), t = Y(SheetT) + shift;
      int r = l + X(SheetW), b = t + Y(SheetH);
      QPolygon outline;
      outline << QPoint(l - X(9), t) << QPoint(l - X(10.5), b + Y(4.5))
              << QPoint(l + X(144.09), b + Y(10)) << QPoint(r, b + Y(8.5)) << QPoint(r, t)
              << QPoint(l - X(9), t);
      painter.drawPolyline(outline);
      break;
    }
  }
}

bool TmyPaintBox::Print(bool landscape, int offset) {
  if (!PrintDialog) return false;
  QPagedPaintDevice* device = PrintDialog();
  if (device == nullptr) return false;
  device->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  QPainter painter;
  if (!painter.begin(device)) return false;
  DrawSheets(painter, PrintPageCnt, offset);
  return painter.end();
}

PreviewGeometry PreviewGeometryFor(int keyboard_type) {
  if (keyboard_type == kWideKeyboardType)
    return {10.0, 10.0, 182.1, 122.5, 10.0 + 2.75, 10.0 + 2.1, 17.6, 14.8, 759, 591};
  return {10.0, 10.0, 97.0, 119.8, 10.0 + 5.305, 10.0 + 1.092, 14.305, 11.092, 420, 591};
}

void ApplyPreviewGeometry(TmyPaintBox& box, int keyboard_type) {
  PreviewGeometry g = PreviewGeometryFor(keyboard_type);
  box.IconIntervalW = 0;
  box.IconIntervalH = 0;
  box.SheetL = g.SheetL;
  box.SheetT = g.SheetT;
  box.SheetW = g.SheetW;
  box.SheetH = g.SheetH;
  box.IconL = g.IconL;
  box.IconT = g.IconT;
  box.IconW = g.IconW;
  box.IconH = g.IconH;
}

}  // namespace plumgr
