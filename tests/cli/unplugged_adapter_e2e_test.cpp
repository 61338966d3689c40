// The adapter pulled out in the middle of a download: the register's end of the
// pseudo-terminal closes, or the device node the PC opened vanishes with it.
// plumgr-cli must end within its retry budget with the step's error text, and
// the next transfer must open the port again.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "cli/support/run_process.h"
#include "cli/support/running_cli.h"
#include "cli/support/sim_process.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using std::chrono::seconds;

// The compared download waits 3000 ms a frame, sent at most four times (the
// default of three retries), then sends four error disconnects of three 100 ms
// waits each: about 13.2 s. A transfer that outlives this hung.
constexpr auto kRetryBudget = seconds(16);
constexpr const char* kPluError = "Download:PLU...Error!";

class UnpluggedAdapterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("plumgr_unplug_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    settings_ = (dir_ / "SYSTEM.CFG").string();
    link_ = (dir_ / "ttyUSB0").string();
    set_ = (dir_ / "shop.PLU").string();
    ASSERT_EQ(Cli({"fill-test-data", set_}).ExitCode, 0);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::vector<std::string> Args(std::vector<std::string> args) const {
    args.insert(args.begin(), {"--settings", settings_, "--port", link_, "--baud", "115200"});
    return args;
  }
  test::ProcessResult Cli(const std::vector<std::string>& args) const {
    return test::RunProcess(test::CliPath(), Args(args), dir_.string());
  }
  std::vector<std::string> PluDownload() const { return {"download", "--kinds", "plu", set_}; }

  // After the unplugging, a new register on the same device name takes a
  // download as if nothing had happened.
  void ExpectTheNextTransferOpensThePortAgain() {
    test::SimProcess again({"--link", link_, "--no-line-rate"});
    ASSERT_FALSE(again.Path().empty());
    test::ProcessResult r = Cli({"download", "--kinds", "plu", "--from", "1", "--to", "12", set_});
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
  }

  fs::path dir_;
  std::string settings_, link_, set_;
};

std::size_t LineCount(const std::string& path) {
  std::string text = test::ReadWholeFile(path);
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(UnpluggedAdapterTest, TheRegistersEndClosingEndsTheDownloadWithItsError) {
  {
    // The line closes, unanswered, on the 40th frame: inside the comparison read.
    test::SimProcess sim(
        {"--link", link_, "--no-line-rate", "--fill-plus", "300", "--hangup-after", "40"});
    ASSERT_FALSE(sim.Path().empty());
    Clock::time_point start = Clock::now();
    test::ProcessResult r = Cli(PluDownload());
    auto took = Clock::now() - start;
    EXPECT_EQ(r.ExitCode, 1) << r.Err;
    EXPECT_EQ(test::LastLine(r.Err), kPluError) << r.Err;
    EXPECT_LT(took, kRetryBudget);
    EXPECT_EQ(sim.Stop(), 0) << "the register ended by its hang-up";
  }
  ExpectTheNextTransferOpensThePortAgain();
}

TEST_F(UnpluggedAdapterTest, TheDeviceNodeVanishingEndsTheDownloadWithItsError) {
  const std::string log = (dir_ / "frames.jsonl").string();
  {
    test::SimProcess sim({"--link", link_, "--log", log, "--fill-plus", "3000"});
    ASSERT_FALSE(sim.Path().empty());
    test::RunningCli cli(Args(PluDownload()), dir_.string());
    // Pulled out once the download is well under way.
    Clock::time_point deadline = Clock::now() + seconds(20);
    while (LineCount(log) < 60 && Clock::now() < deadline)
      std::this_thread::sleep_for(milliseconds(20));
    ASSERT_GE(LineCount(log), 60u) << "the download never got going";
    Clock::time_point pulled = Clock::now();
    fs::remove(link_);
    sim.Stop();  // the register's end of the line closes with the node
    int status = cli.Wait(std::chrono::duration_cast<milliseconds>(kRetryBudget));
    ASSERT_NE(status, -1) << "plumgr-cli still waits " << kRetryBudget.count()
                          << " s after the adapter vanished";
    EXPECT_EQ(status, 1) << cli.Err();
    EXPECT_EQ(test::LastLine(cli.Err()), kPluError) << cli.Err();
    EXPECT_LT(Clock::now() - pulled, kRetryBudget);
  }
  ExpectTheNextTransferOpensThePortAgain();
}

}  // namespace
}  // namespace plumgr
