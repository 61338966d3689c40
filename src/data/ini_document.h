#pragma once
// An INI file held as its raw lines, each with its parsed meaning, read and
// edited the way the Windows private-profile functions do it: section and key
// names compare without regard to case, the first of equal sections and of equal
// keys wins, one pair of outer quotes is removed from a value, and an edit
// touches only the line of its key (or adds lines), so every other byte of the
// file stays as it was.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plumgr {

class IniDocument {
 public:
  IniDocument() = default;
  // Takes arbitrary bytes; nothing is refused.
  static IniDocument Parse(std::string_view bytes);
  // The bytes of the file: the original bytes with the edits applied.
  std::string Serialize() const;

  // The value without its outer quotes, or nothing when the key is missing.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_value) const;
  // A value that is not a whole number in the int range gives the default.
  int ReadInteger(std::string_view section, std::string_view key, int default_value) const;
  // Read as an integer: any whole number other than 0 is true.
  bool ReadBool(std::string_view section, std::string_view key, bool default_value) const;

  bool HasSection(std::string_view section) const;

  // One key line with the name of the section it stands in ("" before the first).
  struct KeyEntry {
    std::string Section;
    std::string Key;
  };
  // Every key line in file order, repeats included, for checking a file's names.
  std::vector<KeyEntry> KeyEntries() const;

  // Sets the key, creating the section and key when missing. Writing the value a
  // key already has changes nothing. Returns whether the bytes changed.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool WriteInteger(std::string_view section, std::string_view key, int value);
  bool WriteBool(std::string_view section, std::string_view key, bool value);

 private:
  enum class LineKind : std::uint8_t { Other, Section, Key };
  enum class LineEnd : std::uint8_t { None, CrLf, Lf, Cr };
  // A line as a slice of text_. Neighbouring lines that are neither sections nor
  // keys share one entry, since nothing is ever inserted between them; a file of
  // blank lines or comments then costs almost nothing beyond its bytes.
  struct Line {
    size_t Start = 0;
    size_t Length = 0;  // without the last line end
    LineEnd End = LineEnd::None;
    LineKind Kind = LineKind::Other;
    size_t NameStart = 0;  // section or key name, trimmed, relative to Start
    size_t NameLength = 0;
    size_t ValueStart = 0;  // key value, trimmed, quotes kept, relative to Start
    size_t ValueLength = 0;
  };

  std::string_view Content(const Line& line) const;
  std::string_view Name(const Line& line) const;
  std::string_view Value(const Line& line) const;
  // Parses text_[start, start + length) into a line.
  Line ParseLine(size_t start, size_t length, LineEnd end, bool first_line) const;
  // Appends the content to text_ and parses it as a line ending in CR LF.
  Line NewLine(std::string_view content);
  std::optional<size_t> FindSection(std::string_view section) const;
  // The end of a section: the index of the next section line, or the line count.
  size_t SectionEnd(size_t header) const;
  std::optional<size_t> FindKey(size_t header, std::string_view key) const;
  void InsertLine(size_t index, Line line);
  void EndLastLine();

  std::string text_;  // the file's bytes, followed by the text of edited lines
  std::vector<Line> lines_;
};

// The text written for a value: quoted when it would otherwise lose its leading
// or trailing blanks or its own outer quotes on reading; line breaks, which
// would split the entry, become blanks.
std::string IniValueText(std::string_view value);

}  // namespace plumgr
