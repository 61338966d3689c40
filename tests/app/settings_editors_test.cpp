// The parameter dialog, the VAT rate editor and the header editor against a
// real settings file: what OK writes, what it leaves alone, what it refuses,
// and what the parameter download then sends from the file.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/file_commands.h"
#include "app/header_editor_model.h"
#include "app/main_window_state.h"
#include "app/parameter_dialog_model.h"
#include "app/vat_rate_editor_model.h"
#include "data/ini_file.h"
#include "data/support/recording_ui_port.h"
#include "data/temp_dir.h"
#include "transfer/parameter_block.h"

namespace plumgr {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

class SettingsEditorsTest : public ::testing::TestWithParam<char> {
 protected:
  char Sep() const { return GetParam(); }
  std::string Rate(const char* whole, const char* cents) const {
    return std::string(whole) + Sep() + cents;
  }
  std::string Read(const char* key) const {
    return IniFile(path_).ReadString("Default", key, "<missing>");
  }
  // The block the parameter download would send for the chosen groups, on top
  // of a register that answered with zeros.
  ParameterBlock Sent(ParameterGroups groups) const {
    IniReadResult read = IniFile(path_).Read();
    Settings settings(read.Document, Sep());
    ParameterBlock block{};
    EXPECT_TRUE(MergeParameterSettings(block, settings, groups, {}));
    return block;
  }
  static std::uint16_t Big16(const ParameterBlock& block, std::size_t at) {
    return static_cast<std::uint16_t>(block[at] << 8 | block[at + 1]);
  }

