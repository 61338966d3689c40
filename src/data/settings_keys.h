#pragma once
// Every section and key of the settings file SYSTEM.CFG with its default, and
// typed access to them. The rate defaults are "00", the locale's decimal
// separator, "00"; the separator is passed in.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/code_page.h"
#include "data/file_io.h"
#include "data/ini_document.h"
#include "data/ini_file.h"

namespace plumgr {

inline constexpr std::string_view kSectionVersion = "Version";
inline constexpr std::string_view kSectionOther = "Other";
inline constexpr std::string_view kSectionComm = "Comm";
inline constexpr std::string_view kSectionDefault = "Default";

inline constexpr int kDefaultService = 0;
inline constexpr int kDefaultPort = 2;
inline constexpr int kDefaultBaudRate = 0;
inline constexpr int kDefaultPrintSpeed = 1;
inline constexpr int kDefaultLcdDark = 1;
inline constexpr int kDefaultBarcodeType = 0;
inline constexpr int kDefaultScaleBaudRate = 0;
inline constexpr int kDefaultTaxFree = 8;
// How many backups of each kind are kept beside a data file set.
inline constexpr int kDefaultBackupCount = 20;

inline constexpr int kClerkCount = 8;
inline constexpr int kTailCount = 2;
inline constexpr int kBarcodeTypeCount = 10;
inline constexpr int kVatRateCount = 9;
inline constexpr int kHeaderCount = 5;
inline constexpr int kFlagBytes = 4;
inline constexpr int kComPortCount = 4;

// Key names of the numbered keys; the numbers count from 1 as in the file
// (flags: byte 0..3, bit 0..7; "Flag" + byte digit + bit digit).
std::string FlagKey(int byte, int bit);
std::string ClerkNameKey(int n);
std::string ClerkPasswordKey(int n);
std::string TailKey(int n);
std::string BarcodeTypeKey(int n);
std::string VatKey(int n);
std::string HeaderKey(int n);
std::string HeaderBoldKey(int n);
std::string ComPortKey(int n);

// [Other] CodePage: the code page of the register's text, by its name. Missing
// means Windows-1250, the code page every set had before the key existed.
inline constexpr std::string_view kCodePageKey = "CodePage";

// The code page a CodePage value names. A value that names none gives
// Windows-1250 and a warning naming the value; the file keeps the value.
struct CodePageSetting {
  CodePageId Page = CodePageId::Windows1250;
  std::string Warning;  // empty when the value names a code page (or is missing)
};
CodePageSetting CodePageForSetting(std::string_view value);

// "00" + separator + "00": the default of the rates and VAT values.
std::string ZeroRate(char decimal_separator);

enum class SettingType { String, Integer, Boolean };

struct SettingKey {
  std::string_view Section;
  std::string Name;
  SettingType Type = SettingType::String;
  std::string Default;  // as written in the file: booleans "0"/"1"
};

// Every key of the settings file, in the order of its sections.
std::vector<SettingKey> AllSettingKeys(char decimal_separator);

// True when the document holds at least one key of the settings file: a file
// without any holds no settings at all, only defaults.
bool HoldsAnySettingsKey(const IniDocument& document);

// The kinds of the parameter download, each sending one group of [Default].
enum class ParameterKind { Parameter, Vat, Header };

// The [Default] keys whose presence shows that a file holds a kind's values:
// VAT1 to VAT9 for VAT, Header1 to Header5 for the header, and every key of the
// parameter group (rates, flags, clerks, barcode types, speeds, contrast).
std::vector<std::string> KeysShowingKind(ParameterKind kind);
bool HoldsKind(const IniDocument& document, ParameterKind kind);

// Typed access to a settings document read in one go (IniFile::Read); setters
// change the document, which IniFile::Update then writes back.
class Settings {
 public:
  Settings(IniDocument& document, char decimal_separator)
      : doc_(document), separator_(decimal_separator) {}

  std::string CompanyName() const;

  int Service() const;
  void SetService(int model);
  CodePageSetting CodePage() const;
  void SetCodePage(CodePageId page);
  // [Other] Backups: how many backups of each kind a set keeps; 0 keeps none,
  // a value below 0 or not a number the default.
  int BackupCount() const;
  void SetBackupCount(int count);

  int Port() const;  // 0 none, 1..4 COM1..COM4
  void SetPort(int port);
  int BaudRate() const;  // index into BaudRateTable
  void SetBaudRate(int index);
  // [Comm] COM1..COM4: a device path in place of /dev/ttyS0..3; empty when unset.
  std::string ComPortOverride(int n) const;

  std::string DiscountRate() const;  // "-% rate"
  void SetDiscountRate(std::string_view rate);
  std::string SurchargeRate() const;  // "+% rate"
  void SetSurchargeRate(std::string_view rate);
  int PrintSpeed() const;
  void SetPrintSpeed(int speed);
  int LcdDark() const;
  void SetLcdDark(int contrast);
  bool Flag(int byte, int bit) const;
  void SetFlag(int byte, int bit, bool on);
  std::string ClerkName(int n) const;
  void SetClerkName(int n, std::string_view name);
  std::string ClerkPassword(int n) const;
  void SetClerkPassword(int n, std::string_view password);
  std::string Tail(int n) const;
  void SetTail(int n, std::string_view line);
  int BarcodeType(int n) const;  // BCode1..BCode10
  void SetBarcodeType(int n, int type);
  int ScaleBaudRate() const;  // [Default] BaudRate
  void SetScaleBaudRate(int index);
  std::string VatRate(int n) const;  // VAT1..VAT9
  void SetVatRate(int n, std::string_view rate);
  int TaxFree() const;  // 0 for rate A .. 8 for rate I
  void SetTaxFree(int index);
  std::string Header(int n) const;
  void SetHeader(int n, std::string_view line);
  bool HeaderBold(int n) const;
  void SetHeaderBold(int n, bool bold);

  char DecimalSeparator() const { return separator_; }

 private:
  IniDocument& doc_;
  char separator_;
};

}  // namespace plumgr
