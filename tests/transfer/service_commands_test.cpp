#include "app/service_transfer_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/support/recording_ui_port.h"
#include "transfer/font_download.h"
#include "transfer/report_upload.h"
#include "transfer/support/service_register.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;

class RecordingOpener final : public FileOpener {
 public:
  void OpenFile(const std::string& path) override { Opened.push_back(path); }
  std::vector<std::string> Opened;
};

// The commands run on the configured port COM2, which the settings lead to
// the scripted register.
class ServiceCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("plumgr_service_cmd_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Start(test::ServiceRegister& reg) {
    const std::string settings = (dir_ / "SYSTEM.CFG").string();
    std::ofstream(settings) << "[Comm]\r\nPort=2\r\nCOM2=" << reg.Bus().CommName() << "\r\n";
    state_.StartUp({settings, (dir_ / "dumps").string(), '.'});
  }

  fs::path dir_;
  test::RecordingUiPort ui_;
  MainWindowState state_{ui_};
};

TEST_F(ServiceCommandsTest, UploadedReportReplacesThePanelAndAFailureKeepsIt) {
  test::ServiceRegister reg({.Report = [](int n) {
    PackageBytes data{};
    if (n == 0) data[0] = 'R';
    return data;
  }});
  Start(reg);
  ReportPanel panel;
  int repaints = 0;
  panel.SetChanged([&] { ++repaints; });
  ASSERT_TRUE(UploadRPItemClick(state_, reg.Bus(), reg.Progress(), panel));
  EXPECT_EQ(panel.Text(), "R");
  EXPECT_EQ(repaints, 1);

  test::ServiceRegister silent({.Silent = true});
  state_.SetPortIndex(2);
  std::ofstream((dir_ / "SYSTEM.CFG").string())
      << "[Comm]\r\nCOM2=" << silent.Bus().CommName() << "\r\n";
  EXPECT_FALSE(UploadRPItemClick(state_, silent.Bus(), silent.Progress(), panel));
  EXPECT_EQ(panel.Text(), "R");
  EXPECT_EQ(repaints, 1);
}

TEST_F(ServiceCommandsTest, MemoryDumpOpensTheListingFromTheDumpDirectory) {
  test::ServiceRegister reg({});
  Start(reg);
  MemoryRangeModel model;
  RecordingOpener opener;
  const auto ok = [](MemoryRangeModel& m) {
    m.BaseText = "1F";
    m.CountText = "2";
    return true;
  };
  MemoryDumpResult dump = DumpMemory(state_, reg.Bus(), reg.Progress(), model, ok, opener);
  ASSERT_TRUE(dump.Result);
  EXPECT_EQ(model.Caption, kUploadDataRangeCaption);
  EXPECT_EQ(opener.Opened, std::vector<std::string>{(dir_ / "dumps" / "TEMP.LOG").string()});
  EXPECT_EQ(fs::file_size(dir_ / "dumps" / "TEMP.BIN"), 512u);
}

TEST_F(ServiceCommandsTest, MemoryDumpWithAnEmptyBaseBeepsAndTransfersNothing) {
  test::ServiceRegister reg({});
  Start(reg);
  MemoryRangeModel model;
  model.BaseText = "";
  RecordingOpener opener;
  MemoryDumpResult dump = DumpMemory(
      state_, reg.Bus(), reg.Progress(), model, [](MemoryRangeModel&) { return true; }, opener);
  EXPECT_TRUE(dump.BinPath.empty());
  EXPECT_EQ(ui_.Beeps, 1);
  EXPECT_TRUE(reg.Received().empty()) << "the port is not even opened";
  EXPECT_TRUE(opener.Opened.empty());
}

TEST_F(ServiceCommandsTest, FontCommandSendsTheChosenFileAndDoesNothingOnCancel) {
  test::ServiceRegister reg({});
  Start(reg);
  EXPECT_TRUE(DownloadFontItemClick(state_, reg.Bus(), reg.Progress()));
  EXPECT_TRUE(reg.Received().empty()) << "cancelled choice";

  const fs::path font = dir_ / "small.fnt";
  std::ofstream(font, std::ios::binary) << std::string(300, 'f');
  ui_.OpenChoice = font.string();
  EXPECT_TRUE(DownloadFontItemClick(state_, reg.Bus(), reg.Progress()));
  EXPECT_EQ(reg.Packages(kFontType).size(), 2u);

  ui_.OpenChoice = (dir_ / "gone.fnt").string();
  EXPECT_EQ(DownloadFontItemClick(state_, reg.Bus(), reg.Progress()).Outcome,
            ServiceOutcome::FileError);
  ASSERT_EQ(ui_.Errors.size(), 1u);
  EXPECT_NE(ui_.Errors[0].find("gone.fnt"), std::string::npos);
}

}  // namespace
}  // namespace plumgr
