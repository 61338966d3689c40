#include "data/language_file.h"

#include "data/file_io.h"
#include "data/language_names.h"

namespace plumgr {
namespace {

constexpr std::string_view kCaptionKey = "Caption";
constexpr std::string_view kCaptionSuffix = ".Caption";
constexpr std::string_view kHintSuffix = ".Hint";

std::vector<TitleTable*> TitleTables(DisplayTexts& texts) {
  return {&texts.PluTitles,         &texts.DeptTitles,      &texts.RecyTitles,   &texts.FastTitles,
          &texts.DownloadKindNames, &texts.UploadKindNames, &texts.CompareTitles};
}

struct ProgressTextRef {
  std::string_view Key;
  std::string* Text;
};

std::vector<ProgressTextRef> ProgressTexts(ProgressTextSet& set) {
  return {{"Connect", &set.Connect},
          {"Disconnect", &set.Disconnect},
          {"ReportNotClear", &set.ReportNotClear},
          {"Download", &set.Download},
          {"Upload", &set.Upload}};
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// Whether a key of a window's section names a text of that window: "Caption",
// or a known component's ".Caption" or ".Hint" that has such a text built in.
bool IsKnownWindowKey(const KnownWindow& window, std::string_view key) {
  if (key == kCaptionKey) return !window.Caption.empty();
  for (std::string_view suffix : {kCaptionSuffix, kHintSuffix}) {
    if (!EndsWith(key, suffix)) continue;
    const KnownComponent* c =
        FindKnownComponent(window.Name, key.substr(0, key.size() - suffix.size()));
    if (c == nullptr) return false;
    return suffix == kCaptionSuffix ? !c->Caption.empty() : !c->Hint.empty();
  }
  return false;
}

bool IsKnownTitleKey(const TitleTable& table, std::string_view key) {
  for (size_t i = 0; i < table.Entries.size(); ++i)
    if (key == std::to_string(i)) return true;
  return false;
}

bool IsKnownKey(const std::string& section, std::string_view key) {
  if (const KnownWindow* window = FindKnownWindow(section)) return IsKnownWindowKey(*window, key);
  DisplayTexts defaults = DefaultDisplayTexts('.');
  for (TitleTable* table : TitleTables(defaults))
    if (table->Section == section) return IsKnownTitleKey(*table, key);
  if (section == kLanguageStringSection) {
    for (const ProgressTextRef& ref : ProgressTexts(defaults.ProgressTexts))
      if (ref.Key == key) return true;
  }
  return false;
}

}  // namespace

LanguageFile LanguageFile::Parse(std::string_view bytes) {
  LanguageFile file;
  file.doc_ = IniDocument::Parse(bytes);
  return file;
}

LanguageReadResult LanguageFile::Read(const std::string& path) {
  FileReadResult read = ReadFileBytes(path);
  if (read.Missing) return {};
  if (!read.Ok) return {false, {}, read.Message};
  return {true, Parse(read.Bytes), {}};
}

std::string LanguageKey(const TextSlot& slot) {
  if (slot.Component.empty()) return std::string(kCaptionKey);
  return std::string(slot.Component) +
         std::string(slot.Role == TextRole::Caption ? kCaptionSuffix : kHintSuffix);
}

std::optional<std::string> LanguageFile::Replacement(const TextSlot& slot) const {
  if (!slot.HasText || slot.Window.empty()) return std::nullopt;
  return doc_.Find(slot.Window, LanguageKey(slot));
}

void LanguageFile::ApplyToTexts(DisplayTexts& texts) const {
  for (TitleTable* table : TitleTables(texts)) {
    for (size_t i = 0; i < table->Entries.size(); ++i)
      table->Entries[i] = doc_.ReadString(table->Section, std::to_string(i), table->Entries[i]);
  }
  for (const ProgressTextRef& ref : ProgressTexts(texts.ProgressTexts))
    *ref.Text = doc_.ReadString(kLanguageStringSection, ref.Key, *ref.Text);
}

std::vector<std::string> LanguageFile::UnknownKeys() const {
  std::vector<std::string> unknown;
  for (const IniDocument::KeyEntry& entry : doc_.KeyEntries())
    if (!IsKnownKey(entry.Section, entry.Key))
      unknown.push_back("[" + entry.Section + "] " + entry.Key);
  return unknown;
}

bool ApplyLanguage(const LanguageFile& file, const WindowWalk& walk, DisplayTexts& texts) {
  if (walk) walk([&file](const TextSlot& slot) { return file.Replacement(slot); });
  file.ApplyToTexts(texts);
  return true;
}

}  // namespace plumgr
