#pragma once
// The in-place editor of one table cell: its text, caret and selected part. The
// key filter needs to know whether any of the text is selected, so the editor's
// state lives in the core where the tests can drive it.

#include <cstddef>
#include <string>

namespace plumgr {

class CellEditor {
 public:
  // New text; the caret goes to the end. select_all selects the whole text.
  void Load(std::string text, bool select_all);

  const std::string& Text() const { return text_; }
  std::size_t Caret() const { return caret_; }
  std::size_t SelectionStart() const { return sel_start_; }
  std::size_t SelectionLength() const { return sel_length_; }
  bool HasSelection() const { return sel_length_ > 0; }

  // Selects [start, start + length) clamped to the text; the caret goes to its end.
  void Select(std::size_t start, std::size_t length);
  void SetCaret(std::size_t position);  // clears the selection

  void Insert(char ch);  // replaces the selection, or inserts at the caret
  void Backspace();      // the selection, or the character before the caret
  void DeleteForward();  // the selection, or the character after the caret
  void MoveCaret(int delta);
  void Home() { SetCaret(0); }
  void End() { SetCaret(text_.size()); }

 private:
  void EraseSelection();

  std::string text_;
  std::size_t caret_ = 0;
  std::size_t sel_start_ = 0;
  std::size_t sel_length_ = 0;
};

}  // namespace plumgr
