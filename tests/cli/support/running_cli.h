#pragma once
// plumgr-cli running on its own while a test acts on it (pulls the adapter,
// sends a signal), then waited for with a time-out. Header-only.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "cli/support/run_process.h"

namespace plumgr::test {

class RunningCli {
 public:
  RunningCli(const std::vector<std::string>& args, const std::string& dir)
      : err_path_(dir + "/.stderr-running") {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, err_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    std::string program = CliPath();
    std::vector<char*> argv{program.data()};
    std::vector<std::string> copy = args;
    for (std::string& a : copy)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
      pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    pidfd_ = pid_ > 0 ? static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0)) : -1;
  }
  ~RunningCli() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (pidfd_ >= 0) ::close(pidfd_);
  }
  RunningCli(const RunningCli&) = delete;
  RunningCli& operator=(const RunningCli&) = delete;

  void Signal(int number) const {
    if (pid_ > 0) ::kill(pid_, number);
  }

  // The raw wait status (WIFEXITED and the rest apply), or -1 when the program
  // still runs after the timeout.
  int WaitStatus(std::chrono::milliseconds timeout) {
    pollfd exited{pidfd_, POLLIN, 0};
    if (pidfd_ < 0 || ::poll(&exited, 1, static_cast<int>(timeout.count())) != 1) return -1;
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
  }
  // The exit status (128 + n for a death by signal n), or -1 as above.
  int Wait(std::chrono::milliseconds timeout) {
    const int status = WaitStatus(timeout);
    if (status == -1) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  std::string Err() const { return ReadWholeFile(err_path_); }

 private:
  std::string err_path_;
  pid_t pid_ = -1;
  int pidfd_ = -1;
};

}  // namespace plumgr::test
