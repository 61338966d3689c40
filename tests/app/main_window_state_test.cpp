#include "app/main_window_state.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/file_commands.h"
#include "app/model_selection.h"
#include "app/service_commands.h"
#include "data/ini_file.h"
#include "data/support/recording_ui_port.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class MainWindowStateTest : public ::testing::TestWithParam<char> {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("plumgr_app_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    settings_ = (dir_ / "SYSTEM.CFG").string();
    CurrentProfile() = EcrProfile{};
  }
  void TearDown() override { fs::remove_all(dir_); }

  void Start() { state_.StartUp({settings_, "", GetParam()}); }
  std::string Path(const std::string& name) { return (dir_ / name).string(); }
  std::string Price(const std::string& whole, const std::string& cents) {
    return whole + GetParam() + cents;
  }

  fs::path dir_;
  std::string settings_;
  test::RecordingUiPort ui_;
  MainWindowState state_{ui_};
};

TEST_P(MainWindowStateTest, StartsWithDefaultsWithoutASettingsFile) {
  Start();
  EXPECT_EQ(state_.PortIndex(), 2);
  EXPECT_EQ(state_.BaudIndex(), 0);
  EXPECT_EQ(state_.GetTables().PLUGrid.DataRows(), 3000);
  EXPECT_EQ(state_.GetTables().DeptmentGrid.DataRows(), 16);
  EXPECT_EQ(state_.GetTables().AlcoholFlags.size(), 3000u);
  EXPECT_EQ(state_.Caption(), "TR-88 PLU Manager");
  EXPECT_TRUE(state_.RecyclingItemVisible());
  EXPECT_FALSE(state_.HotKeyItemVisible());
  EXPECT_EQ(state_.GetTables().PLUGrid.Cell(3, 3000), Price("0", "00"));
  EXPECT_EQ(state_.GetTables().PLUGrid.Cell(5, 1), Price("0", "000"));
  EXPECT_EQ(state_.Recycling()[99].Number, "100");
  EXPECT_FALSE(state_.Modified());
  EXPECT_FALSE(fs::exists(settings_)) << "start-up only reads the settings file";
}

TEST_P(MainWindowStateTest, StartUpReadsPortSettingsAndModel) {
  std::ofstream(settings_) << "[Comm]\r\nPort=3\r\nBaudRate=4\r\n[Other]\r\nService=0\r\n";
  Start();
  EXPECT_EQ(state_.PortIndex(), 3);
  EXPECT_EQ(state_.BaudIndex(), 4);
  EXPECT_EQ(CurrentProfile().PluCount, 3000);
}

TEST_P(MainWindowStateTest, FillTestDataWritesTheServiceValuesAndMarksModified) {
  Start();
  FillTestData(state_);
  const StringGrid& plu = state_.GetTables().PLUGrid;
  const StringGrid& dept = state_.GetTables().DeptmentGrid;
  EXPECT_EQ(plu.Cell(PluCol::Dept, 8), "1");
  EXPECT_EQ(plu.Cell(PluCol::Dept, 7), "8");
  EXPECT_EQ(dept.Cell(DeptCol::Tax, 9), "1");
  EXPECT_EQ(dept.Cell(DeptCol::Tax, 8), "9");
  EXPECT_EQ(plu.Cell(PluCol::Barcode, 1), "1234567800001");
  EXPECT_EQ(plu.Cell(PluCol::Barcode, 3000), "1234567803000");
  EXPECT_EQ(plu.Cell(PluCol::Price, 3000), Price("30000", "00"));
  EXPECT_EQ(plu.Cell(PluCol::Name, 42), "PLU-42");
  EXPECT_EQ(plu.Cell(PluCol::Stocks, 42), Price("0", "000")) << "stocks are left alone";
  EXPECT_EQ(dept.Cell(DeptCol::Name, 16), "Deptment-16");
  EXPECT_EQ(dept.Cell(DeptCol::Price, 3), Price("30", "00"));
  EXPECT_EQ(state_.Recycling()[99].PackagePrice, Price("900", "00"));
  EXPECT_TRUE(state_.Modified());
  ui_.Answers = {Answer::Cancel};
  NewCommand(state_);
  EXPECT_EQ(ui_.Messages, (std::vector<std::string>{kSavePrompt})) << "the test data can be kept";
  EXPECT_EQ(plu.Cell(PluCol::Name, 42), "PLU-42");
}

