// plumgr-cli hotkey-encode and hotkey-sheet run as the real program.

#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>

#include <filesystem>
#include <functional>

#include "hotkey/support/key_test_support.h"

namespace plumgr {
namespace {

struct CliRun {
  int exit_code = -1;
  std::string err;
};

class CliHotkeyTest : public testing::Test {
 protected:
  CliRun Cli(const QStringList& args) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C");
    env.insert("XDG_STATE_HOME", QString::fromStdString(dir_.Path("state")));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    QStringList all = {"--settings", QString::fromStdString(dir_.Path("SYSTEM.CFG"))};
    all += args;
    process.start(PLUMGR_BINARY_DIR "/src/cli/plumgr-cli", all);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), process.readAllStandardError().toStdString()};
  }
  QString Path(const std::string& name) { return QString::fromStdString(dir_.Path(name)); }

  std::string SaveLayout(int keyboard, const std::function<void(TMyGrid&)>& edit) {
    TMyGrid grid;
    test::ShapeGrid(grid, keyboard);
    edit(grid);
    std::string path = dir_.Path("layout.Key");
    EXPECT_TRUE(grid.SaveToFile(path, '.'));
    return path;
  }

  test::ScratchDir dir_;
};

TEST_F(CliHotkeyTest, EncodeWritesTheTableAndTheDump) {
  SaveLayout(120, [](TMyGrid& grid) {
    grid.Items(0).fs1Btn().BTNType = 2;
    grid.Items(0).fs1Btn().Code = "3";
  });
  CliRun run =
      Cli({"--dump-dir", Path("dumps"), "hotkey-encode", Path("layout.Key"), Path("t.bin")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  std::string table = test::ReadAll(dir_.Path("t.bin"));
  ASSERT_EQ(table.size(), 840u);
  EXPECT_EQ(table.substr(0, 7), std::string("\xEF\0\0\0\0\xEF\x03", 7));
  EXPECT_EQ(test::ReadAll(dir_.Path("dumps/hotkey.hex")), table);
}

TEST_F(CliHotkeyTest, EncodeUsesTheChosenKeyboardAndTheDefaultDumpDirectory) {
  SaveLayout(160, [](TMyGrid&) {});
  CliRun run = Cli({"hotkey-encode", "--keyboard", "160", Path("layout.Key"), Path("t.bin")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(test::ReadAll(dir_.Path("t.bin")), std::string(1120, '\0'));
  EXPECT_EQ(test::ReadAll(dir_.Path("state/plumgr/dumps/hotkey.hex")).size(), 1120u);
  // The profile's keyboard (type 120) reads only the first 60 keys.
  run = Cli({"hotkey-encode", Path("layout.Key"), Path("t.bin")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(test::ReadAll(dir_.Path("t.bin")).size(), 840u);
}

TEST_F(CliHotkeyTest, BadLayoutsEndWithTheirMessage) {
  CliRun run = Cli({"hotkey-encode", Path("missing.Key"), Path("t.bin")});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_NE(run.err.find("missing.Key"), std::string::npos) << run.err;

  std::string path = SaveLayout(120, [](TMyGrid&) {});
  std::string text = test::ReadAll(path);
  text.replace(text.find("0.00"), 4, "1,50");
  test::WriteAll(path, text);
  run = Cli({"hotkey-encode", Path("layout.Key"), Path("t.bin")});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_NE(run.err.find("'1,50' is not a valid floating point value"), std::string::npos)
      << run.err;

  SaveLayout(120, [](TMyGrid& grid) {
    grid.Items(3).sc2Btn().BTNType = 2;
    grid.Items(3).sc2Btn().Code = "three";
  });
  run = Cli({"hotkey-encode", Path("layout.Key"), Path("t.bin")});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_NE(run.err.find("'three' is not a valid integer value"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("t.bin")));
}

TEST_F(CliHotkeyTest, SheetAsPdfAndAsPng) {
  SaveLayout(160, [](TMyGrid& grid) {
    grid.Items(0).fs1Btn().Caption = "Cola";
    grid.Items(0).CenterLine = true;
    grid.Items(0).sc2Btn().Caption = "Fanta";
  });
  CliRun run = Cli({"hotkey-sheet", "--keyboard", "160", Path("layout.Key"), Path("s.pdf")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(test::ReadAll(dir_.Path("s.pdf")).substr(0, 4), "%PDF");

  run =
      Cli({"hotkey-sheet", "--keyboard", "160", "--dpi", "96", Path("layout.Key"), Path("s.png")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  QImage png(Path("s.png"));
  // The 182.1 x 122.5 mm frame with 10 mm on every side.
  EXPECT_EQ(png.size(), QSize(764, 539));

  run = Cli({"hotkey-sheet", Path("layout.Key"), Path("s.svg")});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_NE(run.err.find("s.svg"), std::string::npos);
}

// The captions are the register's bytes in the code page of the settings file:
// "Łódź" written in CP852 draws the sheet that it draws written in Windows-1250.
TEST_F(CliHotkeyTest, TheSheetReadsTheCaptionsInTheCodePageOfTheSettings) {
  auto sheet = [&](const std::string& caption, const std::string& settings) {
    test::WriteAll(dir_.Path("SYSTEM.CFG"), settings);
    SaveLayout(160, [&](TMyGrid& grid) { grid.Items(0).fs1Btn().Caption = caption; });
    CliRun run = Cli(
        {"hotkey-sheet", "--keyboard", "160", "--dpi", "96", Path("layout.Key"), Path("s.png")});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    return QImage(Path("s.png"));
  };
  const std::string cp852 =
      "\x9D\xA2"
      "d\xAB";
  const QImage as_1250 = sheet(
      "\xA3\xF3"
      "d\x9F",
      "");
  EXPECT_EQ(sheet(cp852, "[Other]\r\nCodePage=CP852\r\n"), as_1250);
  EXPECT_NE(sheet(cp852, ""), as_1250);
}

}  // namespace
}  // namespace plumgr
