#pragma once
// The parameter dialog ("Parameter", ParaDlg): the register's general
// parameters as [Default] of the settings file holds them. Loaded from the
// file each time the dialog opens and written back only on OK, key by key, so
// every other line of the file (the port, the model, the VAT rates, the
// header, the flags the dialog does not show) stays as it was.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/editor_result.h"
#include "data/file_io.h"
#include "data/settings_keys.h"

namespace plumgr {

inline constexpr int kPrintSpeedMin = 1;
inline constexpr int kPrintSpeedMax = 9;
inline constexpr int kLcdDarkMin = 1;
inline constexpr int kLcdDarkMax = 8;
inline constexpr int kBarcodeTypeMin = 0;
inline constexpr int kBarcodeTypeMax = 36;
inline constexpr std::size_t kClerkTextLimit = 10;
inline constexpr std::size_t kTailTextLimit = 24;
// The largest password the register's 16-bit field holds.
inline constexpr long kLargestClerkPassword = 65535;

// The scale line speeds of BaudComboBox; the stored value is the index.
inline constexpr std::array<const char*, 6> kScaleBaudRates = {"9600",  "19200",  "38400",
                                                               "57600", "115200", "2400"};

struct FlagBit {
  int Byte = 0;
  int Bit = 0;
};

// The flags that have a check box (Flag00..Flag07, Flag10..Flag17,
// Flag20..Flag24), in the order shown.
const std::vector<FlagBit>& ShownFlags();

// "Flag" + byte digit + bit digit: the check box's objectName and the key.
std::string FlagName(FlagBit flag);

struct ParameterValues {
  std::string DiscountRate;   // DecRateME, "-% rate", in the field's form
  std::string SurchargeRate;  // IncRateME, "+% rate"
  int PrintSpeed = 1;         // PrnSpeedSE
  int LcdDark = 1;            // LcdDarkSE
  std::array<std::array<bool, 8>, kFlagBytes> Flags{};
  std::array<std::string, kClerkCount> ClerkNames;      // ClerkNameEd1..8
  std::array<std::string, kClerkCount> ClerkPasswords;  // ClerkPWDEd1..8
  std::array<std::string, kTailCount> Tails;            // TailEd1, TailEd2 (hidden)
  std::array<int, kBarcodeTypeCount> BarcodeTypes{};    // BCodeSE1..10
  // BaudComboBox's selection; nothing when the stored index is not in the list,
  // and OK then keeps the stored value instead of writing "no selection".
  std::optional<int> ScaleBaudIndex;
};

class ParameterDialogModel {
 public:
  ParameterDialogModel(std::string settings_path, char decimal_separator)
      : path_(std::move(settings_path)), separator_(decimal_separator) {}

  // Reads [Default] into the fields (a missing file or key gives its default).
  // Spins take stored values clamped to their ranges, as a spin shows them. A
  // file that exists but cannot be read gives the defaults and its message.
  FileResult Load();

  const ParameterValues& Values() const { return values_; }
  // Free fields: the view sets them as typed (clerk texts, tails).
  ParameterValues& Edit() { return values_; }

  // Typed into a masked rate field; false (and unchanged) when not in its form.
  bool SetDiscountRate(std::string_view shown);
  bool SetSurchargeRate(std::string_view shown);
  void SetPrintSpeed(int speed);
  void SetLcdDark(int contrast);
  void SetBarcodeType(int n, int type);  // n from 1
  void SetFlag(FlagBit flag, bool on);
  void SetScaleBaudIndex(int index);

  // "Corla" (Flag01) ticked shows the scale speed list and its label.
  bool ScaleBaudVisible() const { return values_.Flags[0][1]; }
  // Ctrl+Alt+F3 in the dialog shows the contrast spin and its label.
  bool LcdDarkVisible() const { return lcd_dark_visible_; }
  void RevealLcdDark() { lcd_dark_visible_ = true; }

  // OK: refuses a clerk password the register cannot hold, otherwise writes the
  // dialog's keys in the order they were read. Refused or failed: nothing written.
  EditorResult Save();

 private:
  std::string path_;
  char separator_;
  ParameterValues values_;
  bool lcd_dark_visible_ = false;
  // The stored scale speed index, kept when the list selects nothing.
  int stored_scale_baud_ = kDefaultScaleBaudRate;
};

}  // namespace plumgr
