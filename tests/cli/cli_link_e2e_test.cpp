// plumgr-cli test, detect and ports against the simulated register.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/support/run_process.h"
#include "cli/support/sim_process.h"
#include "data/ini_file.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;

class CliLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("plumgr_cli_link_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    settings_ = (dir_ / "SYSTEM.CFG").string();
  }
  void TearDown() override { fs::remove_all(dir_); }
  test::ProcessResult Cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--settings", settings_});
    return test::RunProcess(test::CliPath(), args, dir_.string());
  }
  fs::path dir_;
  std::string settings_;
};

TEST_F(CliLinkTest, TestConnectsAndDisconnectsAndWritesTheTrace) {
  test::SimProcess sim({"--no-line-rate", "--speeds", "38400"});
  ASSERT_FALSE(sim.Path().empty());
  test::ProcessResult r = Cli({"--port", sim.Path(), "--baud", "115200", "--trace",
                               (dir_ / "trace.txt").string(), "--json", "test"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  std::string trace = test::ReadWholeFile((dir_ / "trace.txt").string());
  EXPECT_NE(trace.find("Send data"), std::string::npos) << trace;
  EXPECT_NE(trace.find("Retry:"), std::string::npos) << "38400 is the fourth connect frame";
  EXPECT_NE(r.Out.find("Connect..."), std::string::npos) << r.Out;
}

TEST_F(CliLinkTest, TestAgainstASilentRegisterEndsWithTheConnectError) {
  test::SimProcess sim({"--no-line-rate", "--silent"});
  test::ProcessResult r = Cli({"--port", sim.Path(), "--quiet", "test"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(test::LastLines(r.Err, 1), "Connect...Error!") << r.Err;
}

TEST_F(CliLinkTest, APortThatCannotBeOpenedEndsWithTheTwoKnownLines) {
  test::ProcessResult r = Cli({"--port", (dir_ / "no-such-tty").string(), "test"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(test::LastLines(r.Err, 2),
            "Error opening " + (dir_ / "no-such-tty").string() + "!\nplease select other ports.");
}

TEST_F(CliLinkTest, ComNamesResolveThroughTheSettingsFile) {
  test::SimProcess sim({"--no-line-rate"});
  std::ofstream(settings_) << "[Comm]\r\nPort=3\r\nCOM3=" << sim.Path() << "\r\n";
  test::ProcessResult r = Cli({"--quiet", "test"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
}

TEST_F(CliLinkTest, DetectPrintsTheFirstPortThatAnswersAndAppliesOnlyWhenAsked) {
  test::SimProcess sim({"--no-line-rate"});
  std::ofstream(settings_) << "[Comm]\r\nCOM2=" << (dir_ / "absent").string()
                           << "\r\nCOM3=" << sim.Path() << "\r\n";
  test::ProcessResult r = Cli({"detect", "--port", "COM2,COM3,COM4"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, "COM3\n");
  EXPECT_NE(r.Err.find("COM2 : No kovo found."), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("COM3 : Kovo found!"), std::string::npos);
  EXPECT_EQ(r.Err.find("COM4"), std::string::npos) << "the search stops at the first found";
  EXPECT_EQ(IniFile(settings_).ReadInteger("Comm", "Port", -1), -1);

  r = Cli({"detect", "--apply", "--port", "COM3"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err << r.Out;
  EXPECT_EQ(IniFile(settings_).ReadInteger("Comm", "Port", -1), 3);
}

TEST_F(CliLinkTest, DetectRefusesToApplyADevicePath) {
  test::ProcessResult r = Cli({"detect", "--apply", "--port", "/dev/ttyUSB7"});
  EXPECT_EQ(r.ExitCode, 2);
}

TEST_F(CliLinkTest, PortsListsDevicesAndSucceeds) {
  EXPECT_EQ(Cli({"ports"}).ExitCode, 0);
}

}  // namespace
}  // namespace plumgr
