#include "app/parameter_dialog_model.h"

#include <algorithm>

#include "app/rate_field.h"
#include "data/helpers.h"
#include "data/ini_file.h"
#include "data/settings_location.h"

namespace plumgr {
namespace {

// The download sends the trimmed password as a 16-bit number and 0 for a text
// that is no number, so only what arrives unchanged is accepted (empty is 0).
bool IsSendablePassword(std::string_view password) {
  const std::string_view trimmed = TrimBlanksAndControls(password);
  if (trimmed.empty()) return true;
  const std::optional<std::int64_t> number = ParseWholeNumber(trimmed);
  return number && *number >= 0 && *number <= kLargestClerkPassword;
}

std::optional<int> ScaleBaudSelection(int stored) {
  if (stored < 0 || stored >= static_cast<int>(kScaleBaudRates.size())) return std::nullopt;
  return stored;
}

}  // namespace

const std::vector<FlagBit>& ShownFlags() {
  static const std::vector<FlagBit> flags = [] {
    std::vector<FlagBit> shown;
    for (int bit = 0; bit < 8; ++bit)
      shown.push_back({0, bit});
    for (int bit = 0; bit < 8; ++bit)
      shown.push_back({1, bit});
    for (int bit = 0; bit <= 4; ++bit)
      shown.push_back({2, bit});
    return shown;
  }();
  return flags;
}

std::string FlagName(FlagBit flag) {
  return FlagKey(flag.Byte, flag.Bit);
}

FileResult ParameterDialogModel::Load() {
  IniReadResult read = SettingsFile(path_).Read();
  const Settings settings(read.Document, separator_);
  ParameterValues v;
  v.DiscountRate = RateFieldText(settings.DiscountRate(), separator_);
  v.SurchargeRate = RateFieldText(settings.SurchargeRate(), separator_);
  v.PrintSpeed = std::clamp(settings.PrintSpeed(), kPrintSpeedMin, kPrintSpeedMax);
  v.LcdDark = std::clamp(settings.LcdDark(), kLcdDarkMin, kLcdDarkMax);
  for (FlagBit flag : ShownFlags())
    v.Flags[flag.Byte][flag.Bit] = settings.Flag(flag.Byte, flag.Bit);
  for (int n = 1; n <= kClerkCount; ++n) {
    v.ClerkNames[n - 1] = settings.ClerkName(n);
    v.ClerkPasswords[n - 1] = settings.ClerkPassword(n);
  }
  for (int n = 1; n <= kTailCount; ++n)
    v.Tails[n - 1] = settings.Tail(n);
  for (int n = 1; n <= kBarcodeTypeCount; ++n)
    v.BarcodeTypes[n - 1] = std::clamp(settings.BarcodeType(n), kBarcodeTypeMin, kBarcodeTypeMax);
  stored_scale_baud_ = settings.ScaleBaudRate();
  v.ScaleBaudIndex = ScaleBaudSelection(stored_scale_baud_);
  values_ = std::move(v);
  if (!read.Ok) return FileResult::Failure(read.Message);
  return FileResult::Success();
}

bool ParameterDialogModel::SetDiscountRate(std::string_view shown) {
  std::optional<std::string> text = TypedRateText(shown, separator_);
  if (text) values_.DiscountRate = std::move(*text);
  return text.has_value();
}

bool ParameterDialogModel::SetSurchargeRate(std::string_view shown) {
  std::optional<std::string> text = TypedRateText(shown, separator_);
  if (text) values_.SurchargeRate = std::move(*text);
  return text.has_value();
}

void ParameterDialogModel::SetPrintSpeed(int speed) {
  values_.PrintSpeed = std::clamp(speed, kPrintSpeedMin, kPrintSpeedMax);
}

void ParameterDialogModel::SetLcdDark(int contrast) {
  values_.LcdDark = std::clamp(contrast, kLcdDarkMin, kLcdDarkMax);
}

void ParameterDialogModel::SetBarcodeType(int n, int type) {
  if (n < 1 || n > kBarcodeTypeCount) return;
  values_.BarcodeTypes[n - 1] = std::clamp(type, kBarcodeTypeMin, kBarcodeTypeMax);
}

void ParameterDialogModel::SetFlag(FlagBit flag, bool on) {
  for (FlagBit shown : ShownFlags())
    if (shown.Byte == flag.Byte && shown.Bit == flag.Bit) values_.Flags[flag.Byte][flag.Bit] = on;
}

void ParameterDialogModel::SetScaleBaudIndex(int index) {
  values_.ScaleBaudIndex = ScaleBaudSelection(index);
}

EditorResult ParameterDialogModel::Save() {
  for (int n = 1; n <= kClerkCount; ++n) {
    if (IsSendablePassword(values_.ClerkPasswords[n - 1])) continue;
    return EditorResult::Refused("Clerk" + std::to_string(n) +
                                     ": the password must be a whole number from 0 to " +
                                     std::to_string(kLargestClerkPassword) + ".",
                                 "ClerkPWDEd" + std::to_string(n));
  }
  const ParameterValues& v = values_;
  const int scale_baud = v.ScaleBaudIndex.value_or(stored_scale_baud_);
  FileResult written = SettingsFile(path_).Update([&](IniDocument& document) {
    Settings settings(document, separator_);
    settings.SetDiscountRate(v.DiscountRate);
    settings.SetSurchargeRate(v.SurchargeRate);
    settings.SetPrintSpeed(v.PrintSpeed);
    settings.SetLcdDark(v.LcdDark);
    for (FlagBit flag : ShownFlags())
      settings.SetFlag(flag.Byte, flag.Bit, v.Flags[flag.Byte][flag.Bit]);
    for (int n = 1; n <= kClerkCount; ++n) {
      settings.SetClerkName(n, v.ClerkNames[n - 1]);
      settings.SetClerkPassword(n, v.ClerkPasswords[n - 1]);
    }
    for (int n = 1; n <= kTailCount; ++n)
      settings.SetTail(n, v.Tails[n - 1]);
    for (int n = 1; n <= kBarcodeTypeCount; ++n)
      settings.SetBarcodeType(n, v.BarcodeTypes[n - 1]);
    settings.SetScaleBaudRate(scale_baud);
  });
  if (!written) return EditorResult::Refused(written.Message);
  return EditorResult::Stored();
}

}  // namespace plumgr
