#pragma once
// Splitting file text into lines. CR LF, a lone LF and a lone CR all end a line,
// since files reach us from Windows and from Linux editors alike.

#include <string_view>
#include <vector>

namespace plumgr {

struct TextLine {
  std::string_view Content;  // without the line end
  std::string_view End;      // "\r\n", "\n", "\r", or "" for a last line without one
};

// Walks the lines of a text one at a time, without holding them all.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : rest_(text) {}
  // The next line, or false at the end of the text.
  bool Next(TextLine& line);

 private:
  std::string_view rest_;
};

// The lines of the text; an empty text has none, and a text that ends with a line
// end has no empty line after it.
std::vector<TextLine> SplitLines(std::string_view text);

}  // namespace plumgr
