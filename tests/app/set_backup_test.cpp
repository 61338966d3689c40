// The desktop program keeps a set's previous files when what an upload read is
// first saved over it, and only then.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/file_commands.h"
#include "app/service_commands.h"
#include "data/set_backup.h"
#include "data/support/recording_ui_port.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;

class SetBackupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("plumgr_set_backup_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    CurrentProfile() = EcrProfileTable().front();
    state_.StartUp({(dir_ / "SYSTEM.CFG").string(), "", '.'});
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::vector<std::string> Backups() {
    return ListBackups(BackupRoot((dir_ / "shop.PLU").string()), BackupOrigin::SetFiles);
  }

  fs::path dir_;
  test::RecordingUiPort ui_;
  MainWindowState state_{ui_};
};

TEST_F(SetBackupTest, SavingWhatAnUploadReadOverASetKeepsItsFilesOnce) {
  const std::string set = (dir_ / "shop.PLU").string();
  FillTestData(state_);
  ASSERT_TRUE(SaveAsName(state_, set));
  EXPECT_TRUE(Backups().empty()) << "an ordinary save keeps nothing";
  std::ifstream in(set, std::ios::binary);
  const std::string before((std::istreambuf_iterator<char>(in)), {});

  // As a successful upload leaves the tables.
  ClearAll(state_);
  state_.GetTables().PLUGrid.SetCell(PluCol::Name, 1, "From the register");
  state_.SetRegisterDataUnsaved(true);
  ASSERT_TRUE(SaveAsName(state_, set));
  ASSERT_EQ(Backups().size(), 1u);
  std::ifstream kept(Backups()[0] + "/shop.PLU", std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(kept)), {}), before);
  EXPECT_TRUE(fs::exists(Backups()[0] + "/shop.PAR"));
  EXPECT_EQ(fs::status(Backups()[0]).permissions() & fs::perms::all, fs::perms::owner_all)
      << "the .PAR holds the clerks' passwords";

  ASSERT_TRUE(SaveAsName(state_, set));
  EXPECT_EQ(Backups().size(), 1u) << "saved once, the tables are the set's own again";
}

// A backup that cannot be made stops the save: the old files stay as they are.
TEST_F(SetBackupTest, ASaveWhoseBackupCannotBeMadeWritesNothing) {
  const std::string set = (dir_ / "shop.PLU").string();
  FillTestData(state_);
  ASSERT_TRUE(SaveAsName(state_, set));
  std::ofstream(BackupRoot(set)) << "a file where the backups' folder goes";
  state_.SetRegisterDataUnsaved(true);
  state_.GetTables().PLUGrid.SetCell(PluCol::Name, 1, "Not written");
  EXPECT_FALSE(SaveAsName(state_, set));
  ASSERT_EQ(ui_.Errors.size(), 1u);
  EXPECT_NE(ui_.Errors[0].find("could not be kept"), std::string::npos) << ui_.Errors[0];
  std::ifstream in(set, std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}).find("Not written"),
            std::string::npos);
}

}  // namespace
}  // namespace plumgr
