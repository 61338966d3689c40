#include "transfer/memory_dump.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/memory_range_model.h"
#include "data/support/recording_ui_port.h"
#include "transfer/support/bytes.h"
#include "transfer/support/service_register.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

TEST(MemoryPageRequestTest, CarriesTheLow16BitsOfThePageAndTheKindTimes16) {
  PackageBytes rom = MemoryPageRequest(0x12345, MemoryKind::Rom);
  EXPECT_EQ(test::Hex(std::span(rom).first(4)), "45 23 00 00");
  PackageBytes ram = MemoryPageRequest(0x1F, MemoryKind::Ram);
  EXPECT_EQ(test::Hex(std::span(ram).first(4)), "1F 00 10 00");
  EXPECT_TRUE(std::all_of(ram.begin() + 3, ram.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(PageListingTest, LinesShowAddressHexBytesAndCharacters) {
  PackageBytes data{};
  for (std::size_t i = 0; i < data.size(); ++i)
    data[i] = static_cast<std::uint8_t>(i);
  data[0] = 'A';
  data[1] = 'B';
  data[2] = 0x00;
  data[3] = 0x1F;
  data[4] = 0x20;
  data[5] = 0x7F;
  data[6] = 0xE8;
  const std::string listing = PageListing(0x12, data);
  const std::string first = listing.substr(0, listing.find("\r\n"));
  EXPECT_EQ(first, std::string("00001200  41 42 00 1F 20 7F E8 07 08 09 0A 0B 0C 0D 0E 0F ") +
                       "AB.. \x7F\xE8.........");
  EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 16);
  EXPECT_EQ(listing.substr(listing.rfind("0000"), 10), "000012F0  ");
  EXPECT_EQ(listing.size(), 16u * (10 + 48 + 16 + 2));
}

TEST(PageListingTest, AddressesBeyond32BitsShowTheFullValue) {
  EXPECT_EQ(PageListing(0x01000000, PackageBytes{}).substr(0, 11), "100000000  ");
}

class MemoryDumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("plumgr_dump_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Dir() const { return (dir_ / "dumps").string(); }

  fs::path dir_;
};

TEST_F(MemoryDumpTest, TwoRamPagesFrom1FGoToTempBinAndTempLog) {
  test::ServiceRegister reg({});
  MemoryDumpResult dump = DumpMemory(reg.Bus(), reg.Progress(), {0x1F, 2, MemoryKind::Ram}, Dir());
  ASSERT_TRUE(dump.Result) << dump.Result.Message;
  EXPECT_EQ(dump.BinPath, (fs::path(Dir()) / "TEMP.BIN").string());
  EXPECT_EQ(dump.LogPath, (fs::path(Dir()) / "TEMP.LOG").string());

  const std::vector<package> asked = reg.Packages(kMemoryPageType);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(test::Hex(std::span(asked[1].Data).first(3)), "20 00 10");

  const PackageBytes first = test::TestPage(0x1F, 1);
  const PackageBytes second = test::TestPage(0x20, 1);
  std::string bin(first.begin(), first.end());
  bin.append(second.begin(), second.end());
  EXPECT_EQ(ReadAll(dump.BinPath), bin);
  EXPECT_EQ(ReadAll(dump.LogPath), PageListing(0x1F, first) + PageListing(0x20, second));
  EXPECT_EQ(ReadAll(dump.LogPath).substr(0, 10), "00001F00  ");
  EXPECT_EQ(reg.Disconnects(), std::vector<bool>{false});
  EXPECT_FALSE(reg.Bus().isActive());
  EXPECT_EQ(reg.Progress().Margin(), 2);
}

TEST_F(MemoryDumpTest, ACountOfZeroGivesEmptyFiles) {
  test::ServiceRegister reg({});
  MemoryDumpResult dump = DumpMemory(reg.Bus(), reg.Progress(), {5, 0, MemoryKind::Rom}, Dir());
  ASSERT_TRUE(dump.Result);
  EXPECT_TRUE(reg.Packages(kMemoryPageType).empty());
  EXPECT_EQ(fs::file_size(dump.BinPath), 0u);
  EXPECT_EQ(fs::file_size(dump.LogPath), 0u);
}

TEST_F(MemoryDumpTest, AFailingPageKeepsThePagesBeforeItAndTheOldListing) {
  fs::create_directories(Dir());
  std::ofstream(fs::path(Dir()) / "TEMP.LOG") << "old listing";
  test::ServiceRegister reg({.RefuseType = kMemoryPageType, .RefuseAfter = 1});
  MemoryDumpResult dump = DumpMemory(reg.Bus(), reg.Progress(), {0, 3, MemoryKind::Rom}, Dir());
  EXPECT_EQ(dump.Result.Outcome, ServiceOutcome::Failed);
  EXPECT_EQ(reg.Progress().StatusText(), "Receive Data...Error!");
  EXPECT_EQ(reg.Disconnects(), std::vector<bool>{true}) << "one error disconnect";
  EXPECT_FALSE(reg.Bus().isActive());
  const PackageBytes first = test::TestPage(0, 0);
  EXPECT_EQ(ReadAll(fs::path(Dir()) / "TEMP.BIN"), std::string(first.begin(), first.end()));
  EXPECT_EQ(ReadAll(fs::path(Dir()) / "TEMP.LOG"), "old listing");
}

TEST_F(MemoryDumpTest, AFailedConnectSendsOneErrorDisconnectAndTouchesNoFile) {
  test::ServiceRegister reg({.Silent = true});
  MemoryDumpResult dump = DumpMemory(reg.Bus(), reg.Progress(), {0, 1, MemoryKind::Rom}, Dir());
  EXPECT_EQ(dump.Result.Outcome, ServiceOutcome::Failed);
  EXPECT_EQ(reg.Progress().StatusText(), "Connect...Error!");
  EXPECT_EQ(reg.Disconnects(), std::vector<bool>(3, true))
      << "one error disconnect, sent three times since nobody answers it";
  EXPECT_FALSE(fs::exists(Dir()));
  EXPECT_FALSE(reg.Bus().isActive());
}

TEST_F(MemoryDumpTest, ADumpDirectoryThatCannotBeMadeIsAFileErrorWithThePortClosed) {
  fs::create_directories(dir_);
  std::ofstream(dir_ / "dumps") << "a file in the directory's place";
  test::ServiceRegister reg({});
  MemoryDumpResult dump = DumpMemory(reg.Bus(), reg.Progress(), {0, 1, MemoryKind::Rom}, Dir());
  EXPECT_EQ(dump.Result.Outcome, ServiceOutcome::FileError);
  EXPECT_NE(dump.Result.Message.find("TEMP.BIN"), std::string::npos) << dump.Result.Message;
  EXPECT_TRUE(reg.Packages(kMemoryPageType).empty());
  EXPECT_EQ(reg.Disconnects(), std::vector<bool>{true});
  EXPECT_FALSE(reg.Bus().isActive());
}

TEST(MemoryRangeModelTest, BaseKeyFilterLetsThroughControlAndHexDigitsOnly) {
  for (char c : std::string("0123456789ABCDEFabcdef\b\r\x1b"))
    EXPECT_TRUE(BaseKeyAllowed(c)) << int(c);
  for (char c : std::string("GgxX -+$ \x7F\xC1"))
    EXPECT_FALSE(BaseKeyAllowed(c)) << int(c);
}

TEST(MemoryRangeModelTest, FieldsConvertAsHexBaseAndDecimalCount) {
  MemoryRangeModel model;
  EXPECT_EQ(model.BaseText, "0");
  EXPECT_EQ(model.CountText, "8");
  model.BaseText = "1f";
  model.CountText = "2";
  model.KindIndex = 1;
  std::optional<MemoryRange> range = ConvertRange(model);
  ASSERT_TRUE(range);
  EXPECT_EQ(range->FirstPage, 0x1Fu);
  EXPECT_EQ(range->Count, 2);
  EXPECT_EQ(range->Kind, MemoryKind::Ram);
  EXPECT_EQ(ParseHexBase("FFFFFFFF"), 0xFFFFFFFFu);
  EXPECT_FALSE(ParseHexBase("100000000")) << "beyond 32 bits";
  EXPECT_FALSE(ParseHexBase(""));
  EXPECT_FALSE(ParseHexBase("1G"));
  EXPECT_EQ(ParseDecimalCount("-3"), -3) << "the count field takes any whole number";
  EXPECT_FALSE(ParseDecimalCount("2a"));
  EXPECT_FALSE(ParseDecimalCount("+-2"));
}

TEST(MemoryRangeModelTest, OkWithAFieldThatDoesNotConvertBeepsAndGivesNoRange) {
  test::RecordingUiPort ui;
  MemoryRangeModel model;
  const auto ok = [](MemoryRangeModel& m) {
    EXPECT_EQ(m.Caption, kUploadDataRangeCaption);
    m.BaseText = "";
    return true;
  };
  EXPECT_FALSE(RunMemoryRangeDialog(model, kUploadDataRangeCaption, ok, ui));
  EXPECT_EQ(ui.Beeps, 1);
  EXPECT_EQ(model.BaseText, "") << "the fields keep what was typed";

  const auto cancel = [](MemoryRangeModel&) { return false; };
  EXPECT_FALSE(RunMemoryRangeDialog(model, kUploadDataRangeCaption, cancel, ui));
  EXPECT_EQ(ui.Beeps, 1) << "Cancel does not beep";
}

}  // namespace
}  // namespace plumgr
