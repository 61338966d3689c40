#include "data/ini_document.h"

#include <limits>

#include "data/text_lines.h"

namespace plumgr {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// A whole number in decimal with an optional sign, within the int range.
std::optional<int> ParseInt(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
    return std::nullopt;
  return static_cast<int>(value);
}

// Line breaks would split the entry in two, so they are stored as blanks.
std::string WithoutLineBreaks(std::string_view value) {
  std::string text(value);
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}

}  // namespace

std::string IniValueText(std::string_view value) {
  std::string text = WithoutLineBreaks(value);
  bool loses_blanks = !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
  bool loses_quotes = Unquote(text).size() != text.size();
  if (loses_blanks || loses_quotes) return '"' + text + '"';
  return text;
}

IniDocument::Line IniDocument::ParseLine(std::string raw, std::string end, bool first_line) {
  Line line;
  std::string_view text = raw;
  if (first_line && text.substr(0, kUtf8Mark.size()) == kUtf8Mark)
    text.remove_prefix(kUtf8Mark.size());
  text = Trim(text);
  if (!text.empty() && text.front() == '[') {
    size_t close = text.rfind(']');
    if (close != std::string_view::npos) {
      line.Kind = LineKind::Section;
      line.Name = Trim(text.substr(1, close - 1));
    }
  }
  if (line.Kind == LineKind::Other && !text.empty() && text.front() != ';') {
    size_t equals = text.find('=');
    if (equals != std::string_view::npos) {
      line.Kind = LineKind::Key;
      line.Name = Trim(text.substr(0, equals));
      line.Value = Trim(text.substr(equals + 1));
    }
  }
  line.Raw = std::move(raw);
  line.End = std::move(end);
  return line;
}

IniDocument IniDocument::Parse(std::string_view bytes) {
  IniDocument document;
  std::vector<TextLine> lines = SplitLines(bytes);
  document.lines_.reserve(lines.size());
  for (const TextLine& line : lines)
    document.lines_.push_back(
        ParseLine(std::string(line.Content), std::string(line.End), document.lines_.empty()));
  return document;
}

std::string IniDocument::Serialize() const {
  size_t size = 0;
  for (const Line& line : lines_)
    size += line.Raw.size() + line.End.size();
  std::string bytes;
  bytes.reserve(size);
  for (const Line& line : lines_) {
    bytes += line.Raw;
    bytes += line.End;
  }
  return bytes;
}

std::optional<size_t> IniDocument::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].Kind == LineKind::Section && SameName(lines_[i].Name, section)) return i;
  return std::nullopt;
}

size_t IniDocument::SectionEnd(size_t header) const {
  size_t i = header + 1;
  while (i < lines_.size() && lines_[i].Kind != LineKind::Section)
    ++i;
  return i;
}

std::optional<size_t> IniDocument::FindKey(size_t header, std::string_view key) const {
  size_t end = SectionEnd(header);
  for (size_t i = header + 1; i < end; ++i)
    if (lines_[i].Kind == LineKind::Key && SameName(lines_[i].Name, key)) return i;
  return std::nullopt;
}

bool IniDocument::HasSection(std::string_view section) const {
  return FindSection(section).has_value();
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const {
  std::optional<size_t> header = FindSection(section);
  if (!header) return std::nullopt;
  std::optional<size_t> line = FindKey(*header, key);
  if (!line) return std::nullopt;
  return std::string(Unquote(lines_[*line].Value));
}

std::string IniDocument::ReadString(std::string_view section, std::string_view key,
                                    std::string_view default_value) const {
  std::optional<std::string> value = Find(section, key);
  return value ? *value : std::string(default_value);
}

int IniDocument::ReadInteger(std::string_view section, std::string_view key,
                             int default_value) const {
  std::optional<std::string> value = Find(section, key);
  if (!value) return default_value;
  return ParseInt(*value).value_or(default_value);
}

bool IniDocument::ReadBool(std::string_view section, std::string_view key,
                           bool default_value) const {
  return ReadInteger(section, key, default_value ? 1 : 0) != 0;
}

void IniDocument::EndLastLine() {
  if (!lines_.empty() && lines_.back().End.empty()) lines_.back().End = kLineEnd;
}

void IniDocument::InsertLine(size_t index, Line line) {
  // The line before the new one may be the file's last line without a line end.
  if (index > 0 && lines_[index - 1].End.empty()) lines_[index - 1].End = kLineEnd;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), std::move(line));
}

bool IniDocument::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
  std::string text = IniValueText(value);
  std::optional<size_t> header = FindSection(section);
  if (!header) {
    EndLastLine();
    std::string header_line = "[";
    header_line.append(section).append("]");
    lines_.push_back(ParseLine(std::move(header_line), std::string(kLineEnd), false));
    lines_.push_back(ParseLine(std::string(key) + "=" + text, std::string(kLineEnd), false));
    return true;
  }
  if (std::optional<size_t> existing = FindKey(*header, key)) {
    Line& line = lines_[*existing];
    if (Unquote(line.Value) == WithoutLineBreaks(value)) return false;
    std::string end = line.End;
    line = ParseLine(line.Name + "=" + text, std::move(end), false);
    return true;
  }
  size_t after = *header;
  for (size_t i = *header + 1, end = SectionEnd(*header); i < end; ++i)
    if (lines_[i].Kind == LineKind::Key) after = i;
  InsertLine(after + 1, ParseLine(std::string(key) + "=" + text, std::string(kLineEnd), false));
  return true;
}

bool IniDocument::WriteInteger(std::string_view section, std::string_view key, int value) {
  return WriteString(section, key, std::to_string(value));
}

bool IniDocument::WriteBool(std::string_view section, std::string_view key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

}  // namespace plumgr
