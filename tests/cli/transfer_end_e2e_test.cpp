// How a plumgr-cli transfer ends: interrupted by a signal, after late replies,
// on a port it cannot open, and what --json says at the end.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <sstream>

#include "cli/support/contract_fixture.h"
#include "cli/support/running_cli.h"
#include "cli/support/sim_process.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;
constexpr auto npos = std::string::npos;

class TransferEndTest : public test::ContractTest {};

// A light check of one JSON object: braces at both ends, no raw control
// character, and every string closed.
bool IsJsonObject(const std::string& line) {
  if (line.size() < 2 || line.front() != '{' || line.back() != '}') return false;
  bool in_string = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (static_cast<unsigned char>(line[i]) < 0x20) return false;
    if (line[i] == '\\' && in_string)
      ++i;
    else if (line[i] == '"')
      in_string = !in_string;
  }
  return !in_string;
}

TEST_F(TransferEndTest, SignalsCancelTheTransferAndTheRegisterIsDisconnected) {
  ASSERT_EQ(Cli({"fill-test-data", "shop"}).ExitCode, 0);
  const std::map<std::string, std::string> before = SetFiles("shop");
  // At the line's own pace the transfers take minutes.
  test::SimProcess sim(SimArgs({}));
  const std::vector<std::pair<int, std::vector<std::string>>> cases = {
      {SIGINT, {"download", "shop", "--kinds", "plu"}},
      {SIGTERM, {"upload", "shop", "--kinds", "plu,department"}},
      {SIGHUP, {"download", "shop", "--kinds", "recycling"}},
  };
  for (const auto& [signal_number, command] : cases) {
    std::vector<std::string> args = {"--port", sim.Path(), "--quiet"};
    args.insert(args.end(), command.begin(), command.end());
    const std::size_t frames = Frames().size();
    test::RunningCli cli(CliArgs(args), dir_.string());
    // The connect, the status and a first package of the kind.
    ASSERT_TRUE(WaitForFrames(frames + 3)) << command[0];
    cli.Signal(signal_number);
    const int status = cli.WaitStatus(seconds(20));
    ASSERT_TRUE(WIFEXITED(status)) << command[0] << " died of the signal itself";
    EXPECT_EQ(WEXITSTATUS(status), 128 + signal_number) << cli.Err();
    EXPECT_NE(cli.Err().find("Interrupted by SIG"), npos) << cli.Err();
    ASSERT_TRUE(WaitForFrames(Frames().size()));
    EXPECT_EQ(Frames().back(), test::kDisconnectFrame) << command[0];
  }
  EXPECT_EQ(SetFiles("shop"), before);
}

TEST_F(TransferEndTest, LateRepliesAreNotACleanSuccessAndVerifyFindsWhatIsMissing) {
  ASSERT_EQ(Cli({"fill-test-data", "shop"}).ExitCode, 0);
  // The first frame of department package 0 is answered 800 ms after the
  // 1600 ms reply wait has ended: the package is sent again, and its answer
  // is taken after a time-out. Every other frame is answered at once, so no
  // reply falls near the end of a wait.
  {
    test::SimProcess sim(
        SimArgs({"--no-line-rate", "--delay-ms", "2400", "--late-package", "12:0"}));
    test::ProcessResult r =
        Cli({"--port", sim.Path(), "download", "shop", "--kinds", "department"});
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_NE(r.Out.find("package(s) resent"), npos) << r.Out;
    EXPECT_NE(r.Out.find("reply(ies) late"), npos) << r.Out;
    EXPECT_NE(r.Err.find("download --verify"), npos) << r.Err;
  }
  // Recycling package 2 answered late as above, and package 3 never heard by
  // the register: the late answer to package 2's first frame arrives in the
  // middle of package 3's wait and says yes to it.
  test::SimProcess sim(SimArgs({"--no-line-rate", "--delay-ms", "2400", "--late-package", "4:2",
                                "--ignore-package", "4:3"}));
  test::ProcessResult r =
      Cli({"--port", sim.Path(), "--json", "download", "shop", "--kinds", "recycling", "--verify"});
  EXPECT_EQ(r.ExitCode, 1);
  const std::string result = test::LastLine(r.Out);
  EXPECT_EQ(result.find("{\"event\":\"result\",\"ok\":false,\"exit\":1,\"message\":\"Verify: "
                        "recycling entry 49 differs: sent 441.00, the register holds 0.00\""),
            0u)
      << result;
  EXPECT_EQ(result.find("\"resent\":0"), npos) << result;
  EXPECT_EQ(result.find("\"late\":0"), npos) << result;
  sim.Stop();
  const test::RegisterMemory memory = Memory();
  EXPECT_EQ(memory.Recycling.count(48), 1u);
  EXPECT_EQ(memory.Recycling.count(49), 0u);
}

