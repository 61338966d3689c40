// The hot-key editor on the main window's tables, with scripted dialogs: keys
// filled from the picker and encoded into the dump file, layouts saved and read
// back byte for byte, damaged files and unsaved changes.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

#include "app/file_commands.h"
#include "app/hotkey_editor_model.h"
#include "app/main_window_state.h"
#include "data/support/recording_ui_port.h"
#include "data/table_columns.h"
#include "data/temp_dir.h"

namespace plumgr {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

class ScriptedDialogs final : public HotkeyEditorDialogs {
 public:
  std::deque<std::optional<TFont>> Fonts;
  std::deque<std::optional<TColor>> Colors;
  // Acts as the operator in the picker; false is Cancel.
  std::function<bool(HotPluPickerModel&)> Pick = [](HotPluPickerModel&) { return false; };
  int Previews = 0;

  std::optional<TFont> ChooseFont(const TFont&) override { return Take(Fonts); }
  std::optional<TColor> ChooseColor() override { return Take(Colors); }
  bool PickKeys(HotPluPickerModel& picker) override { return Pick(picker); }
  void ShowPreview(TMyGrid&) override { ++Previews; }

 private:
  template <typename T>
  static T Take(std::deque<T>& queue) {
    if (queue.empty()) return {};
    T value = queue.front();
    queue.pop_front();
    return value;
  }
};

// Picks rows first to last on a page and presses Ok.
std::function<bool(HotPluPickerModel&)> PickRows(PickerPage page, int first, int last) {
  return [=](HotPluPickerModel& picker) {
    picker.SetActivePage(page);
    picker.SelectRows(page, first, last);
    picker.Accept();
    return true;
  };
}

class HotkeyEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CurrentProfile() = EcrProfile{};
    state_.StartUp({dir_.File("SYSTEM.CFG"), dir_.File("dumps"), '.'});
    StringGrid& plu = state_.GetTables().PLUGrid;
    for (int r = 1; r <= 8; ++r) {
      plu.SetCell(PluCol::Barcode, r, "590000000000" + std::to_string(r));
      plu.SetCell(PluCol::Name, r, "PLU " + std::to_string(r));
    }
    for (int d = 1; d <= 16; ++d)
      state_.GetTables().DeptmentGrid.SetCell(DeptCol::Name, d, "Dept " + std::to_string(d));
    editor_.TakeHotKeyLists();
    editor_.Show();
  }
  TGridItem& Level1(int key) { return editor_.Grid().Items(key).fs1Btn(); }
  TGridItem& Level2(int key) { return editor_.Grid().Items(key).sc2Btn(); }
  // Selects the keys of row 0 from column first to column last.
  void SelectKeys(int first, int last) { editor_.Select({first, 0, last, 0}); }

  TempDir dir_;
  test::RecordingUiPort ui_;
  MainWindowState state_{ui_};
  ScriptedDialogs dialogs_;
  HotkeyEditorModel editor_{state_, ui_, dialogs_};
};

