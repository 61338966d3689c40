#include "transfer/parameter_block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/ini_document.h"
#include "transfer/support/bytes.h"

namespace plumgr {
namespace {

using test::Dec;
using test::Hex;

// Offsets for the one model's widths (24-character header and tail lines).
constexpr std::size_t kHeaders = 45;
constexpr std::size_t kBarcodeTypes = 213;
constexpr std::size_t kPrintSpeed = 223;
constexpr std::size_t kPasswords = 348;
constexpr std::size_t kClerkNames = 364;
constexpr std::size_t kVatRates = 445;
constexpr std::size_t kLcdDark = 496;
constexpr std::size_t kScaleBaudRate = 505;

const ParameterLayout kLayout{24, 24};
constexpr ParameterGroups kAll{true, true, true};

// What a register might send: every byte different from its neighbours.
std::vector<std::uint8_t> Received() {
  std::vector<std::uint8_t> bytes(kParameterReadSize);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return bytes;
}

std::string At(const ParameterBlock& block, std::size_t offset, std::size_t n) {
  return Hex(std::span(block).subspan(offset, n));
}

class ParameterBlockTest : public testing::TestWithParam<char> {
 protected:
  char sep() const { return GetParam(); }

  ParameterBlock Merged(const std::string& ini, ParameterGroups groups) {
    document_ = IniDocument::Parse("[Default]\r\n" + ini);
    Settings settings(document_, sep());
    ParameterBlock block = ParameterBlockFromReceived(Received());
    EXPECT_TRUE(MergeParameterSettings(block, settings, groups, kLayout));
    return block;
  }

