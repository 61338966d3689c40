// plumgr-cli download and upload against the real ecrsim program.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/support/run_process.h"
#include "cli/support/sim_process.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;

class CliTransferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("plumgr_cli_transfer_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    settings_ = (dir_ / "SYSTEM.CFG").string();
  }
  void TearDown() override { fs::remove_all(dir_); }
  test::ProcessResult Cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--settings", settings_, "--dump-dir", (dir_ / "dumps").string()});
    return test::RunProcess(test::CliPath(), args, dir_.string());
  }
  std::string Read(const std::string& name) { return test::ReadWholeFile((dir_ / name).string()); }

  fs::path dir_;
  std::string settings_;
};

TEST_F(CliTransferTest, ADownloadedSetComesBackAndRepeatedNamesAreReported) {
  test::SimProcess sim({"--log", "/dev/null", "--no-line-rate"});
  ASSERT_FALSE(sim.Path().empty());
  ASSERT_EQ(Cli({"fill-test-data", "shop"}).ExitCode, 0);
  const std::string kinds = "plu,department,recycling,fastsale";
  test::ProcessResult down =
      Cli({"--port", sim.Path(), "-q", "download", "shop", "--kinds", kinds, "--to", "12"});
  ASSERT_EQ(down.ExitCode, 0) << down.Err;
  EXPECT_EQ(down.Out, "") << "nothing repeated in an empty register";
  EXPECT_EQ(Read("dumps/downloadplu.hex").size(), 4u * 256);

  test::ProcessResult up =
      Cli({"--port", sim.Path(), "-q", "upload", "back", "--kinds", kinds, "--to", "12"});
  ASSERT_EQ(up.ExitCode, 0) << up.Err;
  std::vector<std::string> sent = test::CrLfLines(Read("shop.PLU"));
  std::vector<std::string> got = test::CrLfLines(Read("back.PLU"));
  ASSERT_EQ(got.size(), 12u);
  for (int i = 0; i < 12; ++i)
    EXPECT_EQ(got[i], sent[i]) << "PLU " << i + 1;
  EXPECT_EQ(Read("back.DEP"), Read("shop.DEP"));
  EXPECT_EQ(Read("back.RCY"), Read("shop.RCY"));

  // The register now holds the names: the comparison read of a 1..12 range
  // sees its first eight entries.
  test::ProcessResult again =
      Cli({"--port", sim.Path(), "-q", "download", "shop", "--kinds", "plu", "--to", "12"});
  ASSERT_EQ(again.ExitCode, 0) << again.Err;
  EXPECT_EQ(again.Out, (dir_ / "RepeatPLUReport.txt").string() + "\n");
  std::vector<std::string> report = test::CrLfLines(Read("RepeatPLUReport.txt"));
  ASSERT_EQ(report.size(), 9u);
  EXPECT_EQ(report[1], "1\t1234567800001\tPLU-1\t10\t2\t0");
}

// The whole test data set goes to the register and comes back into a new set.
// What the way changes: the parameter upload writes every register key into
// [Default] of the settings, so the .PAR copy gains the keys the register holds.
TEST_F(CliTransferTest, EverythingDownloadedComesBackUnchanged) {
  test::SimProcess sim({"--log", "/dev/null", "--no-line-rate"});
  std::ofstream(settings_) << "[Default]\r\nHeader1=Corner shop\r\nVAT1=23.00\r\nPrint Speed=2\r\n";
  ASSERT_EQ(Cli({"fill-test-data", "shop"}).ExitCode, 0);
  test::ProcessResult down =
      Cli({"--port", sim.Path(), "-q", "download", "shop", "--from", "1", "--to", "3000"});
  ASSERT_EQ(down.ExitCode, 0) << down.Err;
  test::ProcessResult up =
      Cli({"--port", sim.Path(), "-q", "upload", "back", "--from", "1", "--to", "3000"});
  ASSERT_EQ(up.ExitCode, 0) << up.Err;

  EXPECT_EQ(Read("back.PLU"), Read("shop.PLU"));
  EXPECT_EQ(Read("back.DEP"), Read("shop.DEP"));
  EXPECT_EQ(Read("back.RCY"), Read("shop.RCY"));
  EXPECT_EQ(Read("back.Sign"), Read("shop.Sign"));
  const std::string par = Read("back.PAR");
  EXPECT_NE(par.find("Header1=Corner shop\r\n"), std::string::npos) << par;
  EXPECT_NE(par.find("VAT1=23.00\r\n"), std::string::npos) << par;
}

TEST_F(CliTransferTest, UncleanReportsEndTheDownloadWithTheWarning) {
  test::SimProcess sim({"--log", "/dev/null", "--no-line-rate", "--reports-not-cleared"});
  ASSERT_EQ(Cli({"fill-test-data", "shop"}).ExitCode, 0);
  test::ProcessResult r =
      Cli({"--port", sim.Path(), "download", "shop", "--kinds", "plu,department"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(test::LastLine(r.Err), "ECR report don't clear!") << r.Err;
}

TEST_F(CliTransferTest, AFailedUploadWritesNoSet) {
  test::SimProcess sim({"--log", "/dev/null", "--no-line-rate", "--silent"});
  test::ProcessResult r = Cli({"--port", sim.Path(), "upload", "lost", "--kinds", "plu"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(test::LastLine(r.Err), "Connect...Error!") << r.Err;
  EXPECT_FALSE(fs::exists(dir_ / "lost.PLU"));
}

TEST_F(CliTransferTest, UsageErrorsExitWithTwo) {
  test::ProcessResult range = Cli({"download", "shop", "--from", "5", "--to", "3"});
  EXPECT_EQ(range.ExitCode, 2);
  EXPECT_EQ(test::LastLine(range.Err), "Invalid PLU range");
  EXPECT_EQ(Cli({"upload", "shop", "--to", "10001"}).ExitCode, 2);
  EXPECT_EQ(Cli({"upload", "shop", "--from", "x"}).ExitCode, 2);
  test::ProcessResult kind = Cli({"upload", "shop", "--kinds", "plu,vat"});
  EXPECT_EQ(kind.ExitCode, 2) << "vat is downloaded only";
  EXPECT_NE(kind.Err.find("vat"), std::string::npos) << kind.Err;
  EXPECT_EQ(Cli({"download", "absent"}).ExitCode, 2) << "a set that cannot be opened";
  EXPECT_EQ(Cli({"upload", (dir_ / "no" / "such" / "set").string()}).ExitCode, 2);
}

}  // namespace
}  // namespace plumgr
