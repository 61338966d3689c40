#include "data/ini_document.h"

#include <limits>

#include "data/helpers.h"
#include "data/text_lines.h"

namespace plumgr {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// What the INI reading strips around section names, keys and values.
bool IsIniBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view TrimIniBlanks(std::string_view text) {
  return TrimEnds<char>(text, IsIniBlank);
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
  std::optional<std::int64_t> value = ParseWholeNumber(text);
  if (!value || *value < std::numeric_limits<int>::min() ||
      *value > std::numeric_limits<int>::max())
    return std::nullopt;
  return static_cast<int>(*value);
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
  bool loses_blanks = !text.empty() && (IsIniBlank(text.front()) || IsIniBlank(text.back()));
  bool loses_quotes = Unquote(text).size() != text.size();
  if (loses_blanks || loses_quotes) return '"' + text + '"';
  return text;
}

std::string_view IniDocument::Content(const Line& line) const {
  return std::string_view(text_).substr(line.Start, line.Length);
}

std::string_view IniDocument::Name(const Line& line) const {
  return Content(line).substr(line.NameStart, line.NameLength);
}

std::string_view IniDocument::Value(const Line& line) const {
  return Content(line).substr(line.ValueStart, line.ValueLength);
}

IniDocument::Line IniDocument::ParseLine(size_t start, size_t length, LineEnd end,
                                         bool first_line) const {
  Line line{start, length, end};
  const std::string_view content = std::string_view(text_).substr(start, length);
  std::string_view text = content;
  if (first_line && text.substr(0, kUtf8Mark.size()) == kUtf8Mark)
    text.remove_prefix(kUtf8Mark.size());
  text = TrimIniBlanks(text);
  auto offset = [&](std::string_view part) {
    return static_cast<size_t>(part.data() - content.data());
  };
  if (!text.empty() && text.front() == '[') {
    size_t close = text.rfind(']');
    if (close != std::string_view::npos) {
      std::string_view name = TrimIniBlanks(text.substr(1, close - 1));
      line.Kind = LineKind::Section;
      line.NameStart = offset(name);
      line.NameLength = name.size();
      return line;
    }
  }
  size_t equals = text.find('=');
  if (!text.empty() && text.front() != ';' && equals != std::string_view::npos) {
    std::string_view name = TrimIniBlanks(text.substr(0, equals));
    std::string_view value = TrimIniBlanks(text.substr(equals + 1));
    line.Kind = LineKind::Key;
    line.NameStart = offset(name);
    line.NameLength = name.size();
    line.ValueStart = offset(value);
    line.ValueLength = value.size();
  }
  return line;
}

IniDocument::Line IniDocument::NewLine(std::string_view content) {
  size_t start = text_.size();
  text_.append(content);
  return ParseLine(start, content.size(), LineEnd::CrLf, false);
}

IniDocument IniDocument::Parse(std::string_view bytes) {
  IniDocument document;
  document.text_.assign(bytes);
  const std::string_view text = document.text_;
  LineCursor cursor(text);
  for (TextLine raw; cursor.Next(raw);) {
    const size_t start = static_cast<size_t>(raw.Content.data() - text.data());
    const LineEnd end = raw.End == "\r\n" ? LineEnd::CrLf
                        : raw.End == "\n" ? LineEnd::Lf
                        : raw.End == "\r" ? LineEnd::Cr
                                          : LineEnd::None;
    Line line = document.ParseLine(start, raw.Content.size(), end, document.lines_.empty());
    std::vector<Line>& lines = document.lines_;
    if (line.Kind == LineKind::Other && !lines.empty() && lines.back().Kind == LineKind::Other) {
      lines.back().Length = start + raw.Content.size() - lines.back().Start;
      lines.back().End = end;
    } else {
      lines.push_back(line);
    }
  }
  return document;
}

std::string IniDocument::Serialize() const {
  static constexpr std::string_view kEnds[] = {"", "\r\n", "\n", "\r"};
  size_t size = 0;
  for (const Line& line : lines_)
    size += line.Length + 2;
  std::string bytes;
  bytes.reserve(size);
  for (const Line& line : lines_) {
    bytes += Content(line);
    bytes += kEnds[static_cast<int>(line.End)];
  }
  return bytes;
}

std::optional<size_t> IniDocument::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].Kind == LineKind::Section && SameName(Name(lines_[i]), section)) return i;
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
    if (lines_[i].Kind == LineKind::Key && SameName(Name(lines_[i]), key)) return i;
  return std::nullopt;
}

bool IniDocument::HasSection(std::string_view section) const {
  return FindSection(section).has_value();
}

std::vector<IniDocument::KeyEntry> IniDocument::KeyEntries() const {
  std::vector<KeyEntry> entries;
  std::string_view section;
  for (const Line& line : lines_) {
    if (line.Kind == LineKind::Section) section = Name(line);
    if (line.Kind == LineKind::Key)
      entries.push_back({std::string(section), std::string(Name(line))});
  }
  return entries;
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const {
  std::optional<size_t> header = FindSection(section);
  if (!header) return std::nullopt;
  std::optional<size_t> line = FindKey(*header, key);
  if (!line) return std::nullopt;
  return std::string(Unquote(Value(lines_[*line])));
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
  if (!lines_.empty() && lines_.back().End == LineEnd::None) lines_.back().End = LineEnd::CrLf;
}

void IniDocument::InsertLine(size_t index, Line line) {
  // The line before the new one may be the file's last line without a line end.
  if (index > 0 && lines_[index - 1].End == LineEnd::None) lines_[index - 1].End = LineEnd::CrLf;
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
    lines_.push_back(NewLine(header_line));
    lines_.push_back(NewLine(std::string(key) + "=" + text));
    return true;
  }
  if (std::optional<size_t> existing = FindKey(*header, key)) {
    Line& line = lines_[*existing];
    if (Unquote(Value(line)) == WithoutLineBreaks(value)) return false;
    const LineEnd end = line.End;
    line = NewLine(std::string(Name(line)) + "=" + text);
    line.End = end;
    return true;
  }
  size_t after = *header;
  for (size_t i = *header + 1, end = SectionEnd(*header); i < end; ++i)
    if (lines_[i].Kind == LineKind::Key) after = i;
  InsertLine(after + 1, NewLine(std::string(key) + "=" + text));
  return true;
}

bool IniDocument::WriteInteger(std::string_view section, std::string_view key, int value) {
  return WriteString(section, key, std::to_string(value));
}

bool IniDocument::WriteBool(std::string_view section, std::string_view key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

}  // namespace plumgr
