#include "transfer/parameter_block.h"

#include <algorithm>

#include "data/helpers.h"
#include "data/rounding.h"
#include "transfer/wire_numbers.h"

namespace plumgr {
namespace {

constexpr std::size_t kFirstField = 37;
constexpr std::size_t kClerkNameWidth = 10;
constexpr std::uint8_t kBoldMark = 0x01;
constexpr std::size_t kRateTextWidth = 5;

std::uint16_t RateValue(std::string_view text, char separator) {
  return static_cast<std::uint16_t>(
      RoundHalfEven(TextToFloat(text, 0.0, separator), kRateDecimals));
}

// Two integer digits, as the parameter dialog's edit mask writes rates.
std::string RateText(std::uint16_t value, char separator) {
  std::string text = FormatScaled(value, kRateDecimals, separator);
  if (text.size() < kRateTextWidth) text = "0" + text;
  return text;
}

// A bold line holds half as many characters: each goes after a bold mark, and
// positions beyond the text carry the mark and a NUL.
void PutBoldField(std::span<std::uint8_t> block, std::size_t offset, std::size_t width,
                  std::string_view text) {
  for (std::size_t i = 0; i < width / 2; ++i) {
    block[offset + 2 * i] = kBoldMark;
    block[offset + 2 * i + 1] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
  }
}

std::string GetBoldField(std::span<const std::uint8_t> block, std::size_t offset,
                         std::size_t width) {
  std::string text;
  for (std::size_t i = 0; i < width; ++i) {
    const std::uint8_t b = block[offset + i];
    if (b == kBoldMark) continue;
    if (b == 0) break;
    text.push_back(static_cast<char>(b));
  }
  return text;
}

void MergeParameterGroup(ParameterBlock& block, const Settings& settings,
                         const ParameterOffsets& at) {
  const char sep = settings.DecimalSeparator();
  PutBig16(block, at.DiscountRate, RateValue(settings.DiscountRate(), sep));
  PutBig16(block, at.SurchargeRate, RateValue(settings.SurchargeRate(), sep));
  for (int n = 0; n < kFlagBytes; ++n) {
    std::uint8_t bits = 0;
    for (int b = 0; b < 8; ++b)
      if (settings.Flag(n, b)) bits |= static_cast<std::uint8_t>(1u << b);
    block[at.Flags + n] = bits;
  }
  for (int i = 0; i < kBarcodeTypeCount; ++i)
    block[at.BarcodeTypes + i] = static_cast<std::uint8_t>(settings.BarcodeType(i + 1));
  block[at.PrintSpeed] = static_cast<std::uint8_t>(settings.PrintSpeed());
  for (int i = 0; i < kClerkCount; ++i) {
    const std::string password = settings.ClerkPassword(i + 1);
    PutBig16(block, at.ClerkPasswords + 2 * i,
             static_cast<std::uint16_t>(WholeNumberOrZero(TrimBlanksAndControls(password))));
    PutTextField(block, at.ClerkNames + kClerkNameWidth * i, kClerkNameWidth,
                 settings.ClerkName(i + 1));
  }
  block[at.LcdDark] = static_cast<std::uint8_t>(settings.LcdDark());
  block[at.ScaleBaudRate] = static_cast<std::uint8_t>(settings.ScaleBaudRate());
}

void MergeVatGroup(ParameterBlock& block, const Settings& settings, const ParameterOffsets& at) {
  const int tax_free = settings.TaxFree();
  for (int i = 1; i <= kVatRateCount; ++i) {
    const std::uint16_t rate = i == tax_free + 1
                                   ? kTaxFreeRate
                                   : RateValue(settings.VatRate(i), settings.DecimalSeparator());
    PutBig16(block, at.VatRates + 2 * (i - 1), rate);
  }
}

void MergeHeaderGroup(ParameterBlock& block, const Settings& settings,
                      const ParameterLayout& layout, const ParameterOffsets& at) {
  const auto h = static_cast<std::size_t>(layout.HeaderWidth);
  const auto t = static_cast<std::size_t>(layout.TailWidth);
  for (int i = 0; i < kHeaderCount; ++i) {
    const std::string line = settings.Header(i + 1);
    if (settings.HeaderBold(i + 1))
      PutBoldField(block, at.Headers + h * i, h, line);
    else
      PutTextField(block, at.Headers + h * i, h, line);
  }
  for (int i = 0; i < kTailCount; ++i)
    PutTextField(block, at.Tails + t * i, t, settings.Tail(i + 1));
}

}  // namespace

ParameterOffsets ParameterFieldOffsets(const ParameterLayout& layout) {
  const std::size_t lines = 5 * static_cast<std::size_t>(layout.HeaderWidth) +
                            2 * static_cast<std::size_t>(layout.TailWidth);
  return {.DiscountRate = kFirstField,
          .SurchargeRate = kFirstField + 2,
          .Flags = kFirstField + 4,
          .Headers = kFirstField + 8,
          .Tails = kFirstField + 8 + 5 * static_cast<std::size_t>(layout.HeaderWidth),
          .BarcodeTypes = 45 + lines,
          .PrintSpeed = 55 + lines,
          .ClerkPasswords = 180 + lines,
          .ClerkNames = 196 + lines,
          .VatRates = 277 + lines,
          .LcdDark = 328 + lines,
          .ScaleBaudRate = 337 + lines,
          .End = 338 + lines};
}

bool ParameterLayoutFits(const ParameterLayout& layout) {
  return layout.HeaderWidth >= 0 && layout.TailWidth >= 0 && layout.HeaderWidth <= 512 &&
         layout.TailWidth <= 512 && ParameterFieldOffsets(layout).End <= kParameterReadSize;
}

bool CopyParameterGroups(ParameterBlock& block, std::span<const std::uint8_t> from,
                         ParameterGroups groups, const ParameterLayout& layout) {
  if (from.size() < kParameterReadSize || !ParameterLayoutFits(layout)) return false;
  const ParameterOffsets at = ParameterFieldOffsets(layout);
  const auto copy = [&](std::size_t begin, std::size_t end) {
    std::copy(from.begin() + static_cast<std::ptrdiff_t>(begin),
              from.begin() + static_cast<std::ptrdiff_t>(end),
              block.begin() + static_cast<std::ptrdiff_t>(begin));
  };
  if (groups.Parameter) {
    copy(at.DiscountRate, at.Headers);  // the rates and the flag bytes
    copy(at.BarcodeTypes, at.PrintSpeed + 1);
    copy(at.ClerkPasswords, at.ClerkNames + kClerkCount * kClerkNameWidth);
    copy(at.LcdDark, at.LcdDark + 1);
    copy(at.ScaleBaudRate, at.ScaleBaudRate + 1);
  }
  if (groups.Header) copy(at.Headers, at.BarcodeTypes);  // header and tail lines
  if (groups.Vat) copy(at.VatRates, at.VatRates + 2 * kVatRateCount);
  return true;
}

ParameterGroups ParameterGroupsOf(std::uint8_t download_kinds) {
  return {.Parameter = (download_kinds & (1u << 3)) != 0,
          .Vat = (download_kinds & (1u << 4)) != 0,
          .Header = (download_kinds & (1u << 6)) != 0};
}

ParameterBlock ParameterBlockFromReceived(std::span<const std::uint8_t> received) {
  ParameterBlock block{};
  std::copy_n(received.begin(), std::min(received.size(), kParameterReadSize), block.begin());
  return block;
}

PackageBytes ParameterPackage(const ParameterBlock& block, int j) {
  PackageBytes data{};
  if (j < 0 || j >= kParameterSendPackages) return data;
  std::copy_n(block.begin() + kPackageDataSize * j, kPackageDataSize, data.begin());
  return data;
}

bool MergeParameterSettings(ParameterBlock& block, const Settings& settings, ParameterGroups groups,
                            const ParameterLayout& layout) {
  if (!ParameterLayoutFits(layout)) return false;
  const ParameterOffsets at = ParameterFieldOffsets(layout);
  if (groups.Parameter) MergeParameterGroup(block, settings, at);
  if (groups.Vat) MergeVatGroup(block, settings, at);
  if (groups.Header) MergeHeaderGroup(block, settings, layout, at);
  return true;
}

bool StoreParameterBlock(std::span<const std::uint8_t> received, Settings& settings,
                         const ParameterLayout& layout) {
  if (received.size() < kParameterReadSize || !ParameterLayoutFits(layout)) return false;
  const ParameterOffsets at = ParameterFieldOffsets(layout);
  const char sep = settings.DecimalSeparator();
  const auto h = static_cast<std::size_t>(layout.HeaderWidth);
  const auto t = static_cast<std::size_t>(layout.TailWidth);

  settings.SetDiscountRate(RateText(GetBig16(received, at.DiscountRate), sep));
  settings.SetSurchargeRate(RateText(GetBig16(received, at.SurchargeRate), sep));
  for (int n = 0; n < kFlagBytes; ++n)
    for (int b = 0; b < 8; ++b)
      settings.SetFlag(n, b, (received[at.Flags + n] >> b) & 1);
  for (int i = 0; i < kHeaderCount; ++i) {
    const std::size_t offset = at.Headers + h * i;
    const bool bold = h > 0 && received[offset] == kBoldMark;
    settings.SetHeader(
        i + 1, bold ? GetBoldField(received, offset, h) : GetTextField(received, offset, h));
    settings.SetHeaderBold(i + 1, bold);
  }
  for (int i = 0; i < kTailCount; ++i)
    settings.SetTail(i + 1, GetTextField(received, at.Tails + t * i, t));
  for (int i = 0; i < kBarcodeTypeCount; ++i)
    settings.SetBarcodeType(i + 1, received[at.BarcodeTypes + i]);
  settings.SetPrintSpeed(received[at.PrintSpeed]);
  for (int i = 0; i < kClerkCount; ++i) {
    settings.SetClerkPassword(i + 1, std::to_string(GetBig16(received, at.ClerkPasswords + 2 * i)));
    settings.SetClerkName(
        i + 1, GetTextField(received, at.ClerkNames + kClerkNameWidth * i, kClerkNameWidth));
  }
  for (int i = 1; i <= kVatRateCount; ++i) {
    const std::uint16_t rate = GetBig16(received, at.VatRates + 2 * (i - 1));
    if (rate == kTaxFreeRate)
      settings.SetTaxFree(i - 1);
    else
      settings.SetVatRate(i, RateText(rate, sep));
  }
  settings.SetLcdDark(received[at.LcdDark]);
  settings.SetScaleBaudRate(received[at.ScaleBaudRate]);
  return true;
}

}  // namespace plumgr
