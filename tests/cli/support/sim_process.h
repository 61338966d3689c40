#pragma once
// Starts the real ecrsim program for an end-to-end test and stops it again.
// Header-only so every test folder can use it.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace plumgr::test {

inline std::string SimPath() {
  return std::string(PLUMGR_BINARY_DIR) + "/src/sim/ecrsim";
}

class SimProcess {
 public:
  // Starts ecrsim with the arguments and waits (up to 10 s) for the first line
  // of its output: the path the PC opens.
  explicit SimProcess(const std::vector<std::string>& args) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    std::vector<std::string> all = {SimPath()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, all[0].c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    fd_ = out[0];
    ReadFirstLine();
  }
  ~SimProcess() { Stop(); }
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // The device the PC opens; empty when ecrsim did not start.
  const std::string& Path() const { return path_; }

  // Ends ecrsim (SIGTERM) and returns its exit status.
  int Stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      int status = 0;
      waitpid(pid_, &status, 0);
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      pid_ = -1;
    }
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    return status_;
  }

 private:
  void ReadFirstLine() {
    if (pid_ <= 0) return;
    std::string line;
    pollfd p{fd_, POLLIN, 0};
    while (line.find('\n') == std::string::npos && poll(&p, 1, 10000) > 0) {
      char buf[256];
      ssize_t n = read(fd_, buf, sizeof buf);
      if (n <= 0) break;
      line.append(buf, static_cast<size_t>(n));
    }
    if (auto nl = line.find('\n'); nl != std::string::npos) path_ = line.substr(0, nl);
  }

  pid_t pid_ = -1;
  int fd_ = -1;
  int status_ = -1;
  std::string path_;
};

}  // namespace plumgr::test
