#include "cli/verify_parameters.h"

#include <algorithm>

#include "data/definitions.h"
#include "data/settings_keys.h"
#include "data/settings_text.h"
#include "transfer/parameter_block.h"

namespace plumgr::cli {
namespace {

int FirstDifferingBit(std::uint8_t a, std::uint8_t b) {
  const unsigned differ = static_cast<unsigned>(a ^ b);
  int bit = 0;
  while (((differ >> bit) & 1u) == 0)
    ++bit;
  return bit;
}

// The settings key whose field holds byte `at` of the block.
std::string KeyAt(std::size_t at, const ParameterOffsets& o, const ParameterLayout& layout,
                  int flag_bit) {
  const auto h = static_cast<std::size_t>(layout.HeaderWidth);
  const auto t = static_cast<std::size_t>(layout.TailWidth);
  const auto nth = [at](std::size_t start, std::size_t width) {
    return static_cast<int>((at - start) / width) + 1;
  };
  if (at >= o.ScaleBaudRate) return "BaudRate";
  if (at >= o.LcdDark) return "Lcd Dark";
  if (at >= o.VatRates) return VatKey(nth(o.VatRates, 2)) + " or Tax-free";
  if (at >= o.ClerkNames) return ClerkNameKey(nth(o.ClerkNames, 10));
  if (at >= o.ClerkPasswords) return ClerkPasswordKey(nth(o.ClerkPasswords, 2));
  if (at >= o.PrintSpeed) return "Print Speed";
  if (at >= o.BarcodeTypes) return BarcodeTypeKey(nth(o.BarcodeTypes, 1));
  if (at >= o.Tails) return TailKey(nth(o.Tails, t));
  if (at >= o.Headers) return HeaderKey(nth(o.Headers, h));
  if (at >= o.Flags) return FlagKey(static_cast<int>(at - o.Flags), flag_bit);
  if (at >= o.SurchargeRate) return "+% rate";
  return "-% rate";
}

}  // namespace

std::optional<std::string> CompareParameters(std::span<const std::uint8_t> received,
                                             const std::string& parameter_file,
                                             std::uint8_t download_kinds, char decimal_separator) {
  const ParameterLayout layout{CurrentProfile().HeaderWidth, CurrentProfile().TailWidth};
  SettingsTextRead read = ReadSettingsTextFile(parameter_file);
  if (!read.Ok) return read.Message;
  const ParameterBlock held = ParameterBlockFromReceived(received);
  ParameterBlock expected = held;
  if (!MergeParameterSettings(expected, Settings(read.Document, decimal_separator),
                              ParameterGroupsOf(download_kinds), layout))
    return "the register model's parameter block cannot be compared";
  const auto end = held.begin() + static_cast<std::ptrdiff_t>(kParameterReadSize);
  const auto [differs, unused] = std::mismatch(held.begin(), end, expected.begin());
  if (differs == end) return std::nullopt;
  const auto at = static_cast<std::size_t>(differs - held.begin());
  return KeyAt(at, ParameterFieldOffsets(layout), layout,
               FirstDifferingBit(held[at], expected[at])) +
         " of \"" + parameter_file +
         "\" differs from what the register holds (parameter block byte " + std::to_string(at) +
         ")";
}

}  // namespace plumgr::cli
