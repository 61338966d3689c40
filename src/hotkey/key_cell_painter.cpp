#include "hotkey/key_cell_painter.h"

#include <QPainter>

#include "data/helpers.h"

namespace plumgr {
namespace {

void DrawLevel(TMyGrid& grid, QPainter& painter, TGridItem& item, const WinRect& region,
               bool selected, const KeyDrawContext& context) {
  if (!selected) painter.setBrush(ResolveColor(item.Background, context.Palette));
  painter.setFont(ResolveFont(item.Font));
  item.DrawnRect = region;
  DrawRoundRect(painter, region, grid.RoundNum, grid.RoundNum);
  std::string label = ItemLabel(item, grid.Displayfunction, grid.ShowPrice, context.CurrencySymbol,
                                context.DecimalSeparator);
  if (TrimBlanksAndControls(label).empty()) return;
  DrawLabel(painter, context.Decode(label), region, ResolveColor(item.Font.Color, context.Palette));
}

void DrawFocusRect(QPainter& painter, const WinRect& cell, const KeyDrawContext& context) {
  painter.save();
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(ResolveColor(kClWindowText, context.Palette), 0, Qt::DotLine));
  painter.drawRect(ToQRect(cell).adjusted(0, 0, -1, -1));
  painter.restore();
}

}  // namespace

KeyCellGeometry CellGeometry(const TMyGrid& grid, const TGridList& key, const WinRect& cell,
                             bool selected) {
  KeyCellGeometry g;
  g.Key = cell.Shrunk(selected ? 1 : 2);
  g.Mid = (g.Key.Top + g.Key.Bottom) / 2 - grid.Centershort;
  if (key.CenterLine) {
    g.Level1 = {g.Key.Left, g.Key.Top, g.Key.Right, g.Mid};
    g.Level2 = {g.Key.Left, g.Mid, g.Key.Right, g.Key.Bottom};
  } else {
    g.Level1 = g.Key;
  }
  g.LineLeft = g.Key.Left + grid.ShortLen;
  g.LineRight = g.Key.Right - grid.ShortLen;
  return g;
}

void DrawKeyCell(TMyGrid& grid, QPainter& painter, int col, int row, const WinRect& cell,
                 CellState state, const KeyDrawContext& context) {
  int index = col + grid.ColCount * row;
  TGridList* key = grid.FindItem(index);
  if (key == nullptr) return;
  key->fs1Btn().Dindex = index;
  key->sc2Btn().Dindex = grid.ColCount * grid.RowCount + index;

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  FillWinRect(painter, cell, ResolveColor(grid.Color, context.Palette));
  if (state.Focused) DrawFocusRect(painter, cell, context);
  painter.setBrush(ResolveColor(grid.Color, context.Palette));

  key->Selected = state.Selected;
  if (state.Selected) {
    grid.SetSelectGridItem(key);
    painter.setPen(
        QPen(ResolveColor(grid.SPenColor, context.Palette), 0, ResolvePenStyle(grid.SelectLine)));
    painter.setBrush(ResolveColor(grid.SBurshColor, context.Palette));
  } else {
    painter.setPen(
        QPen(ResolveColor(kClOlive, context.Palette), 0, ResolvePenStyle(grid.DefaultLine)));
  }
  KeyCellGeometry g = CellGeometry(grid, *key, cell, state.Selected);
  DrawRoundRect(painter, g.Key, grid.RoundNum, grid.RoundNum);

  if (grid.Isdisplayimage && key->UseImage) {
    QImage picture = KeyPicture(*key);
    if (!picture.isNull()) painter.drawImage(ToQRect(g.Key.Shrunk(2)), picture);
    painter.restore();
    return;
  }

  DrawLevel(grid, painter, key->fs1Btn(), g.Level1, state.Selected, context);
  WinRect last = g.Level1;
  if (key->CenterLine) {
    DrawLevel(grid, painter, key->sc2Btn(), g.Level2, state.Selected, context);
    DrawHorizontalLine(painter, g.LineLeft, g.LineRight, g.Mid);
    last = g.Level2;
  }

  QColor level1_fill = ResolveColor(grid.SBurshColor, context.Palette);
  QColor level2_fill = level1_fill;
  if (!state.Selected) {
    level1_fill = ResolveColor(key->fs1Btn().Background, context.Palette);
    level2_fill = ResolveColor(key->sc2Btn().Background, context.Palette);
  }
  DrawCornerCaptions(painter, *key, g.Key, last, level1_fill, level2_fill, context);
  painter.restore();
}

void DrawKeyGrid(TMyGrid& grid, QPainter& painter, bool has_focus, const KeyDrawContext& context) {
  for (int row = 0; row < grid.RowCount; ++row) {
    for (int col = 0; col < grid.ColCount; ++col) {
      int left = col * grid.DefaultColWidth;
      int top = row * grid.DefaultRowHeight;
      WinRect cell{left, top, left + grid.DefaultColWidth, top + grid.DefaultRowHeight};
      CellState state{grid.Selection.Contains(col, row),
                      has_focus && col == grid.Col && row == grid.Row};
      DrawKeyCell(grid, painter, col, row, cell, state, context);
    }
  }
}

}  // namespace plumgr
