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

#include "sim/support/pc_port.h"

extern char** environ;

namespace plumgr::sim {
namespace {

using namespace std::chrono_literals;
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

}  // namespace
}  // namespace plumgr::sim