  TempDir dir_;
  std::string path_ = dir_.File("SYSTEM.CFG");
  const ParameterOffsets at_ = ParameterFieldOffsets({});
};

TEST_P(SettingsEditorsTest, ParameterDialogWithoutAFileShowsTheDefaultsAndWritesNothing) {
  ParameterDialogModel dialog(path_, Sep());
  ASSERT_TRUE(dialog.Load());
  const ParameterValues& v = dialog.Values();
  EXPECT_EQ(v.DiscountRate, Rate("00", "00"));
  EXPECT_EQ(v.SurchargeRate, Rate("00", "00"));
  EXPECT_EQ(v.PrintSpeed, 1);
  EXPECT_EQ(v.LcdDark, 1);
  for (FlagBit flag : ShownFlags())
    EXPECT_FALSE(v.Flags[flag.Byte][flag.Bit]) << FlagName(flag);
  EXPECT_EQ(v.ClerkNames[0], "");
  EXPECT_EQ(v.BarcodeTypes[9], 0);
  EXPECT_EQ(v.ScaleBaudIndex, 0);
  EXPECT_FALSE(dialog.ScaleBaudVisible());
  EXPECT_FALSE(dialog.LcdDarkVisible());
  dialog.RevealLcdDark();
  EXPECT_TRUE(dialog.LcdDarkVisible());
  EXPECT_EQ(ShownFlags().size(), 21u);
  EXPECT_EQ(FlagName(ShownFlags().back()), "Flag24");
  EXPECT_FALSE(std::filesystem::exists(path_)) << "only OK writes";
}

TEST_P(SettingsEditorsTest, ParameterOkWritesItsKeysOnlyAndTheDownloadSendsThem) {
  const std::string tail(24, 'T');
  const std::string before =
      "; kept\r\n[Version]\r\nCompanyName=Shop\r\n[Comm]\r\nPort=3\r\n"
      "[Other]\r\nService=0\r\n[Default]\r\nFlag25=1\r\nFlag37=1\r\n"
      "VAT3=" +
      Rate("23", "00") + "\r\nHeader1=Sklep\r\nTail1=" + tail + "\r\nClerkPWD2=77\r\n";
  WriteBytes(path_, before);
  ::chmod(path_.c_str(), 0640);

  // A cancelled edit leaves no trace.
  ParameterDialogModel cancelled(path_, Sep());
  ASSERT_TRUE(cancelled.Load());
  cancelled.SetFlag({0, 0}, true);
  EXPECT_EQ(ReadBytes(path_), before);

  ParameterDialogModel dialog(path_, Sep());
  ASSERT_TRUE(dialog.Load());
  EXPECT_EQ(dialog.Values().Tails[0], tail);
  EXPECT_EQ(dialog.Values().ClerkPasswords[1], "77");
  dialog.SetFlag({0, 1}, true);  // "Corla"
  EXPECT_TRUE(dialog.ScaleBaudVisible());
  dialog.SetScaleBaudIndex(5);  // "2400"
  ASSERT_TRUE(dialog.SetDiscountRate(std::string(" 5") + Sep() + "  "));
  ASSERT_TRUE(dialog.SetSurchargeRate(std::string("12") + Sep() + "5"));
  EXPECT_FALSE(dialog.SetSurchargeRate("1x" + std::string(1, Sep()) + "00"));
  dialog.SetPrintSpeed(12);
  dialog.SetBarcodeType(3, 17);
  dialog.Edit().ClerkNames[0] = "Anna";
  dialog.Edit().ClerkPasswords[0] = " 4660 ";
  ASSERT_TRUE(dialog.Save());

  EXPECT_EQ(Read("BaudRate"), "5");
  EXPECT_EQ(Read("Flag01"), "1");
  EXPECT_EQ(Read("Flag00"), "0");
  EXPECT_EQ(Read("-% rate"), Rate("05", "00"));
  EXPECT_EQ(Read("+% rate"), Rate("12", "50"));
  EXPECT_EQ(Read("Print Speed"), "9");
  EXPECT_EQ(Read("Flag25"), "1") << "flags without a box are not written";
  EXPECT_EQ(Read("Flag26"), "<missing>");
  EXPECT_EQ(Read("Tail1"), tail);
  EXPECT_EQ(Read("VAT3"), Rate("23", "00"));
  EXPECT_EQ(Read("Header1"), "Sklep");
  const std::string after = ReadBytes(path_);
  EXPECT_EQ(after.rfind("; kept\r\n[Version]\r\nCompanyName=Shop\r\n[Comm]\r\nPort=3\r\n"
                        "[Other]\r\nService=0\r\n[Default]\r\nFlag25=1\r\nFlag37=1\r\n",
                        0),
            0u);
  struct stat info {};
  ASSERT_EQ(::stat(path_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u) << "an existing file keeps its permissions";

  const ParameterBlock sent = Sent({.Parameter = true});
  EXPECT_EQ(Big16(sent, at_.DiscountRate), 500);
  EXPECT_EQ(Big16(sent, at_.SurchargeRate), 1250);
  EXPECT_EQ(sent[at_.Flags], 0x02);
  EXPECT_EQ(sent[at_.Flags + 2], 0x20) << "Flag25 travels as it was";
  EXPECT_EQ(sent[at_.Flags + 3], 0x80);
  EXPECT_EQ(Big16(sent, at_.ClerkPasswords), 4660);
  EXPECT_EQ(sent[at_.BarcodeTypes + 2], 17);
  EXPECT_EQ(sent[at_.PrintSpeed], 9);
  EXPECT_EQ(sent[at_.ScaleBaudRate], 5);
}

TEST_P(SettingsEditorsTest, ParameterOkRefusesAPasswordTheRegisterWouldNotGet) {
  ParameterDialogModel dialog(path_, Sep());
  ASSERT_TRUE(dialog.Load());
  for (const char* refused : {"12a", "70000", "-1", "1 2"}) {
    dialog.Edit().ClerkPasswords[2] = refused;
    const EditorResult result = dialog.Save();
    EXPECT_FALSE(result.Ok) << refused;
    EXPECT_EQ(result.Field, "ClerkPWDEd3");
    EXPECT_EQ(result.Message, "Clerk3: the password must be a whole number from 0 to 65535.");
    EXPECT_FALSE(std::filesystem::exists(path_)) << "a refused OK writes nothing";
  }
  dialog.Edit().ClerkPasswords[2] = "65535";
  ASSERT_TRUE(dialog.Save());
  struct stat info {};
  ASSERT_EQ(::stat(path_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u) << "a new settings file is its owner's only";
}

TEST_P(SettingsEditorsTest, ParameterDialogShowsUploadedAndOddValuesAsItsFieldsCan) {
  // What the parameter upload stores (5 % comes back as 05.00).
  std::array<std::uint8_t, kParameterReadSize> received{};
  received[at_.DiscountRate] = 0x01;
  received[at_.DiscountRate + 1] = 0xF4;
  received[at_.Flags + 1] = 0x01;
  received[at_.ScaleBaudRate] = 7;
  ASSERT_TRUE(IniFile(path_).Update([&](IniDocument& doc) {
    Settings settings(doc, Sep());
    ASSERT_TRUE(StoreParameterBlock(received, settings, {}));
    settings.SetSurchargeRate("abc");
    settings.SetPrintSpeed(0);
    settings.SetLcdDark(12);
    settings.SetBarcodeType(4, 40);
  }));
  ParameterDialogModel dialog(path_, Sep());
  ASSERT_TRUE(dialog.Load());
  EXPECT_EQ(dialog.Values().DiscountRate, Rate("05", "00"));
  EXPECT_EQ(dialog.Values().SurchargeRate, Rate("00", "00")) << "sent as 0, shown as 0";
  EXPECT_EQ(dialog.Values().PrintSpeed, 1);
  EXPECT_EQ(dialog.Values().LcdDark, 8);
  EXPECT_EQ(dialog.Values().BarcodeTypes[3], 36);
  EXPECT_TRUE(dialog.Values().Flags[1][0]);
  EXPECT_EQ(dialog.Values().ScaleBaudIndex, std::nullopt) << "the list holds no seventh speed";
  ASSERT_TRUE(dialog.Save());
  EXPECT_EQ(Read("BaudRate"), "7") << "a speed the list does not hold is kept, not set to -1";
  EXPECT_EQ(Read("Flag10"), "1");
}

TEST_P(SettingsEditorsTest, VatEditorDisablesTheTaxFreeRateAndStillWritesIt) {
  VatRateEditorModel editor(path_, Sep());
  ASSERT_TRUE(editor.Load());
  for (int n = 1; n <= 9; ++n)
    EXPECT_EQ(editor.Rate(n), Rate("00", "00"));
  EXPECT_EQ(editor.TaxFree(), 8);
  EXPECT_FALSE(editor.RateEnabled(9));
  EXPECT_EQ(TaxFreeItem(2), "VAT C");

  editor.SetTaxFree(2);  // "VAT C"
  for (int n = 1; n <= 9; ++n)
    EXPECT_EQ(editor.RateEnabled(n), n != 3) << n;
  ASSERT_TRUE(editor.SetRate(1, "23" + std::string(1, Sep()) + "00"));
  ASSERT_TRUE(editor.SetRate(3, "7"));
  EXPECT_FALSE(editor.SetRate(2, "2" + std::string(1, Sep()) + "345"));
  EXPECT_EQ(editor.Rate(2), Rate("00", "00"));
  ASSERT_TRUE(editor.Save());
  EXPECT_EQ(Read("VAT3"), Rate("07", "00"));
  EXPECT_EQ(Read("Tax-free"), "2");

  const ParameterBlock sent = Sent({.Vat = true});
  EXPECT_EQ(Big16(sent, at_.VatRates), 2300);
  EXPECT_EQ(Big16(sent, at_.VatRates + 4), kTaxFreeRate);
  EXPECT_EQ(sent[at_.DiscountRate + 1], 0) << "only the VAT group is written";

  // A stored tax-free value outside the list selects nothing and is kept.
  ASSERT_TRUE(IniFile(path_).WriteInteger("Default", "Tax-free", 11));
  VatRateEditorModel again(path_, Sep());
  ASSERT_TRUE(again.Load());
  EXPECT_EQ(again.TaxFree(), std::nullopt);
  for (int n = 1; n <= 9; ++n)
    EXPECT_TRUE(again.RateEnabled(n));
  ASSERT_TRUE(again.Save());
  EXPECT_EQ(Read("Tax-free"), "11");
}

TEST_P(SettingsEditorsTest, HeaderBoldHalvesTheLimitKeepsLongerTextAndTravelsBold) {
  const std::string twenty(20, 'x');
  ASSERT_TRUE(IniFile(path_).WriteString("Default", "Header2", twenty));
  HeaderEditorModel editor(path_, 24);
  ASSERT_TRUE(editor.Load());
  EXPECT_EQ(editor.Line(2), twenty);
  EXPECT_EQ(editor.MaxLength(2), 24u);
  editor.SetBold(2, true);
  EXPECT_EQ(editor.MaxLength(2), 12u);
  EXPECT_FALSE(editor.AcceptsMore(2, editor.Line(2).size()));
  EXPECT_EQ(editor.Line(2), twenty) << "text already there is not shortened";
  editor.SetLine(1, "ABC");
  editor.SetBold(1, true);
  editor.SetBold(1, false);
  EXPECT_TRUE(editor.AcceptsMore(1, 23));
  editor.SetBold(1, true);
  ASSERT_TRUE(editor.Save());
  EXPECT_EQ(Read("HeaderBold1"), "1");
  EXPECT_EQ(Read("Header2"), twenty);
  EXPECT_EQ(Read("HeaderBold3"), "0");

  const ParameterBlock sent = Sent({.Header = true});
  const std::uint8_t bold_abc[] = {0x01, 'A', 0x01, 'B', 0x01, 'C', 0x01, 0x00};
  EXPECT_TRUE(std::equal(std::begin(bold_abc), std::end(bold_abc), sent.begin() + at_.Headers));
}

TEST_P(SettingsEditorsTest, EditedSettingsTravelWithTheDataFileSet) {
  test::RecordingUiPort ui;
  MainWindowState state(ui);
  state.StartUp({path_, dir_.File("dumps"), Sep()});
  ParameterDialogModel dialog(path_, Sep());
  ASSERT_TRUE(dialog.Load());
  dialog.Edit().ClerkNames[7] = "Ewa";
  dialog.SetFlag({2, 4}, true);
  ASSERT_TRUE(dialog.Save());
  VatRateEditorModel vat(path_, Sep());
  ASSERT_TRUE(vat.Load());
  ASSERT_TRUE(vat.SetRate(1, "23"));
  ASSERT_TRUE(vat.Save());
  ASSERT_TRUE(SaveAsName(state, dir_.File("shop.PLU")));

  dialog.Edit().ClerkNames[7] = "Olga";
  ASSERT_TRUE(dialog.Save());
  ASSERT_TRUE(vat.SetRate(1, "8"));
  ASSERT_TRUE(vat.Save());
  ASSERT_TRUE(OpenName(state, dir_.File("shop.PLU")));

  ASSERT_TRUE(dialog.Load());
  EXPECT_EQ(dialog.Values().ClerkNames[7], "Ewa");
  EXPECT_TRUE(dialog.Values().Flags[2][4]);
  ASSERT_TRUE(vat.Load());
  EXPECT_EQ(vat.Rate(1), Rate("23", "00"));
}

INSTANTIATE_TEST_SUITE_P(Separators, SettingsEditorsTest, ::testing::Values('.', ','));

}  // namespace
}  // namespace plumgr
