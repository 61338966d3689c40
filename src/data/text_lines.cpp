#include "data/text_lines.h"

namespace plumgr {

bool LineCursor::Next(TextLine& line) {
  if (rest_.empty()) return false;
  size_t stop = rest_.find_first_of("\r\n");
  if (stop == std::string_view::npos) {
    line = {rest_, {}};
    rest_ = {};
    return true;
  }
  bool crlf = rest_[stop] == '\r' && stop + 1 < rest_.size() && rest_[stop + 1] == '\n';
  size_t end_length = crlf ? 2 : 1;
  line = {rest_.substr(0, stop), rest_.substr(stop, end_length)};
  rest_.remove_prefix(stop + end_length);
  return true;
}

std::vector<TextLine> SplitLines(std::string_view text) {
  std::vector<TextLine> lines;
  LineCursor cursor(text);
  for (TextLine line; cursor.Next(line);)
    lines.push_back(line);
  return lines;
}

}  // namespace plumgr
