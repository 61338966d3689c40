#pragma once
// What the command line's data-safety tests share: a folder of their own with a
// settings file, plumgr-cli run in it, ecrsim with its frame log and saved
// memory, and readers for the two: the register's memory as the state file
// holds it and the frames as the log lists them.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "cli/support/run_process.h"
#include "cli/support/sim_process.h"

namespace plumgr::test {

// The register's memory as ecrsim's state file holds it, each record as bytes.
struct RegisterMemory {
  std::map<int, std::string> Plus;         // by slot index (PLU number - 1)
  std::map<int, std::string> Departments;  // by department number
  std::map<int, std::string> Recycling;    // by recycling number
  std::string Parameters;                  // the block, zeros where nothing is kept

  // The name field of the PLU in a slot (up to its NUL); empty when the slot is.
  std::string PluName(int slot) const {
    auto found = Plus.find(slot);
    if (found == Plus.end()) return {};
    const std::string name = found->second.substr(7, 18);
    return name.substr(0, name.find('\0'));
  }
};

inline std::string HexBytes(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

inline RegisterMemory ReadRegisterMemory(const std::string& state_path) {
  RegisterMemory memory;
  memory.Parameters.assign(768, '\0');
  std::ifstream in(state_path);
  std::string kind, hex;
  for (int number = 0; in >> kind;) {
    if (kind != "plu" && kind != "department" && kind != "recycling" && kind != "parameters") {
      std::getline(in, hex);
      continue;
    }
    in >> number >> hex;
    const std::string bytes = HexBytes(hex);
    if (kind == "plu") memory.Plus[number] = bytes;
    if (kind == "department") memory.Departments[number] = bytes;
    if (kind == "recycling") memory.Recycling[number] = bytes;
    if (kind == "parameters") memory.Parameters.replace(number, bytes.size(), bytes);
  }
  return memory;
}

// The frames ecrsim received, as (type, number), in order.
inline std::vector<std::pair<int, int>> ReceivedFrames(const std::string& log_path) {
  static const std::regex frame(R"("type":(\d+),"number":(\d+))");
  std::vector<std::pair<int, int>> frames;
  std::ifstream in(log_path);
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (std::regex_search(line, m, frame)) frames.emplace_back(std::stoi(m[1]), std::stoi(m[2]));
  }
  return frames;
}

inline constexpr std::pair<int, int> kDisconnectFrame{14, 2};

class ContractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("plumgr_contract_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    settings_ = Path("SYSTEM.CFG");
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(dir_, ignored);
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string Read(const std::string& name) const { return ReadWholeFile(Path(name)); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  // plumgr-cli in the test's folder with its settings file and dump folder.
  std::vector<std::string> CliArgs(std::vector<std::string> args) const {
    args.insert(args.begin(), {"--settings", settings_, "--dump-dir", Path("dumps")});
    return args;
  }
  ProcessResult Cli(const std::vector<std::string>& args) const {
    return RunProcess(CliPath(), CliArgs(args), dir_.string());
  }
  // plumgr-cli COMMAND ARGS with the simulated register on its port.
  ProcessResult OnRegister(const SimProcess& sim, const std::string& command,
                           std::vector<std::string> args) const {
    args.insert(args.begin(), {"--port", sim.Path(), command});
    return Cli(args);
  }
  ProcessResult Download(const SimProcess& sim, std::vector<std::string> args) const {
    return OnRegister(sim, "download", std::move(args));
  }
  ProcessResult Upload(const SimProcess& sim, std::vector<std::string> args) const {
    return OnRegister(sim, "upload", std::move(args));
  }
  // ecrsim's options with its frame log and its memory saved on exit.
  std::vector<std::string> SimArgs(std::vector<std::string> args) const {
    args.insert(args.end(), {"--log", Path("sim.log"), "--save-state", Path("sim.state")});
    return args;
  }
  RegisterMemory Memory() const { return ReadRegisterMemory(Path("sim.state")); }
  std::vector<std::pair<int, int>> Frames() const { return ReceivedFrames(Path("sim.log")); }
  // Waits (up to 20 s) until the frame log lists at least `count` frames.
  bool WaitForFrames(std::size_t count) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (Frames().size() < count) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
  }

  // The bytes of every file of the set `name`, to compare before and after.
  std::map<std::string, std::string> SetFiles(const std::string& name) const {
    std::map<std::string, std::string> files;
    for (const char* extension : {".PLU", ".Sign", ".DEP", ".RCY", ".PAR"})
      if (std::filesystem::exists(Path(name + extension)))
        files[name + extension] = Read(name + extension);
    return files;
  }

  std::filesystem::path dir_;
  std::string settings_;
};

}  // namespace plumgr::test
