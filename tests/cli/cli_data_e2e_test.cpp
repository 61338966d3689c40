// plumgr-cli fill-test-data and check, run as an operator runs them.

#include <gtest/gtest.h>

#include <fcntl.h>

#include <filesystem>
#include <fstream>

#include "cli/support/run_process.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;

class CliDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("plumgr_cli_data_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  test::ProcessResult Cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--settings", (dir_ / "SYSTEM.CFG").string()});
    return test::RunProcess(test::CliPath(), args, dir_.string());
  }
  fs::path dir_;
};

TEST_F(CliDataTest, TestDataSetIsWrittenAndChecksClean) {
  std::ofstream(dir_ / "SYSTEM.CFG") << "[Default]\r\nHeader1=Corner shop\r\n";
  test::ProcessResult fill = Cli({"fill-test-data", "shop"});
  ASSERT_EQ(fill.ExitCode, 0) << fill.Err;
  EXPECT_EQ(test::ReadWholeFile((dir_ / "shop.PAR").string()),
            "[Default]\r\nHeader1=Corner shop\r\n");
  std::string plu = test::ReadWholeFile((dir_ / "shop.PLU").string());
  EXPECT_EQ(plu.substr(0, 14), "1234567800001\t");
  EXPECT_EQ(std::count(plu.begin(), plu.end(), '\n'), 3000);

  test::ProcessResult check = Cli({"check", "shop.PLU"});
  EXPECT_EQ(check.ExitCode, 0) << check.Out << check.Err;
  EXPECT_EQ(check.Out, "");
}

TEST_F(CliDataTest, CheckReportsEveryFindingAndExitsOne) {
  std::ofstream(dir_ / "bad.PLU") << "1\tTea\t1.00\t20\r\n1\tTea\r\n";
  std::ofstream(dir_ / "bad.DEP") << "Tea\t0\r\n";
  test::ProcessResult check = Cli({"check", "bad.PLU"});
  EXPECT_EQ(check.ExitCode, 1);
  EXPECT_NE(
      check.Out.find("bad.PLU: row 1, column 4 (Department): not a whole number from 1 to 16"),
      std::string::npos)
      << check.Out;
  EXPECT_NE(check.Out.find("PLU name repeat: No. 1 and No. 2"), std::string::npos);
  EXPECT_NE(check.Out.find("PLU BCode repeat: No. 2 and No. 1"), std::string::npos);
  EXPECT_NE(check.Out.find("bad.DEP: row 1, column 2 (Tax)"), std::string::npos);
  EXPECT_NE(check.Out.find("Dept name and PLU name repeat: No. 1 and No. 1"), std::string::npos);
}

TEST_F(CliDataTest, UsageErrorsAndMissingFilesExitTwo) {
  EXPECT_EQ(Cli({"check"}).ExitCode, 2);
  test::ProcessResult unknown = Cli({"no-such-command"});
  EXPECT_EQ(unknown.ExitCode, 2);
  EXPECT_NE(unknown.Err.find("unknown command \"no-such-command\"; the commands are: check,"),
            std::string::npos)
      << unknown.Err;
  test::ProcessResult missing = Cli({"check", "absent.PLU"});
  EXPECT_EQ(missing.ExitCode, 2);
  EXPECT_NE(missing.Err.find("absent.PLU"), std::string::npos);
  test::ProcessResult unwritable = Cli({"fill-test-data", "/proc/no/such/dir/x.PLU"});
  EXPECT_EQ(unwritable.ExitCode, 2);
  EXPECT_NE(unwritable.Err.find("x."), std::string::npos) << unwritable.Err;
}

// A file named as typed ("shop") is not the set: every command means shop.PLU,
// as download always has, so check never passes a file download would refuse.
TEST_F(CliDataTest, EveryCommandNamesItsSetByTheSameRule) {
  ASSERT_EQ(Cli({"fill-test-data", "shop"}).ExitCode, 0);
  std::ofstream(dir_ / "shop") << "1\tTea\t1.00\t20\r\n";
  test::ProcessResult check = Cli({"check", "shop"});
  EXPECT_EQ(check.ExitCode, 0) << check.Out << check.Err;
  ASSERT_EQ(Cli({"export", "shop", "out.csv"}).ExitCode, 0);
  EXPECT_NE(test::ReadWholeFile((dir_ / "out.csv").string()).find("PLU-3000"), std::string::npos);
  ASSERT_EQ(Cli({"print", "shop", "--output", "out.txt"}).ExitCode, 0);
  EXPECT_NE(test::ReadWholeFile((dir_ / "out.txt").string()).find("PLU-3000"), std::string::npos);

  fs::remove(dir_ / "shop.PLU");
  for (const char* command : {"check", "export", "print", "convert"}) {
    std::vector<std::string> args = {command, "shop"};
    if (args[0] == "export") args.push_back("again.csv");
    if (args[0] == "convert") args.insert(args.end(), {"--to", "cp852"});
    test::ProcessResult missing = Cli(args);
    EXPECT_EQ(missing.ExitCode, 2) << command;
    EXPECT_NE(missing.Err.find("\"shop.PLU\" does not exist"), std::string::npos)
        << command << ": " << missing.Err;
  }
  EXPECT_EQ(test::ReadWholeFile((dir_ / "shop").string()), "1\tTea\t1.00\t20\r\n");
}

}  // namespace
}  // namespace plumgr
