#pragma once
// How the editor's grid draws one key cell.

#include "hotkey/key_drawing.h"
#include "hotkey/key_grid.h"

class QPainter;

namespace plumgr {

struct CellState {
  bool Selected = false;
  bool Focused = false;
};

// Where the parts of a key go inside its cell.
struct KeyCellGeometry {
  WinRect Key;       // K: the key's outline
  int Mid = 0;       // the dividing line of a split key
  WinRect Level1;    // upper half of a split key, or all of K
  WinRect Level2;    // lower half of a split key (empty when not split)
  int LineLeft = 0;  // the dividing line runs from LineLeft to LineRight at Mid
  int LineRight = 0;
};

KeyCellGeometry CellGeometry(const TMyGrid& grid, const TGridList& key, const WinRect& cell,
                             bool selected);

// Draws the key of cell (col, row) and records on the model what the drawing
// decides: the key's Selected flag, the grid's SelectGridItem, the levels' Dindex
// and drawn rectangles. A cell without a key is not drawn at all.
void DrawKeyCell(TMyGrid& grid, QPainter& painter, int col, int row, const WinRect& cell,
                 CellState state, const KeyDrawContext& context);

// Draws every cell of the grid at its default cell size, with the grid's selection
// and, when has_focus, its focused cell.
void DrawKeyGrid(TMyGrid& grid, QPainter& painter, bool has_focus, const KeyDrawContext& context);

}  // namespace plumgr
