// plumgr-cli report, dump-memory and download-font against the ecrsim program.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/support/run_process.h"
#include "cli/support/sim_process.h"
#include "transfer/memory_dump.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;

// The hexadecimal data of the state file's line "font NUMBER HEX" as bytes.
std::string StateFont(const std::string& state, int number) {
  const std::string key = "font " + std::to_string(number) + " ";
  const std::size_t at = state.find(key);
  if (at == std::string::npos) return {};
  const std::size_t start = at + key.size();
  const std::string hex = state.substr(start, state.find('\n', start) - start);
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

class CliServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("plumgr_cli_service_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    settings_ = (dir_ / "SYSTEM.CFG").string();
  }
  void TearDown() override { fs::remove_all(dir_); }
  test::ProcessResult Cli(const std::string& port, std::vector<std::string> args) {
    args.insert(args.begin(),
                {"--settings", settings_, "--dump-dir", Path("dumps"), "--quiet", "--port", port});
    return test::RunProcess(test::CliPath(), args, dir_.string());
  }
  // ecrsim's frame log goes to a file, out of the test's output.
  std::vector<std::string> Sim(std::vector<std::string> args) const {
    args.insert(args.end(), {"--no-line-rate", "--log", Path("sim.log")});
    return args;
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(Path(name), std::ios::binary) << bytes;
    return Path(name);
  }

  fs::path dir_;
  std::string settings_;
};

TEST_F(CliServiceTest, ReportKeepsTheRegistersBytesInAFileAndOnStdout) {
  std::string text;
  for (int i = 0; i < 40; ++i)
    text += "Line " + std::to_string(i) + " \xA3\xB9\xEA z\xB3ot\xF3wek\r\n";
  test::SimProcess sim(Sim({"--report-file", Write("report.txt", text)}));
  ASSERT_FALSE(sim.Path().empty());
  test::ProcessResult r = Cli(sim.Path(), {"report", "--output", Path("out.txt")});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(test::ReadWholeFile(Path("out.txt")), text);

  r = Cli(sim.Path(), {"report"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, text);
}

TEST_F(CliServiceTest, DumpMemoryWritesTempBinAndItsListingAndPrintsTheirPaths) {
  test::SimProcess sim(Sim({}));
  test::ProcessResult r = Cli(sim.Path(), {"dump-memory", "--base", "1F", "--count", "2", "--ram"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const std::string bin_path = (dir_ / "dumps" / "TEMP.BIN").string();
  const std::string log_path = (dir_ / "dumps" / "TEMP.LOG").string();
  EXPECT_EQ(r.Out, bin_path + "\n" + log_path + "\n");
  const std::string bin = test::ReadWholeFile(bin_path);
  ASSERT_EQ(bin.size(), 512u);
  PackageBytes first{}, second{};
  std::copy_n(bin.begin(), 256, first.begin());
  std::copy_n(bin.begin() + 256, 256, second.begin());
  EXPECT_EQ(test::ReadWholeFile(log_path), PageListing(0x1F, first) + PageListing(0x20, second));
}

TEST_F(CliServiceTest, DownloadFontSendsThePackagesTheRegisterKeeps) {
  std::string font(600, '\0');
  for (std::size_t i = 0; i < font.size(); ++i)
    font[i] = static_cast<char>(i % 251);
  const std::string state = Path("state.txt");
  {
    test::SimProcess sim(Sim({"--save-state", state}));
    test::ProcessResult r = Cli(sim.Path(), {"download-font", Write("x.fnt", font)});
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    sim.Stop();
  }
  const std::string saved = test::ReadWholeFile(state);
  EXPECT_EQ(StateFont(saved, 0), font.substr(0, 256));
  EXPECT_EQ(StateFont(saved, 1), font.substr(256, 256));
  EXPECT_EQ(StateFont(saved, 2), font.substr(512, 88) + font.substr(256 + 88, 168));
}

TEST_F(CliServiceTest, TransferFailuresEndWithTheProgressWindowsErrorText) {
  struct Case {
    std::vector<std::string> Args;
    std::string HangupAfter;
    std::string Error;
  };
  const std::string font = Write("y.fnt", std::string(300, 'f'));
  const std::vector<Case> cases = {
      {{"report"}, "1", "Connect...Error!"},
      {{"report"}, "2", "Upload report...Error!"},
      {{"dump-memory", "--base", "0", "--count", "3"}, "2", "Receive Data...Error!"},
      {{"download-font", font}, "3", "Download font...Error!"},
  };
  for (const Case& c : cases) {
    test::SimProcess sim(Sim({"--hangup-after", c.HangupAfter}));
    test::ProcessResult r = Cli(sim.Path(), c.Args);
    EXPECT_EQ(r.ExitCode, 1) << c.Args[0] << r.Err;
    EXPECT_EQ(test::LastLine(r.Err), c.Error) << c.Args[0];
    EXPECT_TRUE(r.Out.empty()) << r.Out;
  }
}

TEST_F(CliServiceTest, UsageErrorsExitWith2BeforeAnyPortIsOpened) {
  const std::string nowhere = Path("no-such-tty");
  const std::vector<std::vector<std::string>> cases = {
      {"dump-memory", "--base", "xyz", "--count", "2"},
      {"dump-memory", "--base", "", "--count", "2"},
      {"dump-memory", "--base", "10", "--count", "0"},
      {"dump-memory", "--base", "10", "--count", "-4"},
      {"dump-memory", "--base", "10", "--count", "ten"},
      {"dump-memory", "--count", "2"},
  };
  for (const std::vector<std::string>& args : cases) {
    test::ProcessResult r = Cli(nowhere, args);
    EXPECT_EQ(r.ExitCode, 2) << args[2] << " " << r.Err;
  }
  test::ProcessResult r = Cli(nowhere, {"download-font", Path("missing.fnt")});
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("missing.fnt"), std::string::npos) << r.Err;

  r = Cli(nowhere, {"report", "--output", Path("no-dir/report.txt")});
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("no-dir"), std::string::npos) << r.Err;
}

TEST_F(CliServiceTest, APortThatCannotBeOpenedIsATransferFailure) {
  test::ProcessResult r = Cli(Path("no-such-tty"), {"report"});
  EXPECT_EQ(r.ExitCode, 1) << r.Err;
  EXPECT_EQ(test::LastLine(r.Err), "please select other ports.");
}

}  // namespace
}  // namespace plumgr
