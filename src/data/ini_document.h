#pragma once
// An INI file held as its raw lines, each with its parsed meaning, read and
// edited the way the Windows private-profile functions do it: section and key
// names compare without regard to case, the first of equal sections and of equal
// keys wins, one pair of outer quotes is removed from a value, and an edit
// touches only the line of its key (or adds lines), so every other byte of the
// file stays as it was.

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

  // Sets the key, creating the section and key when missing. Writing the value a
  // key already has changes nothing. Returns whether the bytes changed.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool WriteInteger(std::string_view section, std::string_view key, int value);
  bool WriteBool(std::string_view section, std::string_view key, bool value);

 private:
  enum class LineKind { Other, Section, Key };
  struct Line {
    std::string Raw;  // the line's bytes without its line end
    std::string End;  // its line end as found ("" for a last line without one)
    LineKind Kind = LineKind::Other;
    std::string Name;   // section or key name, trimmed
    std::string Value;  // key value, trimmed, quotes kept
  };

  static Line ParseLine(std::string raw, std::string end, bool first_line);
  std::optional<size_t> FindSection(std::string_view section) const;
  // The end of a section: the index of the next section line, or the line count.
  size_t SectionEnd(size_t header) const;
  std::optional<size_t> FindKey(size_t header, std::string_view key) const;
  void InsertLine(size_t index, Line line);
  void EndLastLine();

  std::vector<Line> lines_;
};

// The text written for a value: quoted when it would otherwise lose its leading
// or trailing blanks or its own outer quotes on reading; line breaks, which
// would split the entry, become blanks.
std::string IniValueText(std::string_view value);

}  // namespace plumgr
