// Transfers started from the main window against the real ecrsim program: the
// selection dialogs, the progress window, Cancel, a second command refused
// while one runs, and closing the window in the middle of an exchange.

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <sstream>

#include "cli/support/run_process.h"
#include "cli/support/sim_process.h"
#include "ui/progress_window.h"
#include "ui/support/modal_helpers.h"
#include "ui/support/window_fixture.h"

namespace plumgr {
namespace {

class WindowTransferTest : public test::WindowTest {
 protected:
  void Start(std::vector<std::string> sim_args) {
    sim_args.insert(sim_args.end(), {"--log", Path("sim.log")});
    sim_ = std::make_unique<test::SimProcess>(sim_args);
    ASSERT_FALSE(sim_->Path().empty());
    Open("[Comm]\r\nPort=2\r\nBaudRate=4\r\nCOM2=" + sim_->Path() + "\r\n");
  }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (QApplication::activeWindow() == nullptr) QApplication::setActiveWindow(&Window());
    QTest::keyClick(&Plu(), static_cast<Qt::Key>(key), modifiers);
  }
  // Frames of a type and number the register received.
  int Received(int type, int number) {
    const std::string needle =
        "\"type\":" + std::to_string(type) + ",\"number\":" + std::to_string(number) + ",";
    int count = 0;
    for (const std::string& line : Lines())
      if (line.find(needle) != std::string::npos) ++count;
    return count;
  }
  int ReceivedOfType(int type) {
    int count = 0;
    for (const std::string& line : Lines())
      if (line.find("\"type\":" + std::to_string(type) + ",") != std::string::npos) ++count;
    return count;
  }
  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    std::istringstream in(test::ReadWholeFile(Path("sim.log")));
    for (std::string line; std::getline(in, line);)
      lines.push_back(line);
    return lines;
  }
  // Records every text the progress window's status line shows.
  std::unique_ptr<test::Poller> RecordStatus() {
    return std::make_unique<test::Poller>([this] {
      auto* label = Window().ProgressDialog().findChild<QLabel*>("StatusLabel");
      if (label != nullptr && Window().ProgressDialog().isVisible() &&
          (statuses_.empty() || statuses_.back() != label->text().toStdString()))
        statuses_.push_back(label->text().toStdString());
      return false;
    });
  }
  bool Saw(const std::string& status) {
    return std::find(statuses_.begin(), statuses_.end(), status) != statuses_.end();
  }

  std::unique_ptr<test::SimProcess> sim_;
  std::vector<std::string> statuses_;
};

// Ticks every kind, sets the PLU range's end and presses OK.
std::unique_ptr<test::ModalWatcher> AnswerTransferDialog(const char* name, int last_plu) {
  return std::make_unique<test::ModalWatcher>([name, last_plu](QWidget* dialog) {
    if (dialog->objectName() != name) return false;
    for (QCheckBox* box : dialog->findChildren<QCheckBox*>())
      box->setChecked(true);
    for (QListWidget* list : dialog->findChildren<QListWidget*>())
      for (int i = 0; i < list->count(); ++i)
        list->item(i)->setCheckState(Qt::Checked);
    if (auto* spin = dialog->findChild<QSpinBox*>("RangeEndEdit")) spin->setValue(last_plu);
    if (auto* edit = dialog->findChild<QLineEdit*>("RangeEndEdit"))
      edit->setText(QString::number(last_plu));
    if (auto* ok = dialog->findChild<QAbstractButton*>("OKBtn"))
      QTimer::singleShot(0, ok, &QAbstractButton::click);
    return true;
  });
}

