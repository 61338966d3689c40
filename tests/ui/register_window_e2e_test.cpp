// The download dialog's comparison and backup, the comparison window and
// Restore... against the real ecrsim program.

#include <QAbstractButton>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <filesystem>
#include <sstream>

#include "cli/support/run_process.h"
#include "cli/support/sim_process.h"
#include "ui/support/modal_dialog.h"
#include "ui/support/modal_helpers.h"
#include "ui/support/window_fixture.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;

class RegisterWindowTest : public test::WindowTest {
 protected:
  void Start() {
    sim_ = std::make_unique<test::SimProcess>(
        std::vector<std::string>{"--no-line-rate", "--log", Path("sim.log")});
    ASSERT_FALSE(sim_->Path().empty());
    Open("[Comm]\r\nPort=2\r\nBaudRate=4\r\nCOM2=" + sim_->Path() + "\r\n");
  }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (QApplication::activeWindow() == nullptr) QApplication::setActiveWindow(&Window());
    QTest::keyClick(&Plu(), static_cast<Qt::Key>(key), modifiers);
  }
  int PluPackagesSent() {
    std::istringstream in(test::ReadWholeFile(Path("sim.log")));
    int count = 0;
    for (std::string line; std::getline(in, line);)
      if (line.find("\"type\":13,") != std::string::npos) ++count;
    return count;
  }
  // F9: every kind of the first 12 PLUs, the backup box as given, then
  // "Compare..."; in the comparison window, what it shows and the button.
  void DownloadAfterComparing(bool backup, const char* button) {
    test::ModalWatcher watcher([this, backup, button](QWidget* dialog) {
      if (dialog->objectName() == "DownloadDlg") {
        auto* list = dialog->findChild<QListWidget*>("CheckListBox1");
        for (int i = 0; i < list->count(); ++i)
          list->item(i)->setCheckState(Qt::Checked);
        dialog->findChild<QSpinBox*>("RangeEndEdit")->setValue(12);
        dialog->findChild<QCheckBox*>("BackupChk")->setChecked(backup);
        QTimer::singleShot(0, dialog->findChild<QAbstractButton*>("CompareBtn"),
                           &QAbstractButton::click);
        return false;
      }
      if (dialog->objectName() != "CompareDlg") return false;
      summary_ = dialog->findChild<QLabel*>("SummaryLabel")->text().toStdString();
      auto* grid = dialog->findChild<QTableWidget*>("DiffGrid");
      lines_ = grid->rowCount();
      first_line_.clear();
      for (int col = 0; lines_ > 0 && col < grid->columnCount(); ++col)
        first_line_ += grid->item(0, col)->text().toStdString() + "|";
      QTimer::singleShot(0, dialog->findChild<QAbstractButton*>(button), &QAbstractButton::click);
      return true;
    });
    Key(Qt::Key_F9);
    ASSERT_TRUE(watcher.Done());
  }

  std::unique_ptr<test::SimProcess> sim_;
  std::string summary_;
  std::string first_line_;
  int lines_ = 0;
};

TEST_F(RegisterWindowTest, TheDownloadDialogComparesBacksUpAndTheBackupComesBack) {
  Start();
  Key(Qt::Key_F3, Qt::ControlModifier | Qt::AltModifier);

  DownloadAfterComparing(false, "CloseBtn");
  EXPECT_EQ(first_line_, "PLU 1|add|Barcode||1234567800001|");
  EXPECT_EQ(summary_, "130 rows would change: 28 to add, 102 to change, 0 to clear.");
  EXPECT_EQ(PluPackagesSent(), 0) << "Close sends nothing";

  std::string told_where;
  {
    test::MessageBoxAnswers told({QMessageBox::Ok});
    DownloadAfterComparing(true, "DownloadBtn");
    ASSERT_EQ(told.Texts().size(), 1u);
    told_where = told.Texts()[0];
  }
  EXPECT_EQ(PluPackagesSent(), 4);
  const fs::path root = dir_ / "backups";
  ASSERT_TRUE(fs::is_directory(root)) << "beside the settings file while no set is open";
  fs::path backup;
  for (const auto& entry : fs::directory_iterator(root))
    backup = entry.path();
  ASSERT_TRUE(fs::exists(backup / "register.PLU"));
  EXPECT_NE(told_where.find(backup.string()), std::string::npos) << told_where;
  EXPECT_EQ(test::ReadWholeFile((backup / "register.PLU").string()), "")
      << "the register held no PLU before";

  DownloadAfterComparing(false, "CloseBtn");
  EXPECT_EQ(summary_, "No difference: the register holds what a download would send.");
  EXPECT_EQ(lines_, 0);

  // The backup sent back empties the register's first twelve PLUs again. The
  // open dialog starts among the backups.
  {
    std::string started_in;
    const QFileInfo chosen(QString::fromStdString((backup / "backup.ini").string()));
    test::ModalWatcher choose([&](QWidget* widget) {
      auto* dialog = qobject_cast<QFileDialog*>(widget);
      if (dialog == nullptr) return false;
      started_in = dialog->directory().absolutePath().toStdString();
      QTimer::singleShot(0, dialog, [dialog, chosen] {
        dialog->setDirectory(chosen.absolutePath());
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(chosen.fileName());
        QMetaObject::invokeMethod(dialog, "accept");
      });
      return true;
    });
    std::string folder, kinds;
    test::WhenShown("RestoreDlg", [&](QWidget* dialog) {
      folder = dialog->findChild<QLabel*>("FolderText")->text().toStdString();
      kinds = dialog->findChild<QLabel*>("KindsText")->text().toStdString();
      dialog->findChild<QAbstractButton*>("SendBtn")->click();
    });
    Action("RestoreItem")->trigger();
    ASSERT_TRUE(choose.Done());
    EXPECT_EQ(started_in, root.string());
    EXPECT_EQ(folder, backup.string());
    EXPECT_EQ(kinds, "PLU, department, recycling, parameter, VAT, Fast Sale Buttons, Header");
  }
  EXPECT_EQ(PluPackagesSent(), 8);
  DownloadAfterComparing(false, "CloseBtn");
  EXPECT_EQ(first_line_, "PLU 1|add|Barcode||1234567800001|");
}

}  // namespace
}  // namespace plumgr
