#pragma once
// The register models, line speeds and the replaceable display texts that many
// parts of the program share. The texts are one structure so that the language
// file can replace them in one place.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace plumgr {

struct EcrProfile {
  std::uint8_t Model = 0;
  std::string Title;  // up to 51 characters
  std::int32_t KeyboardType = 0;
  bool HotKeyEnabled = false;
  std::int32_t PluCount = 0;
  bool RecyclingEnabled = false;
  std::int32_t DeptCount = 0;
  bool PluRecordFormat = false;
  std::int32_t HeaderWidth = 0;
  std::int32_t TailWidth = 0;
};

// The supported register models, indexed by Model.
const std::vector<EcrProfile>& EcrProfileTable();

// The model in force; all zero until start-up selects one.
EcrProfile& CurrentProfile();

// Copies the entry with that index into CurrentProfile; any other index leaves
// it as it was. Always reports success, as callers expect.
bool SelectProfile(int model);

// The model an [Other] Service value names. A value that names none would
// leave the model all zero (no title, no table rows): it gives the first model
// instead, and a warning naming the key and the value.
struct ServiceModel {
  int Model = 0;
  std::string Warning;  // empty when the value names a model
};
ServiceModel ModelForService(int service);

inline constexpr std::array<int, 5> BaudRateTable = {9600, 19200, 38400, 57600, 115200};

// A table of display texts with the language-file section that may replace it
// (key "0" replaces the first entry, "1" the second, ...).
struct TitleTable {
  std::string Section;
  std::vector<std::string> Entries;

  // The entry at index, empty where the table has none.
  std::string At(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < Entries.size() ? Entries[index] : "";
  }
};

struct ProgressTextSet {
  std::string Connect = "Connect";
  std::string Disconnect = "Disconnect";
  std::string Download = "Download:";
  std::string Upload = "Upload:";
  std::string ReportNotClear = "ECR report don't clear!";
  std::string Compare = "Compare:";  // not replaceable
};

struct DisplayTexts {
  TitleTable PluTitles;
  TitleTable DeptTitles;
  TitleTable RecyTitles;
  TitleTable FastTitles;
  TitleTable DownloadKindNames;
  TitleTable UploadKindNames;
  // The columns of the comparison with the register.
  TitleTable CompareTitles;
  ProgressTextSet ProgressTexts;
  // The zero amounts of the table defaults, built with the locale's separator.
  std::string ZeroPrice = "0.00";
  std::string ZeroStock = "0.000";
  std::string ZeroRate = "00.00";
};

// Builds the built-in texts for a decimal separator.
DisplayTexts DefaultDisplayTexts(char decimal_separator);

// The process-wide texts (set up once at start-up, replaced by the language file).
DisplayTexts& Texts();

// Reads the locale's decimal separator once (after setlocale(LC_ALL, "")).
char LocaleDecimalSeparator();

}  // namespace plumgr