TEST_F(WindowTransferTest, TheTestDataGoToTheRegisterAndComeBack) {
  // At the line's speed each status stays long enough to be seen.
  Start({});
  Key(Qt::Key_F3, Qt::ControlModifier | Qt::AltModifier);
  {
    // Every box ticked: the register's data is backed up first, and the
    // message after the download says where.
    test::MessageBoxAnswers told({QMessageBox::Ok});
    auto dialog = AnswerTransferDialog("DownloadDlg", 12);
    auto status = RecordStatus();
    Key(Qt::Key_F9);
    ASSERT_TRUE(dialog->Done());
    ASSERT_EQ(told.Texts().size(), 1u);
    EXPECT_NE(told.Texts()[0].find(Path("backups")), std::string::npos) << told.Texts()[0];
  }
  EXPECT_TRUE(Saw("Connect...")) << testing::PrintToString(statuses_);
  EXPECT_TRUE(Saw("Download:PLU..."));
  EXPECT_TRUE(Saw("Disconnect..."));
  EXPECT_FALSE(Window().ProgressDialog().isVisible());
  EXPECT_EQ(ReceivedOfType(13), 4) << "the packages plumgr-cli sends for twelve PLUs";

  // The upload replaces the unsaved test data: the prompt comes first.
  statuses_.clear();
  {
    test::MessageBoxAnswers no({QMessageBox::No});
    auto dialog = AnswerTransferDialog("UploadDlg", 12);
    auto status = RecordStatus();
    Key(Qt::Key_F6);
    ASSERT_TRUE(dialog->Done());
  }
  EXPECT_TRUE(Saw("Upload:PLU...")) << testing::PrintToString(statuses_);
  EXPECT_EQ(PluCell(PluCol::Name, 12), "PLU-12");
  EXPECT_EQ(PluCell(PluCol::Barcode, 12), "1234567800012");
  EXPECT_EQ(PluCell(PluCol::Name, 13), "");
  EXPECT_TRUE(State().Modified()) << "what came is in no file yet";
}

// While the parameters travel (late answers), F9 starts nothing and Cancel
// ends the exchange with the register's disconnect.
TEST_F(WindowTransferTest, CancelEndsTheExchangeAndNoSecondCommandStartsMeanwhile) {
  Start({"--delay-ms", "150"});
  Window().SetParameterEditor([] { return true; });
  bool refused = false;
  test::ModalWatcher second_dialog(
      [](QWidget* dialog) { return dialog->objectName() == "DownloadDlg"; });
  test::Poller cancel([&] {
    if (Window().Progress().StatusText() != "Download:parameter...") return false;
    Key(Qt::Key_F9);
    refused = !Window().RunCommand([] {});
    auto* button = Window().ProgressDialog().findChild<QAbstractButton*>("CancelBtn");
    if (button != nullptr) button->click();
    return true;
  });
  Key(Qt::Key_F4, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_TRUE(refused);
  EXPECT_FALSE(second_dialog.Done()) << "F9 opened no dialog";
  EXPECT_EQ(Received(14, 1), 1) << "one connect";
  EXPECT_GE(Received(14, 2), 1) << "the register was told the exchange ended";
  EXPECT_LT(ReceivedOfType(1), 3) << "the parameter block was not sent whole";
  EXPECT_FALSE(Window().ProgressDialog().isVisible());
  EXPECT_FALSE(Window().Bus().isActive());
  EXPECT_TRUE(Window().isEnabled());
}

TEST_F(WindowTransferTest, ClosingTheWindowDuringAnExchangeCancelsItCleanly) {
  Start({"--delay-ms", "150"});
  Window().SetParameterEditor([] { return true; });
  test::Poller close([&] {
    if (Window().Progress().StatusText() != "Download:parameter...") return false;
    Window().close();
    return true;
  });
  Key(Qt::Key_F4, Qt::ControlModifier | Qt::AltModifier);
  QTRY_VERIFY(!Window().isVisible());
  EXPECT_GE(Received(14, 2), 1) << "the register got its disconnect";
  EXPECT_LT(ReceivedOfType(1), 3);
  EXPECT_FALSE(Window().Bus().isActive());
}

}  // namespace
}  // namespace plumgr
