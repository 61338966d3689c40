#pragma once
// The edit model of one table (PLU or department) that a view binds to: the
// current cell, the selected rectangle, browse or edit mode, the in-place editor
// and the key handling. It needs no display, so the behaviour is tested here.
//
// A view forwards mouse and key events to it and redraws when the hooks say so.
// Every action that leaves the current cell (moving, selecting another cell,
// leaving the table, moving rows) validates it first, except from a PLU Alcohol
// cell. A refused cell beeps, stays (or returns to) edit mode and the action does
// not happen; an accepted one leaves edit mode with its text in normal form.

#include <cstddef>
#include <functional>
#include <string>

#include "data/cell_editor.h"
#include "data/tables.h"
#include "data/ui_port.h"

namespace plumgr {

struct CellPos {
  int Col = 1;
  int Row = 1;
  bool operator==(const CellPos&) const = default;
};

// Inclusive, with Left <= Right and Top <= Bottom.
struct CellRect {
  int Left = 1;
  int Top = 1;
  int Right = 1;
  int Bottom = 1;
  bool operator==(const CellRect&) const = default;
  bool Contains(int col, int row) const {
    return col >= Left && col <= Right && row >= Top && row <= Bottom;
  }
};

// Keys the model handles itself; printable characters and Backspace go to KeyPress.
enum class GridKey {
  Up,
  Down,
  Left,
  Right,
  Home,
  End,
  PageUp,
  PageDown,
  Enter,
  Delete,
  F2,
  Escape
};

// Whether a move extends the selected rectangle (Shift held) or collapses it.
enum class Extend { No, Yes };

struct GridEditHooks {
  // The table's contents changed (typing started the editing of a cell, Delete
  // reset cells, a row moved): the data now differ from the file.
  std::function<void()> SetModified;
  // Cell texts or alcohol marks inside the rectangle changed.
  std::function<void(const CellRect&)> CellsChanged;
  // The current cell, the selection, the edit mode or the editor changed.
  std::function<void()> StateChanged;
};

class GridEditModel {
 public:
  GridEditModel(Tables& tables, GridId grid, UiPort& ui, char decimal_separator,
                GridEditHooks hooks = {});

  // The view that draws the table hears of changed cells and states; the
  // owner's SetModified hook stays.
  void SetViewHooks(std::function<void(const CellRect&)> cells_changed,
                    std::function<void()> state_changed);

  GridId Id() const { return grid_id_; }
  const StringGrid& Grid() const { return tables_.Grid(grid_id_); }
  CellPos Current() const { return current_; }
  CellRect Selection() const;
  bool Editing() const { return editing_; }
  const CellEditor& Editor() const { return editor_; }
  // Whether the column can be edited at all (not the number or Alcohol column).
  bool IsEditable(int col) const;
  // The row's alcohol mark (PLU table, data rows); false elsewhere.
  bool AlcoholMark(int row) const;

  // Mouse. Click selects the cell (or extends the rectangle to it) and, on a PLU
  // Alcohol cell, toggles that row's mark. Clicks on the title row or the number
  // column do nothing here. Both return false when validation kept the cell.
  bool Click(int col, int row, Extend extend = Extend::No);
  // Selects the cell and enters edit mode with the whole text selected (not in
  // the Alcohol column).
  bool DoubleClick(int col, int row);
  // Moves the current cell to (col, row), validating first; false when refused.
  bool SelectCell(int col, int row, Extend extend = Extend::No);

  // Keys on the table. Returns true when the key was used (a refused validation
  // also swallows the key). Shift-moves extend the selected rectangle.
  bool KeyDown(GridKey key, Extend extend = Extend::No);
  // A typed character. On a cell not being edited a printable character sets
  // Modified, clears the cell, opens the editor and is then filtered as the first
  // key. In the editor, printable characters pass the key filter; Backspace
  // (0x08) edits; other control characters are ignored. True when the text changed.
  bool KeyPress(char ch);

  // The key filter alone, for a view that edits with a toolkit editor: whether
  // `ch` may be typed into the editor now (limit reached with nothing selected,
  // then the column's key class). Control characters always pass.
  bool AcceptsKey(char ch) const;
  // A view with its own editor reports its text and selection; the text goes
  // into the cell as typed (it is normalised only on validation).
  void SetEditorState(std::string text, std::size_t sel_start, std::size_t sel_length);
  // The selected part of the editor's text (mouse selection inside the editor).
  void SelectInEditor(std::size_t start, std::size_t length);

  // Validates the current cell (unless it is a PLU Alcohol cell). Refused: beep,
  // edit mode on that cell. Accepted: browse mode.
  bool ValidateCurrent();
  // The table loses the input focus to another control; false means the view
  // must take the focus back.
  bool LeaveTable();
  // Drags row `from` to position `to`: the cells move with the row, the alcohol
  // marks stay with the position, the current cell follows its row.
  bool MoveRow(int from, int to);
  // After the tables were reset, resized or filled from outside: ends editing
  // without validation and keeps the current cell inside the table.
  void TablesReplaced();

  // Rows that PageUp and PageDown move by (the view's visible row count).
  void SetPageRows(int rows) { page_rows_ = rows > 0 ? rows : 1; }

 private:
  StringGrid& MutableGrid() { return tables_.Grid(grid_id_); }
  int LastRow() const { return Grid().RowCount() - 1; }
  int LastCol() const { return Grid().ColCount() - 1; }
  bool MoveBy(int d_col, int d_row, Extend extend);
  bool EnterKey();
  void DeleteSelection();
  void BeginEdit(bool select_all);
  void EndEdit();
  void CancelEdit();
  void Refuse();
  void SyncCellFromEditor();
  void NotifyCells(const CellRect& rect);
  void NotifyState();

  Tables& tables_;
  GridId grid_id_;
  UiPort& ui_;
  char separator_;
  GridEditHooks hooks_;
  CellPos current_;
  CellPos anchor_;
  bool editing_ = false;
  std::string text_before_edit_;
  CellEditor editor_;
  int page_rows_ = 10;
};

// When one of the tables has the input focus, validates its current cell with
// the refusal path; otherwise true. New, Open, Save and Save As call it first.
bool ValidateActive(GridEditModel* focused);

}  // namespace plumgr