  IniDocument document_;
};

TEST_P(ParameterBlockTest, OnlyTheVatGroupChangesOnlyTheVatRates) {
  const ParameterBlock block = Merged("", {.Vat = true});
  const std::vector<std::uint8_t> received = Received();
  for (std::size_t i = 0; i < kParameterReadSize; ++i) {
    if (i >= kVatRates && i < kVatRates + 18) continue;
    ASSERT_EQ(block[i], received[i]) << "byte " << i;
  }
  EXPECT_EQ(At(block, 512, 256), Hex(std::vector<std::uint8_t>(256, 0)));
  EXPECT_EQ(At(block, kVatRates, 18), "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 27 10");
}

TEST_P(ParameterBlockTest, RatesTravelAsHundredthsAndComeBackWithTwoDigits) {
  const ParameterBlock block =
      Merged("-% rate=" + Dec("5", sep()) + "\r\n+% rate=" + Dec("12.50", sep()) + "\r\n",
             {.Parameter = true});
  EXPECT_EQ(At(block, 37, 4), "01 F4 04 E2");

  IniDocument uploaded;
  Settings settings(uploaded, sep());
  ASSERT_TRUE(StoreParameterBlock(block, settings, kLayout));
  EXPECT_EQ(settings.DiscountRate(), Dec("05.00", sep()));
  EXPECT_EQ(settings.SurchargeRate(), Dec("12.50", sep()));
}

TEST_P(ParameterBlockTest, TaxFreeRateIsSentWhateverItsKeyHolds) {
  const ParameterBlock block =
      Merged("Tax-free=2\r\nVAT3=" + Dec("7", sep()) + "\r\nVAT1=" + Dec("23", sep()) + "\r\n",
             {.Vat = true});
  EXPECT_EQ(At(block, kVatRates, 6), "08 FC 00 00 27 10");
  EXPECT_EQ(At(block, kVatRates + 16, 2), "00 00");

  // Read back, the tax-free rate names "Tax-free" and leaves its own key alone.
  IniDocument uploaded = IniDocument::Parse("[Default]\r\nVAT3=keep\r\nTax-free=8\r\n");
  Settings settings(uploaded, sep());
  ASSERT_TRUE(StoreParameterBlock(block, settings, kLayout));
  EXPECT_EQ(settings.TaxFree(), 2);
  EXPECT_EQ(settings.VatRate(3), "keep");
  EXPECT_EQ(settings.VatRate(1), Dec("23.00", sep()));
  EXPECT_EQ(settings.VatRate(9), Dec("00.00", sep()));
}

TEST_P(ParameterBlockTest, TaxFreeOutsideTheRatesMakesNoRateTaxFree) {
  const ParameterBlock block = Merged("Tax-free=9\r\n", {.Vat = true});
  EXPECT_EQ(At(block, kVatRates, 18), Hex(std::vector<std::uint8_t>(18, 0)));
  IniDocument uploaded = IniDocument::Parse("[Default]\r\nTax-free=4\r\n");
  Settings settings(uploaded, sep());
  ASSERT_TRUE(StoreParameterBlock(block, settings, kLayout));
  EXPECT_EQ(settings.TaxFree(), 4);
}

TEST_P(ParameterBlockTest, BoldHeaderTakesHalfTheCharacters) {
  const ParameterBlock block = Merged("Header2=ABC\r\nHeaderBold2=1\r\n", {.Header = true});
  std::string expected = "01 41 01 42 01 43";
  for (int i = 0; i < 9; ++i)
    expected += " 01 00";
  EXPECT_EQ(At(block, kHeaders + 24, 24), expected);

  IniDocument uploaded;
  Settings settings(uploaded, sep());
  ASSERT_TRUE(StoreParameterBlock(block, settings, kLayout));
  EXPECT_EQ(settings.Header(2), "ABC");
  EXPECT_TRUE(settings.HeaderBold(2));
  EXPECT_FALSE(settings.HeaderBold(1));
}

TEST_P(ParameterBlockTest, PlainHeaderLeavesWhatFollowsItsNul) {
  const std::string full = "ABCDEFGHIJKLMNOPQRSTUVWX";
  const ParameterBlock block = Merged("Header1=" + full + "\r\nHeader2=abc\r\n", {.Header = true});
  const std::vector<std::uint8_t> received = Received();
  EXPECT_EQ(std::string(block.begin() + kHeaders, block.begin() + kHeaders + 24), full);
  EXPECT_EQ(At(block, kHeaders + 24, 4), "61 62 63 00");
  EXPECT_EQ(At(block, kHeaders + 28, 20),
            Hex(std::span(received).subspan(kHeaders + 28, 20)));  // as the register sent
  EXPECT_EQ(block[kHeaders + 48], 0);                              // the empty third line

  IniDocument uploaded;
  Settings settings(uploaded, sep());
  ASSERT_TRUE(StoreParameterBlock(block, settings, kLayout));
  EXPECT_EQ(settings.Header(1), full);
  EXPECT_EQ(settings.Header(2), "abc");
}

TEST_P(ParameterBlockTest, ClerkPasswordsKeepTheirLowSixteenBits) {
  const ParameterBlock block =
      Merged("ClerkPWD1=70000\r\nClerkPWD2=12a\r\nClerkPWD3=' 42 '\r\nClerkName1=Anna\r\n",
             {.Parameter = true});
  EXPECT_EQ(At(block, kPasswords, 6), "11 70 00 00 00 2A");
  EXPECT_EQ(At(block, kClerkNames, 5), "41 6E 6E 61 00");

  IniDocument uploaded;
  Settings settings(uploaded, sep());
  ASSERT_TRUE(StoreParameterBlock(block, settings, kLayout));
  EXPECT_EQ(settings.ClerkPassword(1), "4464");
  EXPECT_EQ(settings.ClerkPassword(2), "0");
  EXPECT_EQ(settings.ClerkName(1), "Anna");
}

TEST_P(ParameterBlockTest, MissingKeysSendTheirDefaults) {
  const ParameterBlock block = Merged("", kAll);
  EXPECT_EQ(At(block, 37, 8), "00 00 00 00 00 00 00 00");
  for (std::size_t line = 0; line < 7; ++line)
    EXPECT_EQ(block[kHeaders + 24 * line], 0);
  EXPECT_EQ(At(block, kBarcodeTypes, 11), "00 00 00 00 00 00 00 00 00 00 01");
  EXPECT_EQ(block[kPrintSpeed], 1);
  EXPECT_EQ(block[kLcdDark], 1);
  EXPECT_EQ(block[kScaleBaudRate], 0);
  EXPECT_EQ(At(block, kVatRates + 16, 2), "27 10");
}

TEST_P(ParameterBlockTest, EveryFieldSurvivesAnUploadAndADownload) {
  const std::string ini =
      "-% rate=" + Dec("2.5", sep()) + "\r\nFlag00=1\r\nFlag13=1\r\nFlag37=1\r\n" +
      "Header5=Shop\r\nTail2=Thanks\r\nBCode10=36\r\nPrint Speed=9\r\nClerkPWD8=65535\r\n" +
      "ClerkName8=0123456789AB\r\nVAT9=" + Dec("8", sep()) + "\r\nTax-free=0\r\n" +
      "Lcd Dark=8\r\nBaudRate=5\r\n";
  const ParameterBlock sent = Merged(ini, kAll);
  EXPECT_EQ(At(sent, 41, 4), "01 08 00 80");

  IniDocument uploaded;
  Settings settings(uploaded, sep());
  ASSERT_TRUE(StoreParameterBlock(sent, settings, kLayout));
  EXPECT_TRUE(uploaded.Find("Default", "Flag27").has_value());
  EXPECT_EQ(settings.ClerkName(8), "0123456789");

  ParameterBlock again = ParameterBlockFromReceived(sent);
  ASSERT_TRUE(MergeParameterSettings(again, settings, kAll, kLayout));
  EXPECT_EQ(Hex(again), Hex(sent));
}

INSTANTIATE_TEST_SUITE_P(Separators, ParameterBlockTest, testing::ValuesIn(test::kSeparators));

TEST(ParameterLayoutTest, GroupsOffsetsAndFit) {
  const ParameterGroups groups = ParameterGroupsOf(0b0101'1000);
  EXPECT_TRUE(groups.Parameter);
  EXPECT_TRUE(groups.Vat);
  EXPECT_TRUE(groups.Header);
  EXPECT_FALSE(ParameterGroupsOf(0b0010'0111).Parameter);

  const ParameterOffsets at = ParameterFieldOffsets(kLayout);
  EXPECT_EQ(at.Tails, 165u);
  EXPECT_EQ(at.VatRates, kVatRates);
  EXPECT_EQ(at.End, 506u);

  IniDocument document;
  Settings settings(document, '.');
  ParameterBlock block{};
  const ParameterLayout wide{40, 24};
  EXPECT_FALSE(ParameterLayoutFits(wide));
  EXPECT_FALSE(MergeParameterSettings(block, settings, kAll, wide));
  EXPECT_EQ(Hex(block), Hex(ParameterBlock{}));
  EXPECT_FALSE(StoreParameterBlock(std::span(block).first(511), settings, kLayout));
}

TEST(ParameterPackageTest, ThreePackagesOfTheBlock) {
  ParameterBlock block = ParameterBlockFromReceived(Received());
  EXPECT_EQ(Hex(ParameterPackage(block, 1)), Hex(std::span(block).subspan(256, 256)));
  EXPECT_EQ(Hex(ParameterPackage(block, 2)), Hex(PackageBytes{}));
}

}  // namespace
}  // namespace plumgr