TEST_P(MainWindowStateTest, SaveAsNamesTheSetAndSetsTheCaption) {
  Start();
  state_.SetModified(true);
  ui_.SaveChoice = Path("shop.PLU");
  ASSERT_TRUE(SaveAsCommand(state_));
  for (const char* ext : {".PLU", ".Sign", ".DEP", ".RCY", ".PAR"})
    EXPECT_TRUE(fs::exists(Path(std::string("shop") + ext))) << ext;
  EXPECT_EQ(state_.Caption(), "TR-88 PLU Manager~[" + Path("shop.PLU") + "]");
  EXPECT_FALSE(state_.Modified());
}

// Yes means keep the edits: a Save As cancelled there must not let New
// clear them.
TEST_P(MainWindowStateTest, SavePromptYesThenCancelledSaveAsKeepsTheEdits) {
  Start();
  state_.GetTables().PLUGrid.SetCell(PluCol::Name, 1, "Milk");
  state_.SetModified(true);
  ui_.Answers = {Answer::Yes};
  ui_.SaveChoice.reset();  // the Save As dialog is cancelled
  NewCommand(state_);
  ASSERT_EQ(ui_.Messages.size(), 1u);
  EXPECT_EQ(ui_.Messages[0], kSavePrompt);
  EXPECT_EQ(state_.GetTables().PLUGrid.Cell(PluCol::Name, 1), "Milk") << "New stopped";
  EXPECT_TRUE(state_.Modified());
}

TEST_P(MainWindowStateTest, SavePromptCancelKeepsEverything) {
  Start();
  state_.GetTables().PLUGrid.SetCell(PluCol::Name, 1, "Milk");
  state_.SetModified(true);
  ui_.Answers = {Answer::Cancel};
  ui_.OpenChoice = Path("other.PLU");
  OpenCommand(state_);
  EXPECT_EQ(state_.GetTables().PLUGrid.Cell(PluCol::Name, 1), "Milk");
  EXPECT_TRUE(state_.Modified());
}

TEST_P(MainWindowStateTest, SavePromptGoesOnOnlyWhenTheEditsAreSavedOrDropped) {
  Start();
  EXPECT_TRUE(ConfirmSave(state_)) << "nothing to lose";
  state_.SetModified(true);
  ui_.Answers = {Answer::Cancel, Answer::Yes, Answer::No};
  EXPECT_FALSE(ConfirmSave(state_));
  EXPECT_FALSE(ConfirmSave(state_)) << "Yes, then Save As cancelled";
  EXPECT_TRUE(state_.Modified());
  EXPECT_TRUE(ConfirmSave(state_));
  EXPECT_EQ(ui_.Messages.size(), 3u);
}

TEST_P(MainWindowStateTest, OpenReplacesTheSettingsWithTheSetsCopy) {
  Start();
  FillTestData(state_);
  std::ofstream(settings_) << "[Default]\r\nHeader1=Shop A\r\n";
  ASSERT_TRUE(SaveAsName(state_, Path("a.PLU")));
  std::ofstream(settings_, std::ios::trunc) << "[Default]\r\nHeader1=Shop B\r\n";
  ClearAll(state_);
  ui_.OpenChoice = Path("a.PLU");
  OpenCommand(state_);
  EXPECT_EQ(IniFile(settings_).ReadString("Default", "Header1", ""), "Shop A");
  EXPECT_EQ(state_.GetTables().PLUGrid.Cell(PluCol::Name, 3000), "PLU-3000");
  EXPECT_EQ(state_.Caption(), "TR-88 PLU Manager~[" + Path("a.PLU") + "]");
  EXPECT_EQ(ReadAll(Path("a.PAR")), ReadAll(settings_));
}

TEST_P(MainWindowStateTest, OpenWithoutParStopsWithAnErrorAndKeepsTheCaption) {
  Start();
  ASSERT_TRUE(SaveAsName(state_, Path("b.PLU")));
  fs::remove(Path("b.PAR"));
  ClearAll(state_);
  state_.SetModified(false);
  EXPECT_FALSE(OpenName(state_, Path("b.PLU")));
  ASSERT_EQ(ui_.Errors.size(), 1u);
  EXPECT_NE(ui_.Errors[0].find("b.PAR"), std::string::npos);
  EXPECT_EQ(state_.Caption(), "TR-88 PLU Manager");
}