TEST_F(HotkeyEditorTest, PickedPlusAndDepartmentsGoOnTheSelectedKeysAndDownLoadDumpsThem) {
  EXPECT_EQ(editor_.Grid().ColCount, 6);
  EXPECT_EQ(editor_.Grid().RowCount, 10);
  // A name edited after the editor opened reaches the picker.
  state_.GetTables().PLUGrid.SetCell(PluCol::Name, 1, "Fresh");

  // Scope "All": three keys, five PLUs; the first three on level 1, the rest on
  // level 2 of the first two keys.
  SelectKeys(0, 2);
  dialogs_.Pick = PickRows(PickerPage::Plu, 1, 5);
  editor_.GenerateHotKeyTable(LevelScope::Both);
  EXPECT_EQ(Level1(0).Code, "5900000000001");
  EXPECT_EQ(Level1(0).Caption, "Fresh");
  EXPECT_EQ(Level1(2).Caption, "PLU 3");
  EXPECT_EQ(Level2(0).Caption, "PLU 4");
  EXPECT_EQ(Level2(1).Code, "5900000000005");
  EXPECT_EQ(Level2(1).BTNType, 1);
  EXPECT_EQ(Level2(2).BTNType, 0);

  // Departments 9 to 12 picked: only 9 has a key; 10 and above are never taken.
  SelectKeys(3, 4);
  dialogs_.Pick = PickRows(PickerPage::Department, 9, 12);
  editor_.GenerateHotKeyTable(LevelScope::First);
  EXPECT_EQ(Level1(3).Code, "9");
  EXPECT_EQ(Level1(3).Caption, "Dept 9");
  EXPECT_EQ(Level1(3).BTNType, 2);
  EXPECT_EQ(Level1(4).BTNType, 0);

  // A cancelled picker and a cleared key: the cleared key keeps its type.
  dialogs_.Pick = [](HotPluPickerModel& picker) {
    picker.SelectRows(PickerPage::Plu, 7, 8);
    return false;
  };
  editor_.GenerateHotKeyTable(LevelScope::First);
  EXPECT_EQ(Level1(3).Code, "9");
  SelectKeys(1, 1);
  editor_.ClearHotKeyTable(LevelScope::First);
  EXPECT_EQ(Level1(1).Code, "");
  EXPECT_EQ(Level1(1).Caption, "");
  EXPECT_EQ(Level1(1).BTNType, 1);
  EXPECT_EQ(Level2(1).Code, "5900000000005");

  ASSERT_TRUE(editor_.DownLoadClick());
  std::string expected(840, '\0');
  auto put = [&expected](int record, std::vector<unsigned char> bytes) {
    expected.replace(static_cast<size_t>(record) * 7, 7, std::string(bytes.begin(), bytes.end()));
  };
  put(0, {0x05, 0x90, 0x00, 0x00, 0x00, 0x00, 0x01});
  put(2, {0x05, 0x90, 0x00, 0x00, 0x00, 0x00, 0x03});
  put(3, {0xEF, 0x00, 0x00, 0x00, 0x00, 0xEF, 0x09});
  put(60, {0x05, 0x90, 0x00, 0x00, 0x00, 0x00, 0x04});
  put(61, {0x05, 0x90, 0x00, 0x00, 0x00, 0x00, 0x05});
  EXPECT_EQ(ReadBytes(dir_.File("dumps/hotkey.hex")), expected);
  EXPECT_EQ(editor_.DumpPath(), dir_.File("dumps/hotkey.hex"));
  EXPECT_TRUE(ui_.Errors.empty());
}

TEST_F(HotkeyEditorTest, DepartmentKeyThatIsNoNumberStopsDownLoadWithoutADump) {
  Level1(5).BTNType = 2;
  Level1(5).Code = "x1";
  EXPECT_FALSE(editor_.DownLoadClick());
  ASSERT_EQ(ui_.Errors.size(), 1u);
  EXPECT_EQ(ui_.Errors[0], "'x1' is not a valid integer value");
  EXPECT_FALSE(std::filesystem::exists(dir_.File("dumps/hotkey.hex")));
}

