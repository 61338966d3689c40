// The main window driven offscreen: keys and clicks reach the tables' edit
// models, the hidden keys, the save prompts, the font, the report panel.

#include <QFontDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPlainTextEdit>

#include "app/file_commands.h"
#include "ui/grid_sizing.h"
#include "ui/support/modal_helpers.h"
#include "ui/support/typing.h"
#include "ui/support/window_fixture.h"

namespace plumgr {
namespace {

using test::MessageBoxAnswers;
using test::Type;

class MainWindowTest : public test::WindowTest {
 protected:
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    // Offscreen, nobody gives the window back its activation after a dialog.
    if (QApplication::activeWindow() == nullptr) QApplication::setActiveWindow(&Window());
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : &Plu(), static_cast<Qt::Key>(key), modifiers);
  }
  int Beeps() { return Window().Ui().BeepCount(); }
};

TEST_F(MainWindowTest, KeysReachTheCellsThroughTheFiltersAndTheValidation) {
  Open();
  Type("0a012");  // the barcode's filter drops the letter
  Key(Qt::Key_Return);
  EXPECT_EQ(PluCell(PluCol::Barcode, 1), "12");
  EXPECT_EQ(Plu().Edit().Current(), (CellPos{PluCol::Name, 1})) << "Enter moves on";
  EXPECT_TRUE(State().Modified());

  // Polish letters are stored as the register's Windows-1250 bytes; a letter
  // the code page cannot hold is refused with a beep, never stored as '?'.
  Type("Żółw");
  Type("ж");
  EXPECT_EQ(Beeps(), 1);
  Key(Qt::Key_Return);
  EXPECT_EQ(PluCell(PluCol::Name, 1), "\xAF\xF3\xB3w");
  EXPECT_EQ(Plu().TableModel().data(Plu().TableModel().IndexOf(PluCol::Name, 1)).toString(),
            QString::fromUtf8("Żółw"));

  // A refused department keeps the cell in edit mode and the focus in the table.
  Key(Qt::Key_Right);
  Type("17");
  Key(Qt::Key_Down);
  EXPECT_EQ(Beeps(), 2);
  EXPECT_TRUE(Plu().Edit().Editing());
  EXPECT_EQ(Plu().Edit().Current(), (CellPos{PluCol::Dept, 1}));
  Key(Qt::Key_Tab);
  EXPECT_EQ(Beeps(), 3);
  EXPECT_TRUE(Plu().hasFocus());
  Key(Qt::Key_Escape);
  EXPECT_FALSE(Plu().Edit().Editing());
  EXPECT_EQ(PluCell(PluCol::Dept, 1), "1");

  // A click in the Alcohol column toggles the row's mark.
  const QRect cell = Plu().visualRect(Plu().TableModel().IndexOf(PluCol::Alcohol, 3));
  QTest::mouseClick(Plu().viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_TRUE(State().GetTables().AlcoholFlags[2]);
  EXPECT_EQ(
      Plu().TableModel().data(Plu().TableModel().IndexOf(PluCol::Alcohol, 3), Qt::CheckStateRole),
      Qt::Checked);
}

// Shift is not looked at; F3 alone is Open; Ctrl+Alt+F6 is the memory dump,
// never the upload that F6 alone starts.
TEST_F(MainWindowTest, HiddenKeysAreSeenBeforeTheMenusShortcuts) {
  Open();
  Key(Qt::Key_F3, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_EQ(PluCell(PluCol::Name, 3000), "PLU-3000");
  EXPECT_EQ(State().GetTables().DeptmentGrid.Cell(DeptCol::Name, 16), "Deptment-16");
  EXPECT_TRUE(State().Modified()) << "the test data are not in any file";

  State().SetModified(false);
  {
    auto open = test::ChooseFile("");
    Key(Qt::Key_F3);
    EXPECT_TRUE(open->Done()) << "F3 alone shows the open dialog";
  }

  TransferDialogModel& upload = Window().Transfers().UploadDialog();
  upload.Maximum = -1;
  test::ModalWatcher range([](QWidget* w) {
    if (w->objectName() != "DataDlg") return false;
    QMetaObject::invokeMethod(w, "reject", Qt::QueuedConnection);
    return true;
  });
  Key(Qt::Key_F6, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(Window().MemoryRange().Caption, "Upload data range");
  EXPECT_EQ(upload.Maximum, -1) << "the upload did not start";

  test::ModalWatcher upload_dialog([](QWidget* w) {
    if (w->objectName() != "UploadDlg") return false;
    QMetaObject::invokeMethod(w, "reject", Qt::QueuedConnection);
    return true;
  });
  Key(Qt::Key_F6);
  EXPECT_EQ(upload.Maximum, 3000) << "F6 alone opens the upload";
}

// Exit and closing the window lose no edits: Cancel, and a Save As cancelled
// after Yes, keep the window open; Yes with a name saves and closes.
TEST_F(MainWindowTest, ExitWithUnsavedEditsAsksAndStaysOpenUntilSaved) {
  Open();
  Key(Qt::Key_Right);
  Type("Milk");
  Key(Qt::Key_Return);
  {
    MessageBoxAnswers answers({QMessageBox::Cancel});
    Action("ExitItem")->trigger();
    EXPECT_EQ(answers.Texts(), std::vector<std::string>{kSavePrompt});
  }
  EXPECT_TRUE(Window().isVisible());
  {
    MessageBoxAnswers answers({QMessageBox::Yes});
    auto cancelled = test::ChooseFile("");
    Window().close();
    EXPECT_TRUE(cancelled->Done());
  }
  EXPECT_TRUE(Window().isVisible());
  EXPECT_TRUE(State().Modified());
  {
    MessageBoxAnswers answers({QMessageBox::Yes});
    auto chosen = test::ChooseFile(QString::fromStdString(Path("shop")));
    Action("ExitItem")->trigger();
  }
  EXPECT_FALSE(Window().isVisible());
  std::ifstream saved(Path("shop.PLU"), std::ios::binary);
  std::string line;
  std::getline(saved, line);
  EXPECT_EQ(line, "\tMilk\t0.00\t1\t0.000\t0\t0\t0\t0\r");
}

TEST_F(MainWindowTest, DeletedCellsAskBeforeNewAndNoDropsThem) {
  Open();
  State().GetTables().PLUGrid.SetCell(PluCol::Name, 1, "Bread");
  Window().ShowState();
  Key(Qt::Key_Right);
  Key(Qt::Key_Delete);
  EXPECT_EQ(PluCell(PluCol::Name, 1), "");
  EXPECT_TRUE(State().Modified());
  MessageBoxAnswers answers({QMessageBox::No});
  Action("NewBtn")->trigger();
  EXPECT_EQ(answers.Texts(), std::vector<std::string>{kSavePrompt});
  EXPECT_FALSE(State().Modified());
}

TEST_F(MainWindowTest, ALargerFontWidensEveryColumnToItsTitleAtLeast) {
  Open();
  const int name_width = Plu().horizontalHeader()->sectionSize(PluCol::Name - 1);
  QFont large("Verdana", 24);
  test::ModalWatcher font([large](QWidget* w) {
    auto* dialog = qobject_cast<QFontDialog*>(w);
    if (dialog == nullptr) return false;
    dialog->setCurrentFont(large);
    QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    return true;
  });
  Action("FontItem")->trigger();
  ASSERT_TRUE(font.Done());
  EXPECT_GT(Plu().horizontalHeader()->sectionSize(PluCol::Name - 1), name_width);
  const QFontMetrics metrics(Plu().font());
  for (int col = 1; col < PluCol::Count; ++col) {
    const QString title = QString::fromStdString(Texts().PluTitles.Entries[col]);
    EXPECT_GE(Plu().horizontalHeader()->sectionSize(col - 1), metrics.horizontalAdvance(title) + 4)
        << col;
  }
  EXPECT_EQ(Plu().verticalHeader()->defaultSectionSize(), metrics.height() + metrics.leading() + 4);
  auto* report = Window().findChild<QPlainTextEdit*>("RptEd");
  EXPECT_EQ(report->font().pointSize(), Plu().font().pointSize());

  // The report panel shows the register's bytes decoded, one kind of line end.
  Window().Report().SetText("Z\xB3oty\r\nsuma");
  EXPECT_EQ(report->toPlainText(), QString::fromUtf8("Złoty\nsuma"));
}

TEST_F(MainWindowTest, MenusCarryTheirShortcutsAndTheProfilesVisibility) {
  Open();
  EXPECT_EQ(Action("OpenItem")->shortcut(), QKeySequence(Qt::Key_F3));
  EXPECT_EQ(Action("SaveItem")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
  EXPECT_EQ(Action("DownloadItem")->shortcut(), QKeySequence(Qt::Key_F9));
  EXPECT_EQ(Action("UploadItem")->shortcut(), QKeySequence(Qt::Key_F6));
  EXPECT_EQ(Action("UploadRPItem")->shortcut(), QKeySequence(Qt::Key_F7));
  EXPECT_TRUE(Action("RecyItem")->isVisible());
  EXPECT_FALSE(Action("HotKey1")->isVisible());
  EXPECT_FALSE(Action("DownloadFontItem")->isVisible());
  EXPECT_FALSE(Action("ReportBtn")->isVisible());
  EXPECT_EQ(Window().windowTitle(), "TR-88 PLU Manager");
}

}  // namespace
}  // namespace plumgr
