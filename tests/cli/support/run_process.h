#pragma once
// Runs one of the project's programs with arguments and captures what it says,
// for end-to-end tests. Header-only so every test folder can use it.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace plumgr::test {

struct ProcessResult {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The last `count` lines of a program's output, joined by '\n' (a final line
// end does not count as a line).
inline std::string LastLines(const std::string& text, int count = 1) {
  std::size_t end = text.size();
  if (end > 0 && text[end - 1] == '\n') --end;
  std::size_t start = end;
  for (int i = 0; i < count && start != std::string::npos && start > 0; ++i)
    start = text.rfind('\n', start - 1);
  start = start == std::string::npos ? 0 : start + 1;
  return text.substr(start, end - start);
}

inline std::string LastLine(const std::string& text) {
  return LastLines(text, 1);
}

// The lines of a file written with CR LF line ends.
inline std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The plumgr-cli of this build tree.
inline std::string CliPath() {
  return std::string(PLUMGR_BINARY_DIR) + "/src/cli/plumgr-cli";
}

// Runs program with args in dir; stdout and stderr go through files in dir.
inline ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                                const std::string& dir) {
  const std::string out_path = dir + "/.stdout";
  const std::string err_path = dir + "/.stderr";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  ProcessResult result;
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  result.Out = ReadWholeFile(out_path);
  result.Err = ReadWholeFile(err_path);
  return result;
}

}  // namespace plumgr::test
