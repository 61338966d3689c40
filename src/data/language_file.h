#pragma once
// The interface language file: an INI file whose sections are window names
// (keys "Caption", component + ".Caption", component + ".Hint"), the title
// tables ("PLU Titles" and the others, keys "0", "1", ...) and "String" (the
// progress texts). Its values are code-page bytes, like every text the program
// reads. A missing file reads as empty, so every text keeps its built-in value.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/definitions.h"
#include "data/ini_document.h"

namespace plumgr {

inline constexpr const char* kLanguageFileExtension = ".LNG";
// The section of the progress texts.
inline constexpr std::string_view kLanguageStringSection = "String";

enum class TextRole { Caption, Hint };

// One text of a window as a view holds it. An empty component names the
// window's own caption (role Caption).
struct TextSlot {
  std::string_view Window;
  std::string_view Component;
  TextRole Role = TextRole::Caption;
  bool HasText = false;  // the text shown now is not empty
};

struct LanguageReadResult;

class LanguageFile {
 public:
  LanguageFile() = default;
  static LanguageFile Parse(std::string_view bytes);
  // A missing file is no error; one that exists but cannot be read keeps the
  // built-in texts and says why.
  static LanguageReadResult Read(const std::string& path);

  // The text that replaces the slot's, or nothing to keep it. Empty texts are
  // never looked up, so the file cannot give a text to an element without one.
  std::optional<std::string> Replacement(const TextSlot& slot) const;

  // Replaces the title tables' entries (key i of each table's section) and the
  // progress texts (section "String").
  void ApplyToTexts(DisplayTexts& texts) const;

  // Keys that name no known window and component, title entry or progress
  // text, as "[section] key", in file order.
  std::vector<std::string> UnknownKeys() const;

  const IniDocument& Document() const { return doc_; }

 private:
  IniDocument doc_;
};

struct [[nodiscard]] LanguageReadResult {
  bool Ok = true;
  LanguageFile File;
  std::string Message;
};

// The language key of a slot: "Caption" for the window, else component +
// ".Caption" or ".Hint".
std::string LanguageKey(const TextSlot& slot);

// A view's walk over its windows: it calls `lookup` once for each text of each
// window that exists (the window's caption and every component's caption and
// hint) and sets the text it returns, when it returns one.
using TextLookup = std::function<std::optional<std::string>(const TextSlot&)>;
using WindowWalk = std::function<void(const TextLookup& lookup)>;

// Applies the file to every window the walk reaches, then to the title tables
// and the progress texts. Returns true.
bool ApplyLanguage(const LanguageFile& file, const WindowWalk& walk, DisplayTexts& texts);

}  // namespace plumgr
