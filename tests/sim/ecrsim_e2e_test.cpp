// The ecrsim program as an operator runs it: the path on its first line, the
// link, the log file, and a clean end on a signal or when the PC closes.

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "sim/state_file.h"
#include "sim/support/pc_port.h"

extern char** environ;

namespace plumgr::sim {
namespace {

using namespace std::chrono_literals;
using testing::Block;
using testing::ConnectBlock;
using testing::PcPort;
using testing::StatusRequest;

const std::string kProgram = std::string(PLUMGR_BINARY_DIR) + "/src/sim/ecrsim";

class Program {
 public:
  explicit Program(std::vector<std::string> args) {
    args.insert(args.begin(), kProgram);
    std::vector<char*> argv;
    for (std::string& arg : args)
      argv.push_back(arg.data());
    argv.push_back(nullptr);
    int out[2];
    EXPECT_EQ(pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    EXPECT_EQ(posix_spawn(&pid_, kProgram.c_str(), &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    out_ = out[0];
  }
  ~Program() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    close(out_);
  }

  // The output up to the first line end.
  std::string FirstLine() {
    while (output_.find('\n') == std::string::npos && ReadSome(2000ms)) {
    }
    return output_.substr(0, output_.find('\n'));
  }

  // Waits for the program to end; its exit status, or empty on timeout.
  std::optional<int> Wait(std::chrono::milliseconds timeout) {
    while (ReadSome(timeout)) {
    }
    // The output ends when the program does; only then may waitpid block.
    if (!ended_) return std::nullopt;
    int status = 0;
    if (waitpid(pid_, &status, 0) != pid_) return std::nullopt;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  void Signal(int number) { kill(pid_, number); }
  // Reads the output until it holds text; false when it did not come in time.
  bool WaitForOutput(const std::string& text) {
    while (output_.find(text) == std::string::npos)
      if (!ReadSome(5000ms)) return false;
    return true;
  }
  const std::string& Output() const { return output_; }

 private:
  // False at end of output or when nothing came within timeout.
  bool ReadSome(std::chrono::milliseconds timeout) {
    pollfd pfd{out_, POLLIN, 0};
    if (poll(&pfd, 1, static_cast<int>(timeout.count())) <= 0) return false;
    char buffer[4096];
    ssize_t n = read(out_, buffer, sizeof buffer);
    if (n <= 0) {
      ended_ = true;
      return false;
    }
    output_.append(buffer, static_cast<std::size_t>(n));
    return true;
  }

  pid_t pid_ = -1;
  int out_ = -1;
  std::string output_;
  bool ended_ = false;
};

std::filesystem::path TempPath(const std::string& name) {
  return std::filesystem::temp_directory_path() / (name + "." + std::to_string(getpid()));
}

TEST(EcrsimProgramTest, ServesTheLinkAndEndsWhenThePcCloses) {
  std::filesystem::path link = TempPath("ecrsim-link");
  std::filesystem::path log = TempPath("ecrsim-log");
  Program program({"--link", link.string(), "--no-line-rate", "--exit-on-close", "--plu-count",
                   "1200", "--speeds", "9600", "--log", log.string()});
  std::string path = program.FirstLine();
  ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << program.Output();
  EXPECT_EQ(std::filesystem::read_symlink(link), path);
  {
    PcPort pc(link.string(), 9600);
    pc.Send(ConnectBlock(0));
    EXPECT_EQ(pc.ReadReply(2000ms), kAck);
    pc.Send(StatusRequest());
    std::optional<UnpackedFrame> answer = pc.ReadAnswer(StatusRequest(), 2000ms);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->Block.Data()[3], 1200 & 0xFF);
    EXPECT_EQ(answer->Block.Data()[4], 1200 >> 8);
  }
  EXPECT_EQ(program.Wait(5000ms), 0);
  EXPECT_FALSE(std::filesystem::is_symlink(link)) << "the link is removed at the end";
  std::ifstream lines(log);
  std::string line;
  std::string last;
  int frames = 0;
  while (std::getline(lines, line)) {
    frames += line.find("\"type\":") != std::string::npos;
    last = line;
  }
  EXPECT_EQ(frames, 2);
  EXPECT_NE(last.find("\"reason\":\"peer-closed\""), std::string::npos) << last;
  std::filesystem::remove(log);
}

TEST(EcrsimProgramTest, EndsCleanlyOnSigtermAndSigint) {
  for (int number : {SIGTERM, SIGINT}) {
    Program program({"--no-line-rate"});
    ASSERT_EQ(program.FirstLine().rfind("/dev/pts/", 0), 0u);
    program.Signal(number);
    EXPECT_EQ(program.Wait(5000ms), 0);
    EXPECT_NE(program.Output().find("\"reason\":\"stopped\""), std::string::npos);
  }
}

TEST(EcrsimProgramTest, BadOptionsAreUsageErrors) {
  Program speeds({"--speeds", "9600,12345"});
  EXPECT_EQ(speeds.Wait(5000ms), 2);
  EXPECT_NE(speeds.Output().find("--speeds"), std::string::npos);
  Program rate({"--nak-rate", "1.5"});
  EXPECT_EQ(rate.Wait(5000ms), 2);
  Program device({"--device", "/nonexistent/tty"});
  EXPECT_EQ(device.Wait(5000ms), 1);
  EXPECT_NE(device.Output().find("/nonexistent/tty"), std::string::npos);
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(EcrsimProgramTest, StartsFromAStateAndSavesItOnExit) {
  std::filesystem::path state = TempPath("ecrsim-state");
  std::filesystem::path saved = TempPath("ecrsim-saved");
  std::filesystem::path report = TempPath("ecrsim-report");
  WriteFile(state, "ecrsim-state 1\nprice-decimals 3\nplu 100 00000000000001" +
                       std::string(114, '0') + "\n");
  WriteFile(report, "X report\r\n");
  Program program({"--no-line-rate", "--state", state.string(), "--fill-plus", "3", "--report-file",
                   report.string(), "--save-state", saved.string()});
  std::string path = program.FirstLine();
  ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << program.Output();
  {
    PcPort pc(path, 9600);
    pc.Send(StatusRequest());
    std::optional<UnpackedFrame> status = pc.ReadAnswer(StatusRequest(), 2000ms);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->Block.Data()[0], 3) << "the state file's price decimals";
    EXPECT_EQ(status->Block.Data()[3], 4) << "three test items and the state's PLU";
    EXPECT_EQ(status->Block.Data()[10], 3) << "a sale of each test item";
    PackageBlock piece = Block(7, 0);
    pc.Send(piece);
    std::optional<UnpackedFrame> text = pc.ReadAnswer(piece, 2000ms);
    ASSERT_TRUE(text);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(text->Block.Data().data())),
              "X report\r\n");
    std::vector<std::uint8_t> slot{1, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 'N', 'E', 'W'};
    pc.Send(Block(13, 0, slot));
    EXPECT_EQ(pc.ReadReply(2000ms), kAck);
  }
  program.Signal(SIGUSR1);
  ASSERT_TRUE(program.WaitForOutput("\"event\":\"saved\"")) << program.Output();
  RegisterImage running;
  ASSERT_EQ(LoadStateFile(saved.string(), running), std::nullopt);
  EXPECT_TRUE(PluPresent(running.Memory.Plus[200])) << "saved while the register runs";
  program.Signal(SIGTERM);
  EXPECT_EQ(program.Wait(5000ms), 0) << program.Output();
  RegisterImage image;
  ASSERT_EQ(LoadStateFile(saved.string(), image), std::nullopt);
  EXPECT_EQ(image.Status.PriceDecimals, 3);
  EXPECT_EQ(CountPlus(image.Memory), 5u);
  EXPECT_TRUE(PluPresent(image.Memory.Plus[200]));
  EXPECT_EQ(image.Memory.Report, "X report\r\n");
  for (const auto& file : {state, saved, report})
    std::filesystem::remove(file);
}

TEST(EcrsimProgramTest, UnreadableStateAndReportFilesAreNamed) {
  std::filesystem::path bad = TempPath("ecrsim-bad-state");
  WriteFile(bad, "ecrsim-state 1\nplu 1 00\n");
  Program state({"--state", bad.string()});
  EXPECT_EQ(state.Wait(5000ms), 2);
  EXPECT_NE(state.Output().find(bad.string() + ": line 2"), std::string::npos) << state.Output();
  Program missing({"--report-file", "/nonexistent/report.txt"});
  EXPECT_EQ(missing.Wait(5000ms), 2);
  EXPECT_NE(missing.Output().find("/nonexistent/report.txt"), std::string::npos);
  WriteFile(bad, std::string("A\0B", 3));
  Program nul({"--report-file", bad.string()});
  EXPECT_EQ(nul.Wait(5000ms), 2);
  EXPECT_NE(nul.Output().find("NUL"), std::string::npos) << nul.Output();
  std::filesystem::remove(bad);
}

}  // namespace
}  // namespace plumgr::sim
