#include "data/grid_edit_model.h"

#include <algorithm>

#include "data/cell_validation.h"
#include "data/helpers.h"

namespace plumgr {

namespace {

bool IsPrintable(char ch) {
  auto code = static_cast<unsigned char>(ch);
  return code >= 0x20 && code != 0x7F;
}

// Where row r ends up when row `from` is dragged to position `to`.
int RowAfterMove(int r, int from, int to) {
  if (r == from) return to;
  if (from < to && r > from && r <= to) return r - 1;
  if (from > to && r >= to && r < from) return r + 1;
  return r;
}

}  // namespace

GridEditModel::GridEditModel(Tables& tables, GridId grid, UiPort& ui, char decimal_separator,
                             GridEditHooks hooks)
    : tables_(tables),
      grid_id_(grid),
      ui_(ui),
      separator_(decimal_separator),
      hooks_(std::move(hooks)) {}

void GridEditModel::SetViewHooks(std::function<void(const CellRect&)> cells_changed,
                                 std::function<void()> state_changed) {
  hooks_.CellsChanged = std::move(cells_changed);
  hooks_.StateChanged = std::move(state_changed);
}

CellRect GridEditModel::Selection() const {
  return CellRect{std::min(anchor_.Col, current_.Col), std::min(anchor_.Row, current_.Row),
                  std::max(anchor_.Col, current_.Col), std::max(anchor_.Row, current_.Row)};
}

bool GridEditModel::IsEditable(int col) const {
  return col >= 1 && col < ColumnCount(grid_id_) &&
         Column(grid_id_, col).Keys != KeyClass::NotEditable;
}

bool GridEditModel::AlcoholMark(int row) const {
  if (grid_id_ != GridId::Plu || row < 1) return false;
  auto index = static_cast<std::size_t>(row - 1);
  return index < tables_.AlcoholFlags.size() && tables_.AlcoholFlags[index];
}

bool GridEditModel::Click(int col, int row, Extend extend) {
  if (col < 1 || row < 1 || !Grid().Contains(col, row)) return true;
  if (!SelectCell(col, row, extend)) return false;
  if (IsAlcoholColumn(grid_id_, col)) {
    auto index = static_cast<std::size_t>(row - 1);
    if (index < tables_.AlcoholFlags.size()) {
      tables_.AlcoholFlags[index] = !tables_.AlcoholFlags[index];
      NotifyCells(CellRect{col, row, col, row});
    }
  }
  return true;
}

bool GridEditModel::DoubleClick(int col, int row) {
  if (col < 1 || row < 1 || !Grid().Contains(col, row)) return true;
  if (!SelectCell(col, row)) return false;
  if (!editing_ && IsEditable(col)) BeginEdit(true);
  return true;
}

bool GridEditModel::SelectCell(int col, int row, Extend extend) {
  if (col < 1 || row < 1 || !Grid().Contains(col, row)) return false;
  CellPos target{col, row};
  if (target == current_) {
    if (extend == Extend::No && !(anchor_ == current_)) {
      anchor_ = current_;
      NotifyState();
    }
    return true;
  }
  if (!ValidateCurrent()) return false;
  current_ = target;
  if (extend == Extend::No) anchor_ = target;
  NotifyState();
  return true;
}

bool GridEditModel::MoveBy(int d_col, int d_row, Extend extend) {
  if (LastRow() < 1) return true;
  int col = std::clamp(current_.Col + d_col, 1, LastCol());
  int row = std::clamp(current_.Row + d_row, 1, LastRow());
  SelectCell(col, row, extend);
  return true;  // a refused validation swallows the key as well
}

bool GridEditModel::KeyDown(GridKey key, Extend extend) {
  switch (key) {
    case GridKey::Up:
    case GridKey::Down:
      // In edit mode the cell is validated even where there is nowhere to move.
      if (editing_ && !ValidateCurrent()) return true;
      return MoveBy(0, key == GridKey::Up ? -1 : 1, extend);
    case GridKey::Left:
    case GridKey::Right:
      if (!editing_) return MoveBy(key == GridKey::Left ? -1 : 1, 0, extend);
      editor_.MoveCaret(key == GridKey::Left ? -1 : 1);
      NotifyState();
      return true;
    case GridKey::Home:
    case GridKey::End:
      if (!editing_) return MoveBy(key == GridKey::Home ? -LastCol() : LastCol(), 0, extend);
      key == GridKey::Home ? editor_.Home() : editor_.End();
      NotifyState();
      return true;
    case GridKey::PageUp:
    case GridKey::PageDown:
      if (editing_ && !ValidateCurrent()) return true;
      return MoveBy(0, key == GridKey::PageUp ? -page_rows_ : page_rows_, extend);
    case GridKey::Enter:
      return EnterKey();
    case GridKey::Delete:
      if (editing_) {
        editor_.DeleteForward();
        SyncCellFromEditor();
      } else {
        DeleteSelection();
      }
      return true;
    case GridKey::F2:
      if (!editing_ && IsEditable(current_.Col)) BeginEdit(true);
      return true;
    case GridKey::Escape:
      if (!editing_) return false;
      CancelEdit();
      return true;
  }
  return false;
}

bool GridEditModel::EnterKey() {
  if (!ValidateCurrent()) return true;
  if (current_.Col < LastCol())
    SelectCell(current_.Col + 1, current_.Row);
  else if (current_.Row < LastRow())
    SelectCell(1, current_.Row + 1);
  return true;
}

void GridEditModel::DeleteSelection() {
  CellRect rect = Selection();
  StringGrid& grid = MutableGrid();
  bool changed = false;
  for (int row = rect.Top; row <= rect.Bottom; ++row)
    for (int col = rect.Left; col <= rect.Right; ++col) {
      if (!grid.Contains(col, row)) continue;
      std::string text = ColumnDefault(grid_id_, col, separator_);
      if (grid.Cell(col, row) == text) continue;
      grid.SetCell(col, row, std::move(text));
      changed = true;
    }
  // Emptied cells are a change the file does not hold yet.
  if (changed && hooks_.SetModified) hooks_.SetModified();
  NotifyCells(rect);
}

bool GridEditModel::KeyPress(char ch) {
  if (!editing_) {
    if (!IsPrintable(ch) || !IsEditable(current_.Col) ||
        !Grid().Contains(current_.Col, current_.Row))
      return false;
    if (hooks_.SetModified) hooks_.SetModified();
    text_before_edit_ = Grid().Cell(current_.Col, current_.Row);
    editing_ = true;
    editor_.Load(std::string(), false);
    SyncCellFromEditor();
    NotifyState();
  }
  if (!IsPrintable(ch)) {
    if (ch != '\b') return false;
    editor_.Backspace();
    SyncCellFromEditor();
    return true;
  }
  if (!AcceptsKey(ch)) return false;
  editor_.Insert(ch);
  SyncCellFromEditor();
  return true;
}

bool GridEditModel::AcceptsKey(char ch) const {
  if (!IsPrintable(ch)) return true;
  if (!editing_ || !IsEditable(current_.Col)) return false;
  const ColumnRule& rule = Column(grid_id_, current_.Col);
  const std::string& text = editor_.Text();
  if (text.size() >= static_cast<std::size_t>(rule.TextLimit) && !editor_.HasSelection())
    return false;
  return ColumnAcceptsKey(grid_id_, current_.Col, text, ch, separator_);
}

void GridEditModel::SetEditorState(std::string text, std::size_t sel_start,
                                   std::size_t sel_length) {
  if (!editing_) return;
  editor_.Load(std::move(text), false);
  editor_.Select(sel_start, sel_length);
  SyncCellFromEditor();
}

void GridEditModel::SelectInEditor(std::size_t start, std::size_t length) {
  if (!editing_) return;
  editor_.Select(start, length);
  NotifyState();
}

bool GridEditModel::ValidateCurrent() {
  if (IsAlcoholColumn(grid_id_, current_.Col)) {
    if (editing_) EndEdit();
    return true;
  }
  if (!Grid().Contains(current_.Col, current_.Row)) return true;
  std::string before = Grid().Cell(current_.Col, current_.Row);
  bool accepted = ValidateCell(tables_, grid_id_, current_.Col, current_.Row, separator_, ui_);
  if (Grid().Cell(current_.Col, current_.Row) != before)
    NotifyCells(CellRect{current_.Col, current_.Row, current_.Col, current_.Row});
  if (!accepted) {
    Refuse();
    return false;
  }
  if (editing_) EndEdit();
  return true;
}

void GridEditModel::Refuse() {
  ui_.Beep();
  if (!editing_ && IsEditable(current_.Col)) BeginEdit(true);
}

bool GridEditModel::LeaveTable() {
  return ValidateCurrent();
}

bool GridEditModel::MoveRow(int from, int to) {
  int last = LastRow();
  if (from < 1 || to < 1 || from > last || to > last) return false;
  if (from == to) return true;
  if (!ValidateCurrent()) return false;
  MutableGrid().MoveRow(from, to);
  if (hooks_.SetModified) hooks_.SetModified();
  current_.Row = RowAfterMove(current_.Row, from, to);
  anchor_.Row = RowAfterMove(anchor_.Row, from, to);
  NotifyCells(CellRect{1, std::min(from, to), LastCol(), std::max(from, to)});
  NotifyState();
  return true;
}

void GridEditModel::TablesReplaced() {
  editing_ = false;
  int last_col = std::max(LastCol(), 1);
  int last_row = std::max(LastRow(), 1);
  current_ = CellPos{std::clamp(current_.Col, 1, last_col), std::clamp(current_.Row, 1, last_row)};
  anchor_ = CellPos{std::clamp(anchor_.Col, 1, last_col), std::clamp(anchor_.Row, 1, last_row)};
  NotifyState();
}

void GridEditModel::BeginEdit(bool select_all) {
  if (!Grid().Contains(current_.Col, current_.Row)) return;
  text_before_edit_ = Grid().Cell(current_.Col, current_.Row);
  editing_ = true;
  editor_.Load(text_before_edit_, select_all);
  NotifyState();
}

void GridEditModel::EndEdit() {
  editing_ = false;
  NotifyState();
}

void GridEditModel::CancelEdit() {
  editing_ = false;
  MutableGrid().SetCell(current_.Col, current_.Row, text_before_edit_);
  NotifyCells(CellRect{current_.Col, current_.Row, current_.Col, current_.Row});
  NotifyState();
}

void GridEditModel::SyncCellFromEditor() {
  MutableGrid().SetCell(current_.Col, current_.Row, editor_.Text());
  NotifyCells(CellRect{current_.Col, current_.Row, current_.Col, current_.Row});
  NotifyState();
}

void GridEditModel::NotifyCells(const CellRect& rect) {
  if (hooks_.CellsChanged) hooks_.CellsChanged(rect);
}

void GridEditModel::NotifyState() {
  if (hooks_.StateChanged) hooks_.StateChanged();
}

bool ValidateActive(GridEditModel* focused) {
  return focused == nullptr || focused->ValidateCurrent();
}

}  // namespace plumgr
