#include "data/cell_editor.h"

#include <algorithm>

namespace plumgr {

void CellEditor::Load(std::string text, bool select_all) {
  text_ = std::move(text);
  if (select_all)
    Select(0, text_.size());
  else
    End();
}

void CellEditor::Select(std::size_t start, std::size_t length) {
  sel_start_ = std::min(start, text_.size());
  sel_length_ = std::min(length, text_.size() - sel_start_);
  caret_ = sel_start_ + sel_length_;
}

void CellEditor::SetCaret(std::size_t position) {
  caret_ = std::min(position, text_.size());
  sel_start_ = caret_;
  sel_length_ = 0;
}

void CellEditor::EraseSelection() {
  text_.erase(sel_start_, sel_length_);
  SetCaret(sel_start_);
}

void CellEditor::Insert(char ch) {
  if (HasSelection()) EraseSelection();
  text_.insert(caret_, 1, ch);
  SetCaret(caret_ + 1);
}

void CellEditor::Backspace() {
  if (HasSelection()) {
    EraseSelection();
  } else if (caret_ > 0) {
    text_.erase(caret_ - 1, 1);
    SetCaret(caret_ - 1);
  }
}

void CellEditor::DeleteForward() {
  if (HasSelection())
    EraseSelection();
  else if (caret_ < text_.size())
    text_.erase(caret_, 1);
}

void CellEditor::MoveCaret(int delta) {
  if (delta < 0)
    SetCaret(caret_ - std::min(caret_, static_cast<std::size_t>(-delta)));
  else
    SetCaret(caret_ + static_cast<std::size_t>(delta));
}

}  // namespace plumgr