TEST_P(MainWindowStateTest, OpenWithAnEmptyParKeepsTheSettingsAndSaysSo) {
  Start();
  FillTestData(state_);
  ASSERT_TRUE(SaveAsName(state_, Path("e.PLU")));
  std::ofstream(Path("e.PAR"), std::ios::trunc).flush();
  const std::string settings = "[Comm]\r\nPort=3\r\n[Default]\r\nClerkPWD1=1234\r\nVAT1=23.00\r\n";
  std::ofstream(settings_, std::ios::trunc) << settings;
  ClearAll(state_);
  ui_.Clear();
  ASSERT_TRUE(OpenName(state_, Path("e.PLU")));
  EXPECT_EQ(ReadAll(settings_), settings);
  ASSERT_EQ(ui_.Messages.size(), 1u);
  EXPECT_EQ(ui_.Messages[0].find("\"" + Path("e.PAR") + "\" is empty or holds no settings"), 0u)
      << ui_.Messages[0];
  EXPECT_EQ(state_.GetTables().PLUGrid.Cell(PluCol::Name, 3000), "PLU-3000");
  EXPECT_EQ(state_.Caption(), "TR-88 PLU Manager~[" + Path("e.PLU") + "]");
}

// Open copies an editor's UTF-8 .PAR in the code page of the register's text,
// which the dialogs and the download read; a letter the page lacks keeps the
// settings file, since the copy would lose it.
TEST_P(MainWindowStateTest, OpenWithAUtf8ParConvertsItOrKeepsTheSettings) {
  Start();
  ASSERT_TRUE(SaveAsName(state_, Path("u.PLU")));
  std::ofstream(Path("u.PAR"), std::ios::trunc) << "[Default]\r\nHeader1=Sklep \xC5\xBB"
                                                   "abka\r\n";
  ASSERT_TRUE(OpenName(state_, Path("u.PLU")));
  const std::string converted =
      "[Default]\r\nHeader1=Sklep \xAF"
      "abka\r\n";
  EXPECT_EQ(ReadAll(settings_), converted);

  std::ofstream(Path("u.PAR"), std::ios::trunc)
      << "[Other]\r\nCodePage=CP852\r\n[Default]\r\nHeader1=\xE2\x82\xAC 1\r\n";
  ui_.Clear();
  ASSERT_TRUE(OpenName(state_, Path("u.PLU")));
  EXPECT_EQ(ReadAll(settings_), converted);
  ASSERT_EQ(ui_.Messages.size(), 1u);
  EXPECT_EQ(ui_.Messages[0].find("\"" + Path("u.PAR") +
                                 "\" [Default] Header1: U+20AC \"\xE2\x82\xAC\" is not in CP852"),
            0u)
      << ui_.Messages[0];
}

TEST_P(MainWindowStateTest, SelectEcrOkWithoutAClickKeepsTheModelAndWritesService) {
  Start();
  ASSERT_TRUE(SaveAsName(state_, Path("c.PLU")));
  ASSERT_TRUE(SelectEcrCommand(state_, [](SelectEcrModel& model) {
    EXPECT_TRUE(model.Ticked(0));
    return true;
  }));
  EXPECT_EQ(CurrentProfile().Title, "TR-88 PLU Manager");
  EXPECT_EQ(state_.Caption(), "TR-88 PLU Manager") << "the file part goes";
  EXPECT_EQ(IniFile(settings_).ReadInteger("Other", "Service", -1), 0);
}

TEST_P(MainWindowStateTest, SelectEcrCloseWritesNothing) {
  Start();
  EXPECT_FALSE(SelectEcrCommand(state_, [](SelectEcrModel&) { return false; }));
  EXPECT_FALSE(fs::exists(settings_));
}

INSTANTIATE_TEST_SUITE_P(Separators, MainWindowStateTest, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? "dot" : "comma"; });

}  // namespace
}  // namespace plumgr
