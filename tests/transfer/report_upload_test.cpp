#include "transfer/report_upload.h"

#include <gtest/gtest.h>

#include <QTimer>

#include "transfer/support/service_register.h"

namespace plumgr {
namespace {

PackageBytes Piece(std::string_view text) {
  PackageBytes data{};
  std::copy(text.begin(), text.end(), data.begin());
  return data;
}

PackageBytes Filled(char c) {
  PackageBytes data{};
  data.fill(static_cast<std::uint8_t>(c));
  return data;
}

TEST(ReportPieceTest, EndsAtTheFirstNulOrTakesAllBytes) {
  PackageBytes data = Piece("ABC");
  data[4] = 'X';  // behind the NUL
  EXPECT_EQ(ReportPiece(data), "ABC");
  EXPECT_EQ(ReportPiece(Filled('z')), std::string(256, 'z'));
  EXPECT_EQ(ReportPiece(PackageBytes{}), "");
}

TEST(ReportUploadTest, ConcatenatesPiecesUntilTheNulPieceKeepingTheRegistersBytes) {
  test::ServiceRegister reg({.Report = [](int n) {
    if (n == 0) return Filled('a');
    if (n == 1) return Piece("line\r\nzweite \xE8\xE1st\n");
    return PackageBytes{};
  }});
  ReportUploadResult report = UploadReport(reg.Bus(), reg.Progress());
  ASSERT_TRUE(report.Result);
  EXPECT_EQ(report.Text, std::string(256, 'a') + "line\r\nzweite \xE8\xE1st\n");
  const std::vector<package> asked = reg.Packages(kReportType);
  ASSERT_EQ(asked.size(), 3u) << "the NUL piece is requested, then no more";
  EXPECT_EQ(asked[2].Number, 2);
  EXPECT_EQ(reg.Disconnects(), std::vector<bool>{false});
  EXPECT_FALSE(reg.Bus().isActive());
  EXPECT_FALSE(reg.Progress().Visible());
  EXPECT_EQ(reg.Progress().StatusText(), "Disconnect...");
  EXPECT_EQ(reg.Progress().Margin(), kReportPackageLimit);
  EXPECT_EQ(reg.Progress().Progress(), 3);
}

TEST(ReportUploadTest, AnEmptyFirstPieceIsAnEmptyReport) {
  test::ServiceRegister reg({});
  ReportUploadResult report = UploadReport(reg.Bus(), reg.Progress());
  ASSERT_TRUE(report.Result);
  EXPECT_EQ(report.Text, "");
  EXPECT_EQ(reg.Packages(kReportType).size(), 1u);
}

TEST(ReportUploadTest, ARegisterThatNeverEndsIsReadFor564Packages) {
  test::ServiceRegister reg(
      {.Report = [](int n) { return Filled(static_cast<char>('A' + n % 26)); }});
  ReportUploadResult report = UploadReport(reg.Bus(), reg.Progress());
  ASSERT_TRUE(report.Result);
  EXPECT_EQ(report.Text.size(), 564u * 256u);
  EXPECT_EQ(report.Text.substr(563 * 256, 3), std::string(3, static_cast<char>('A' + 563 % 26)));
  const std::vector<package> asked = reg.Packages(kReportType);
  ASSERT_EQ(asked.size(), 564u);
  EXPECT_EQ(asked.back().Number, 563);
  EXPECT_EQ(reg.Progress().Progress(), 564);
}

TEST(ReportUploadTest, AFailingPieceShowsTheErrorWithoutDisconnectAndClosesThePort) {
  test::ServiceRegister reg(
      {.Report = [](int) { return Filled('x'); }, .RefuseType = kReportType, .RefuseAfter = 2});
  ReportUploadResult report = UploadReport(reg.Bus(), reg.Progress());
  EXPECT_EQ(report.Result.Outcome, ServiceOutcome::Failed);
  EXPECT_EQ(report.Text, "") << "nothing of a broken report is handed on";
  EXPECT_EQ(reg.Progress().Mode(), StatusMode::Error);
  EXPECT_EQ(reg.Progress().StatusText(), "Upload report...Error!");
  EXPECT_TRUE(reg.Disconnects().empty());
  EXPECT_FALSE(reg.Bus().isActive());
}

TEST(ReportUploadTest, AFailedConnectShowsTheConnectError) {
  test::ServiceRegister reg({.Silent = true});
  ReportUploadResult report = UploadReport(reg.Bus(), reg.Progress());
  EXPECT_EQ(report.Result.Outcome, ServiceOutcome::Failed);
  EXPECT_EQ(reg.Progress().StatusText(), "Connect...Error!");
  EXPECT_TRUE(reg.Disconnects().empty()) << "no disconnect after a failed connect";
  EXPECT_TRUE(reg.Packages(kReportType).empty());
  EXPECT_FALSE(reg.Bus().isActive());
}

TEST(ReportUploadTest, CancelEndsTheWaitAtOnceWithoutAnErrorAndClosesThePort) {
  test::ServiceRegister reg({.IgnoreType = kReportType});
  reg.Bus().SetRetryInterval(60000);
  QTimer::singleShot(100, [&] { reg.Progress().PressCancel(); });
  ReportUploadResult report = UploadReport(reg.Bus(), reg.Progress());
  EXPECT_EQ(report.Result.Outcome, ServiceOutcome::Failed);
  EXPECT_EQ(reg.Progress().State(), ProgressState::Closed);
  EXPECT_EQ(reg.Progress().Mode(), StatusMode::Normal) << "no error after a Cancel";
  EXPECT_EQ(reg.Packages(kReportType).size(), 1u) << "no repeat after a Cancel";
  EXPECT_FALSE(reg.Bus().isActive());
}

TEST(ReportUploadTest, APortThatDoesNotOpenEndsAtOnce) {
  TKovoIBusComm bus;
  bus.SetCommName("/nonexistent/tty");
  ProgressModel progress(&bus);
  ReportUploadResult report = UploadReport(bus, progress);
  EXPECT_EQ(report.Result.Outcome, ServiceOutcome::PortNotOpened);
  EXPECT_FALSE(progress.Visible()) << "no progress window without a port";
}

}  // namespace
}  // namespace plumgr
