#include "transfer/font_download.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "transfer/support/bytes.h"
#include "transfer/support/service_register.h"

namespace plumgr {
namespace {

std::string Font(std::size_t size) {
  std::string font(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    font[i] = static_cast<char>(i * 7 + i / 256);
  return font;
}

TEST(FontDownloadTest, SixHundredBytesGoAsThreePackagesTheLastKeepingTheSecondsTail) {
  test::ServiceRegister reg({});
  const std::string font = Font(600);
  ASSERT_TRUE(DownloadFontBytes(reg.Bus(), reg.Progress(), font));
  const std::vector<package> sent = reg.Packages(kFontType);
  ASSERT_EQ(sent.size(), 3u);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(sent[i].Number, i);
  EXPECT_EQ(std::string(sent[0].Data.begin(), sent[0].Data.end()), font.substr(0, 256));
  EXPECT_EQ(std::string(sent[1].Data.begin(), sent[1].Data.end()), font.substr(256, 256));
  const std::string third(sent[2].Data.begin(), sent[2].Data.end());
  EXPECT_EQ(third.substr(0, 88), font.substr(512, 88));
  EXPECT_EQ(third.substr(88), font.substr(256 + 88, 168)) << "bytes 88 to 255 of package 1";
  EXPECT_EQ(reg.Disconnects(), std::vector<bool>{false});
  EXPECT_FALSE(reg.Bus().isActive());
  EXPECT_EQ(reg.Progress().Margin(), 3);
  EXPECT_EQ(reg.Progress().Progress(), 3);
}

TEST(FontDownloadTest, AShortFontIsPaddedWithZerosNotWithAnEarlierExchange) {
  test::ServiceRegister reg({});
  reg.Bus().PackageData.fill(0xAA);
  ASSERT_TRUE(DownloadFontBytes(reg.Bus(), reg.Progress(), "FNT"));
  const std::vector<package> sent = reg.Packages(kFontType);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(test::Hex(std::span(sent[0].Data).first(5)), "46 4E 54 00 00");
  EXPECT_TRUE(std::all_of(sent[0].Data.begin() + 3, sent[0].Data.end(),
                          [](std::uint8_t b) { return b == 0; }));
}

TEST(FontDownloadTest, AnEmptyFontConnectsAndDisconnectsOnly) {
  test::ServiceRegister reg({});
  ASSERT_TRUE(DownloadFontBytes(reg.Bus(), reg.Progress(), ""));
  EXPECT_TRUE(reg.Packages(kFontType).empty());
  EXPECT_EQ(reg.Disconnects(), std::vector<bool>{false});
}

TEST(FontDownloadTest, ARefusedPackageShowsTheErrorWithoutDisconnect) {
  test::ServiceRegister reg({.RefuseType = kFontType, .RefuseAfter = 1});
  ServiceResult sent = DownloadFontBytes(reg.Bus(), reg.Progress(), Font(1000));
  EXPECT_EQ(sent.Outcome, ServiceOutcome::Failed);
  EXPECT_EQ(reg.Progress().StatusText(), "Download font...Error!");
  EXPECT_EQ(reg.Progress().Mode(), StatusMode::Error);
  EXPECT_TRUE(reg.Disconnects().empty());
  EXPECT_FALSE(reg.Bus().isActive());
  const std::vector<package> sent_packages = reg.Packages(kFontType);
  EXPECT_EQ(sent_packages.back().Number, 1) << "package 2 is never tried";
}

TEST(FontDownloadTest, AFailedConnectSendsNoDisconnect) {
  test::ServiceRegister reg({.Silent = true});
  ServiceResult sent = DownloadFontBytes(reg.Bus(), reg.Progress(), Font(10));
  EXPECT_EQ(sent.Outcome, ServiceOutcome::Failed);
  EXPECT_EQ(reg.Progress().StatusText(), "Connect...Error!");
  EXPECT_TRUE(reg.Disconnects().empty());
  EXPECT_FALSE(reg.Bus().isActive());
}

TEST(FontDownloadTest, AnUnreadableFileIsRefusedBeforeThePortOpens) {
  test::ServiceRegister reg({});
  const std::string missing =
      (std::filesystem::temp_directory_path() / "plumgr_no_such_font.fnt").string();
  ServiceResult sent = DownloadFont(reg.Bus(), reg.Progress(), missing);
  EXPECT_EQ(sent.Outcome, ServiceOutcome::FileError);
  EXPECT_NE(sent.Message.find(missing), std::string::npos) << sent.Message;
  EXPECT_TRUE(reg.Received().empty());
}

TEST(FontDownloadTest, AFontBeyondTheNumbersOfPackagesIsRefused) {
  test::ServiceRegister reg({});
  ServiceResult sent = DownloadFontBytes(reg.Bus(), reg.Progress(), Font(kMaxFontSize + 1));
  EXPECT_EQ(sent.Outcome, ServiceOutcome::FileError);
  EXPECT_TRUE(reg.Received().empty());
}

}  // namespace
}  // namespace plumgr
