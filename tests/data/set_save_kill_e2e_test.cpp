// A process that saves a full data file set over and over is killed with
// SIGKILL at random moments; after every kill each file of the set must be
// whole: the old or the new version, never torn, empty or missing.
//
// PLUMGR_SET_KILLS sets the number of kills (default 1000: about a minute, most
// of it spent waiting for the moment of the next kill).

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "data/data_file_set.h"
#include "data/small_tables.h"
#include "data/string_grid.h"
#include "data/table_columns.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kPluRows = 3000;
constexpr int kDeptRows = 16;
constexpr std::array<SetFile, 5> kFiles = {kSetSignFile, kSetPluFile, kSetDeptFile,
                                           kSetRecyclingFile, kSetParameterFile};

int KillCount() {
  const char* text = std::getenv("PLUMGR_SET_KILLS");
  int count = text != nullptr ? std::atoi(text) : 0;
  return count > 0 ? count : 1000;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// One version of a full set: every PLU row used, every department named. The
// two versions differ in every file, and in length, so that a file cut short
// or mixed from both is neither.
struct SetVersion {
  SetVersion(const std::string& dir, char mark) {
    std::string tag(1, mark);
    int width = mark == 'A' ? 4 : 9;
    for (int n = 1; n <= kPluRows; ++n) {
      plu.SetCell(PluCol::Barcode, n, std::to_string(5900000000000LL + n));
      plu.SetCell(PluCol::Name, n, tag + std::string(width, 'x') + std::to_string(n));
      plu.SetCell(PluCol::Price, n, std::to_string(n % 97) + (mark == 'A' ? ".10" : ".25"));
      plu.SetCell(PluCol::Dept, n, std::to_string(n % kDeptRows + 1));
      plu.SetCell(PluCol::Stocks, n, "1.000");
      for (int c : {PluCol::Flag, PluCol::Quantity, PluCol::Total, PluCol::Alcohol})
        plu.SetCell(c, n, "0");
    }
    for (int n = 1; n <= kDeptRows; ++n) {
      departments.SetCell(DeptCol::Name, n, tag + "-dept-" + std::to_string(n));
      departments.SetCell(DeptCol::Tax, n, "1");
      departments.SetCell(DeptCol::Price, n, "0.00");
    }
    for (TSign& sign : fast_sale)
      sign.Barcode = tag + std::to_string(sign.ButtonNumber);
    for (TRecy& entry : recycling)
      entry.PackagePrice = mark == 'A' ? "0.50" : "1.00";
    settings = dir + "/SETTINGS-" + tag + ".CFG";
    std::ofstream(settings, std::ios::binary)
        << "[Version]\r\nVersion=" << tag << "\r\n[Comm]\r\nPort=" << (mark == 'A' ? 1 : 2)
        << "\r\n";
  }

  DataFileSetTables Tables() { return {plu, departments, fast_sale, recycling, settings}; }

  StringGrid plu{PluCol::Count, kPluRows + 1};
  StringGrid departments{DeptCol::Count, kDeptRows + 1};
  FastSaleTable fast_sale = InitialFastSaleTable();
  RecyclingTable recycling = InitialRecyclingTable('.');
  std::string settings;
};

class SetSaveKillTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "plumgr-kill-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  // The five files of a version as they are when saved whole.
  std::array<std::string, 5> Reference(SetVersion& version, const std::string& sub) {
    fs::create_directory(dir_ + "/" + sub);
    std::string name = dir_ + "/" + sub + "/set.PLU";
    EXPECT_TRUE(SaveSet(name, version.Tables()).Ok);
    std::array<std::string, 5> files;
    for (std::size_t i = 0; i < kFiles.size(); ++i)
      files[i] = ReadFile(SetFilePath(name, kFiles[i]));
    return files;
  }

  std::string dir_;
};

TEST_F(SetSaveKillTest, EveryFileIsWholeAfterAKillAtAnyMoment) {
  SetVersion a(dir_, 'A');
  SetVersion b(dir_, 'B');
  const std::array<std::string, 5> old_files = Reference(a, "a");
  const std::array<std::string, 5> new_files = Reference(b, "b");
  for (std::size_t i = 0; i < kFiles.size(); ++i)
    ASSERT_NE(old_files[i], new_files[i]) << "file " << i << " must differ between versions";

  fs::create_directory(dir_ + "/t");
  const std::string target = dir_ + "/t/set.PLU";
  Clock::time_point start = Clock::now();
  ASSERT_TRUE(SaveSet(target, a.Tables()).Ok);
  const auto save_time =
      std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);

  std::mt19937 random(20240531);
  // Up to three saves' time: the kill lands before, inside or between saves.
  std::uniform_int_distribution<long> delay_us(0, 3 * std::max(save_time.count(), 1000L));
  const int kills = KillCount();
  int mixed = 0;       // kills that left some files old and some new: inside a save
  int stray_temp = 0;  // temporary files a killed save left behind
  for (int k = 0; k < kills; ++k) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Saves the two versions in turn until it is killed.
      for (bool next_b = true;; next_b = !next_b)
        (void)SaveSet(target, next_b ? b.Tables() : a.Tables());
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saver ended by itself at kill " << k;

    int news = 0;
    for (std::size_t i = 0; i < kFiles.size(); ++i) {
      std::string path = SetFilePath(target, kFiles[i]);
      std::string bytes = ReadFile(path);
      bool whole = bytes == old_files[i] || bytes == new_files[i];
      ASSERT_TRUE(whole) << path << " is torn after kill " << k << " (" << bytes.size()
                         << " bytes)";
      news += bytes == new_files[i];
    }
    mixed += news != 0 && news != static_cast<int>(kFiles.size());
    for (const fs::directory_entry& entry : fs::directory_iterator(dir_ + "/t"))
      if (entry.path().filename().string().find(".tmp-") != std::string::npos) {
        ++stray_temp;
        fs::remove(entry.path());
      }
  }
  std::printf(
      "%d kills, one save %lld us; %d left the set part old, part new; %d temporary "
      "files left behind\n",
      kills, static_cast<long long>(save_time.count()), mixed, stray_temp);
  EXPECT_GT(mixed, 0) << "no kill landed inside a save: the test proved nothing";
}

}  // namespace
}  // namespace plumgr
