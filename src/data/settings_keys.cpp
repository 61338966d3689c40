#include "data/settings_keys.h"

namespace plumgr {
namespace {

constexpr std::string_view kCompanyName = "CompanyName";
constexpr std::string_view kService = "Service";
constexpr std::string_view kBackups = "Backups";
constexpr std::string_view kPort = "Port";
constexpr std::string_view kBaudRate = "BaudRate";
constexpr std::string_view kDiscountRate = "-% rate";
constexpr std::string_view kSurchargeRate = "+% rate";
constexpr std::string_view kPrintSpeed = "Print Speed";
constexpr std::string_view kLcdDark = "Lcd Dark";
constexpr std::string_view kTaxFree = "Tax-free";

std::string Numbered(std::string_view prefix, int n) {
  return std::string(prefix) + std::to_string(n);
}

}  // namespace

std::string FlagKey(int byte, int bit) {
  return "Flag" + std::to_string(byte) + std::to_string(bit);
}
std::string ClerkNameKey(int n) {
  return Numbered("ClerkName", n);
}
std::string ClerkPasswordKey(int n) {
  return Numbered("ClerkPWD", n);
}
std::string TailKey(int n) {
  return Numbered("Tail", n);
}
std::string BarcodeTypeKey(int n) {
  return Numbered("BCode", n);
}
std::string VatKey(int n) {
  return Numbered("VAT", n);
}
std::string HeaderKey(int n) {
  return Numbered("Header", n);
}
std::string HeaderBoldKey(int n) {
  return Numbered("HeaderBold", n);
}
std::string ComPortKey(int n) {
  return Numbered("COM", n);
}

std::string ZeroRate(char decimal_separator) {
  return std::string("00") + decimal_separator + "00";
}

std::vector<SettingKey> AllSettingKeys(char decimal_separator) {
  using T = SettingType;
  const std::string zero_rate = ZeroRate(decimal_separator);
  std::vector<SettingKey> keys = {
      {kSectionVersion, std::string(kCompanyName), T::String, ""},
      {kSectionOther, std::string(kService), T::Integer, std::to_string(kDefaultService)},
      {kSectionOther, std::string(kCodePageKey), T::String,
       std::string(CodePageName(CodePageId::Windows1250))},
      {kSectionOther, std::string(kBackups), T::Integer, std::to_string(kDefaultBackupCount)},
      {kSectionComm, std::string(kPort), T::Integer, std::to_string(kDefaultPort)},
      {kSectionComm, std::string(kBaudRate), T::Integer, std::to_string(kDefaultBaudRate)},
  };
  for (int n = 1; n <= kComPortCount; ++n)
    keys.push_back({kSectionComm, ComPortKey(n), T::String, ""});
  keys.push_back({kSectionDefault, std::string(kDiscountRate), T::String, zero_rate});
  keys.push_back({kSectionDefault, std::string(kSurchargeRate), T::String, zero_rate});
  keys.push_back(
      {kSectionDefault, std::string(kPrintSpeed), T::Integer, std::to_string(kDefaultPrintSpeed)});
  keys.push_back(
      {kSectionDefault, std::string(kLcdDark), T::Integer, std::to_string(kDefaultLcdDark)});
  for (int byte = 0; byte < kFlagBytes; ++byte)
    for (int bit = 0; bit < 8; ++bit)
      keys.push_back({kSectionDefault, FlagKey(byte, bit), T::Boolean, "0"});
  for (int n = 1; n <= kClerkCount; ++n)
    keys.push_back({kSectionDefault, ClerkNameKey(n), T::String, ""});
  for (int n = 1; n <= kClerkCount; ++n)
    keys.push_back({kSectionDefault, ClerkPasswordKey(n), T::String, ""});
  for (int n = 1; n <= kTailCount; ++n)
    keys.push_back({kSectionDefault, TailKey(n), T::String, ""});
  for (int n = 1; n <= kBarcodeTypeCount; ++n)
    keys.push_back(
        {kSectionDefault, BarcodeTypeKey(n), T::Integer, std::to_string(kDefaultBarcodeType)});
  keys.push_back(
      {kSectionDefault, std::string(kBaudRate), T::Integer, std::to_string(kDefaultScaleBaudRate)});
  for (int n = 1; n <= kVatRateCount; ++n)
    keys.push_back({kSectionDefault, VatKey(n), T::String, zero_rate});
  keys.push_back(
      {kSectionDefault, std::string(kTaxFree), T::Integer, std::to_string(kDefaultTaxFree)});
  for (int n = 1; n <= kHeaderCount; ++n)
    keys.push_back({kSectionDefault, HeaderKey(n), T::String, ""});
  for (int n = 1; n <= kHeaderCount; ++n)
    keys.push_back({kSectionDefault, HeaderBoldKey(n), T::Boolean, "0"});
  return keys;
}

bool HoldsAnySettingsKey(const IniDocument& document) {
  for (const SettingKey& key : AllSettingKeys('.'))
    if (document.Find(key.Section, key.Name)) return true;
  return false;
}

std::vector<std::string> KeysShowingKind(ParameterKind kind) {
  std::vector<std::string> keys;
  switch (kind) {
    case ParameterKind::Vat:
      for (int n = 1; n <= kVatRateCount; ++n)
        keys.push_back(VatKey(n));
      break;
    case ParameterKind::Header:
      for (int n = 1; n <= kHeaderCount; ++n)
        keys.push_back(HeaderKey(n));
      break;
    case ParameterKind::Parameter:
      keys = {std::string(kDiscountRate), std::string(kSurchargeRate), std::string(kPrintSpeed),
              std::string(kLcdDark), std::string(kBaudRate)};
      for (int byte = 0; byte < kFlagBytes; ++byte)
        for (int bit = 0; bit < 8; ++bit)
          keys.push_back(FlagKey(byte, bit));
      for (int n = 1; n <= kClerkCount; ++n) {
        keys.push_back(ClerkNameKey(n));
        keys.push_back(ClerkPasswordKey(n));
      }
      for (int n = 1; n <= kBarcodeTypeCount; ++n)
        keys.push_back(BarcodeTypeKey(n));
      break;
  }
  return keys;
}

bool HoldsKind(const IniDocument& document, ParameterKind kind) {
  for (const std::string& key : KeysShowingKind(kind))
    if (document.Find(kSectionDefault, key)) return true;
  return false;
}

std::string Settings::CompanyName() const {
  return doc_.ReadString(kSectionVersion, kCompanyName, "");
}

int Settings::BackupCount() const {
  const int count = doc_.ReadInteger(kSectionOther, kBackups, kDefaultBackupCount);
  return count < 0 ? kDefaultBackupCount : count;
}
void Settings::SetBackupCount(int count) {
  doc_.WriteInteger(kSectionOther, kBackups, count);
}

int Settings::Service() const {
  return doc_.ReadInteger(kSectionOther, kService, kDefaultService);
}
void Settings::SetService(int model) {
  doc_.WriteInteger(kSectionOther, kService, model);
}

CodePageSetting CodePageForSetting(std::string_view value) {
  CodePageSetting setting;
  if (value.empty()) return setting;
  if (std::optional<CodePageId> page = CodePageNamed(value)) {
    setting.Page = *page;
    return setting;
  }
  setting.Warning = "[Other] CodePage=" + std::string(value) +
                    " names no code page (Windows-1250, CP852 or Mazovia): Windows-1250 is used";
  return setting;
}

CodePageSetting Settings::CodePage() const {
  return CodePageForSetting(doc_.ReadString(kSectionOther, kCodePageKey, ""));
}
void Settings::SetCodePage(CodePageId page) {
  doc_.WriteString(kSectionOther, kCodePageKey, CodePageName(page));
}

int Settings::Port() const {
  return doc_.ReadInteger(kSectionComm, kPort, kDefaultPort);
}
void Settings::SetPort(int port) {
  doc_.WriteInteger(kSectionComm, kPort, port);
}
int Settings::BaudRate() const {
  return doc_.ReadInteger(kSectionComm, kBaudRate, kDefaultBaudRate);
}
void Settings::SetBaudRate(int index) {
  doc_.WriteInteger(kSectionComm, kBaudRate, index);
}
std::string Settings::ComPortOverride(int n) const {
  return doc_.ReadString(kSectionComm, ComPortKey(n), "");
}

std::string Settings::DiscountRate() const {
  return doc_.ReadString(kSectionDefault, kDiscountRate, ZeroRate(separator_));
}
void Settings::SetDiscountRate(std::string_view rate) {
  doc_.WriteString(kSectionDefault, kDiscountRate, rate);
}
std::string Settings::SurchargeRate() const {
  return doc_.ReadString(kSectionDefault, kSurchargeRate, ZeroRate(separator_));
}
void Settings::SetSurchargeRate(std::string_view rate) {
  doc_.WriteString(kSectionDefault, kSurchargeRate, rate);
}
int Settings::PrintSpeed() const {
  return doc_.ReadInteger(kSectionDefault, kPrintSpeed, kDefaultPrintSpeed);
}
void Settings::SetPrintSpeed(int speed) {
  doc_.WriteInteger(kSectionDefault, kPrintSpeed, speed);
}
int Settings::LcdDark() const {
  return doc_.ReadInteger(kSectionDefault, kLcdDark, kDefaultLcdDark);
}
void Settings::SetLcdDark(int contrast) {
  doc_.WriteInteger(kSectionDefault, kLcdDark, contrast);
}
bool Settings::Flag(int byte, int bit) const {
  return doc_.ReadBool(kSectionDefault, FlagKey(byte, bit), false);
}
void Settings::SetFlag(int byte, int bit, bool on) {
  doc_.WriteBool(kSectionDefault, FlagKey(byte, bit), on);
}
std::string Settings::ClerkName(int n) const {
  return doc_.ReadString(kSectionDefault, ClerkNameKey(n), "");
}
void Settings::SetClerkName(int n, std::string_view name) {
  doc_.WriteString(kSectionDefault, ClerkNameKey(n), name);
}
std::string Settings::ClerkPassword(int n) const {
  return doc_.ReadString(kSectionDefault, ClerkPasswordKey(n), "");
}
void Settings::SetClerkPassword(int n, std::string_view password) {
  doc_.WriteString(kSectionDefault, ClerkPasswordKey(n), password);
}
std::string Settings::Tail(int n) const {
  return doc_.ReadString(kSectionDefault, TailKey(n), "");
}
void Settings::SetTail(int n, std::string_view line) {
  doc_.WriteString(kSectionDefault, TailKey(n), line);
}
int Settings::BarcodeType(int n) const {
  return doc_.ReadInteger(kSectionDefault, BarcodeTypeKey(n), kDefaultBarcodeType);
}
void Settings::SetBarcodeType(int n, int type) {
  doc_.WriteInteger(kSectionDefault, BarcodeTypeKey(n), type);
}
int Settings::ScaleBaudRate() const {
  return doc_.ReadInteger(kSectionDefault, kBaudRate, kDefaultScaleBaudRate);
}
void Settings::SetScaleBaudRate(int index) {
  doc_.WriteInteger(kSectionDefault, kBaudRate, index);
}
std::string Settings::VatRate(int n) const {
  return doc_.ReadString(kSectionDefault, VatKey(n), ZeroRate(separator_));
}
void Settings::SetVatRate(int n, std::string_view rate) {
  doc_.WriteString(kSectionDefault, VatKey(n), rate);
}
int Settings::TaxFree() const {
  return doc_.ReadInteger(kSectionDefault, kTaxFree, kDefaultTaxFree);
}
void Settings::SetTaxFree(int index) {
  doc_.WriteInteger(kSectionDefault, kTaxFree, index);
}
std::string Settings::Header(int n) const {
  return doc_.ReadString(kSectionDefault, HeaderKey(n), "");
}
void Settings::SetHeader(int n, std::string_view line) {
  doc_.WriteString(kSectionDefault, HeaderKey(n), line);
}
bool Settings::HeaderBold(int n) const {
  return doc_.ReadBool(kSectionDefault, HeaderBoldKey(n), false);
}
void Settings::SetHeaderBold(int n, bool bold) {
  doc_.WriteBool(kSectionDefault, HeaderBoldKey(n), bold);
}

}  // namespace plumgr