TEST_F(TransferEndTest, PortErrorsSayWhy) {
  const auto expect_reason = [&](const test::ProcessResult& r, const std::string& port,
                                 const std::string& reason) {
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_NE(r.Err.find(port + ": " + reason), npos) << r.Err;
    EXPECT_EQ(test::LastLines(r.Err, 2), "Error opening " + port + "!\nplease select other ports.");
  };
  expect_reason(Cli({"--port", Path("absent"), "test"}), Path("absent"), "no such device");
  Write("plain", "");
  expect_reason(Cli({"--port", Path("plain"), "test"}), Path("plain"), "not a serial device");

  const std::string tty = Path("ttyUSB9");
  ASSERT_EQ(Cli({"fill-test-data", "shop"}).ExitCode, 0);
  {
    test::SimProcess sim(SimArgs({"--link", tty}));
    test::RunningCli busy(CliArgs({"--port", tty, "download", "shop", "--kinds", "recycling"}),
                          dir_.string());
    ASSERT_TRUE(WaitForFrames(1));
    expect_reason(Cli({"--port", tty, "test"}), tty, "in use by another program");
    busy.Signal(SIGINT);
    EXPECT_EQ(busy.Wait(seconds(20)), 130);
    // A program that took the port by its lock file alone is named.
    const std::string lock = "/run/lock/LCK..ttyUSB9";
    if (std::ofstream(lock) << std::to_string(::getpid()) << "\n") {
      const std::string comm = test::ReadWholeFile("/proc/self/comm");
      expect_reason(Cli({"--port", tty, "test"}), tty,
                    "in use by another program (" + comm.substr(0, comm.find('\n')) + ", process " +
                        std::to_string(::getpid()) + ")");
      fs::remove(lock);
    }
  }

  // Root opens any file, so the program runs as nobody then.
  Write("locked", "");
  test::ProcessResult r;
  if (::geteuid() == 0 && fs::exists("/usr/bin/setpriv")) {
    ::chmod(Path("locked").c_str(), 0600);
    r = test::RunProcess("/usr/bin/setpriv",
                         {"--reuid=65534", "--regid=65534", "--clear-groups", test::CliPath(),
                          "--settings", Path("nobody.cfg"), "--port", Path("locked"), "test"},
                         dir_.string());
  } else {
    ::chmod(Path("locked").c_str(), 0);
    r = Cli({"--port", Path("locked"), "test"});
  }
  expect_reason(r, Path("locked"), "permission denied");
  EXPECT_NE(r.Err.find("dialout group"), npos) << r.Err;
}

TEST_F(TransferEndTest, UnderJsonEveryLineIsAnObjectAndTheLastOneTheResult) {
  ASSERT_EQ(Cli({"fill-test-data", "shop"}).ExitCode, 0);
  test::SimProcess unclean(SimArgs({"--no-line-rate", "--reports-not-cleared"}));
  struct Case {
    std::vector<std::string> Args;
    int Exit;
    std::string Message;
  };
  const std::vector<Case> cases = {
      {{"check", "shop"}, 0, "No findings in shop.PLU"},
      {{"--help"}, 0, ""},
      {{"--version"}, 0, "plumgr-cli "},
      {{"nosuch"}, 2, "unknown command \\\"nosuch\\\"; the commands are: check, convert"},
      {{"check"}, 2, "SET is required"},
      {{"download", "shop", "--from", "x"}, 2, "Invalid PLU range"},
      {{"download", "gone"}, 2, "\\\"gone.PLU\\\" does not exist"},
      {{"--port", Path("absent"), "test"}, 1, "no such device\\nError opening"},
      {{"--port", unclean.Path(), "download", "shop", "--kinds", "plu"},
       1,
       "ECR report don't clear!"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"--json"};
    args.insert(args.end(), c.Args.begin(), c.Args.end());
    test::ProcessResult r = Cli(args);
    EXPECT_EQ(r.ExitCode, c.Exit) << c.Args[0] << ": " << r.Err;
    std::vector<std::string> lines;
    std::istringstream out(r.Out);
    for (std::string line; std::getline(out, line);)
      lines.push_back(line);
    ASSERT_FALSE(lines.empty()) << c.Args[0];
    for (const std::string& line : lines)
      EXPECT_TRUE(IsJsonObject(line)) << line;
    const std::string expected =
        "{\"event\":\"result\",\"ok\":" + std::string(c.Exit == 0 ? "true" : "false") +
        ",\"exit\":" + std::to_string(c.Exit) + ",\"message\":\"";
    EXPECT_EQ(lines.back().find(expected), 0u) << lines.back();
    EXPECT_NE(lines.back().find(c.Message), npos) << lines.back();
  }
}

}  // namespace
}  // namespace plumgr