TEST_F(HotkeyEditorTest, SavedLayoutReadsBackIdenticalAndSaveAlwaysWritesTheDefaultFile) {
  SelectKeys(0, 1);
  dialogs_.Pick = PickRows(PickerPage::Plu, 2, 3);
  editor_.GenerateHotKeyTable(LevelScope::Second);
  TFont bold{"DejaVu Sans", 12, 238, kFsBold | kFsItalic, 0x0000FF};
  dialogs_.Fonts = {bold};
  dialogs_.Colors = {0x00C0FF};
  editor_.FontColor(LevelScope::Second);
  editor_.BackdropColor(LevelScope::Second);
  editor_.UseSecondLevel();
  EXPECT_EQ(Level2(1).Font, bold);
  EXPECT_EQ(Level1(1).Font, TFont());
  EXPECT_EQ(Level2(0).Background, 0x00C0FFu);
  EXPECT_EQ(Level1(0).Background, kClWindow);
  ASSERT_TRUE(editor_.SaveClick());
  const std::string saved = ReadBytes(editor_.HotkeyFileName());
  EXPECT_EQ(editor_.HotkeyFileName(), dir_.File(kHotkeyFileName));
  EXPECT_NE(saved.find("5900000000002\tPLU 2\t\t0.00\t49407\t0\t1\tDejaVu Sans\t12\t238\t3\t255\t"),
            std::string::npos);

  // Showing the editor again reads the file back; saving it gives the same bytes.
  editor_.Show();
  EXPECT_TRUE(editor_.Grid().Items(1).CenterLine);
  ui_.SaveChoice = dir_.File("copy");
  ASSERT_TRUE(editor_.SaveAsClick());
  EXPECT_EQ(ReadBytes(dir_.File("copy.Key")), saved);
  ui_.SaveChoice = dir_.File("layout.txt");
  ASSERT_TRUE(editor_.SaveAsClick());
  EXPECT_EQ(ReadBytes(dir_.File("layout.txt")), saved);

  // Save after Open writes the default file, not the one opened.
  editor_.CancelSecondLevel();
  ui_.OpenChoice = dir_.File("copy.Key");
  editor_.OpenClick();
  EXPECT_TRUE(editor_.Grid().Items(1).CenterLine);
  Level1(7).Caption = "Opened";
  ASSERT_TRUE(editor_.SaveClick());
  EXPECT_EQ(ReadBytes(dir_.File("copy.Key")), saved);
  EXPECT_NE(ReadBytes(editor_.HotkeyFileName()).find("Opened"), std::string::npos);
  EXPECT_TRUE(ui_.Errors.empty());
}

TEST_F(HotkeyEditorTest, DamagedFileChangesNothingAndUnsavedChangesAreAskedAbout) {
  Level1(0).Caption = "Mine";
  ASSERT_TRUE(editor_.SaveClick());
  SelectKeys(0, 0);
  editor_.UseSecondLevel();
  ASSERT_TRUE(editor_.Modified());

  // The first line would rename key 0; the second does not convert.
  std::string lines = editor_.Grid().SaveToText('.');
  lines.replace(lines.find("Mine"), 4, "Theirs");
  lines.replace(lines.find("\t0\t0\tMS Sans Serif", lines.find("\r\n")), 3, "\tx\t");
  WriteBytes(dir_.File("damaged.Key"), lines);
  ui_.OpenChoice = dir_.File("damaged.Key");
  editor_.OpenClick();
  ASSERT_EQ(ui_.Errors.size(), 1u);
  EXPECT_EQ(ui_.Errors[0], dir_.File("damaged.Key") + ": 'x' is not a valid integer value");
  EXPECT_EQ(Level1(0).Caption, "Mine");

  // Cancel keeps the window; No closes and the next showing brings back the
  // saved layout; Yes saves before closing.
  ui_.Answers = {Answer::Cancel, Answer::No};
  EXPECT_FALSE(editor_.ConfirmClose());
  EXPECT_TRUE(editor_.ConfirmClose());
  EXPECT_EQ(ui_.Messages[0], kSavePrompt);
  editor_.Show();
  EXPECT_FALSE(editor_.Grid().Items(0).CenterLine);
  EXPECT_EQ(Level1(0).Caption, "Mine");
  EXPECT_TRUE(editor_.ConfirmClose());  // nothing changed: nothing asked
  EXPECT_EQ(ui_.Messages.size(), 2u);

  editor_.UseSecondLevel();
  ui_.Answers = {Answer::Yes};
  EXPECT_TRUE(editor_.ConfirmClose());
  editor_.Show();
  EXPECT_TRUE(editor_.Grid().Items(0).CenterLine);
}

}  // namespace
}  // namespace plumgr
