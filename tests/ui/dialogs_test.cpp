// The desktop dialogs driven as an operator drives them, through the core's
// commands, against the settings file and the simulated register.

#include "ui/dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "data/ini_file.h"
#include "data/support/recording_ui_port.h"
#include "sim/ecr_simulator.h"
#include "ui/comm_setting_dialog.h"
#include "ui/progress_window.h"
#include "ui/support/modal_dialog.h"
#include "ui/support/typing.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;
using test::Child;
using test::Retype;
using test::WhenShown;

sim::SimConfig QuickRegister(bool silent = false) {
  sim::SimConfig config;
  config.LineRate = false;
  config.Faults.Silent = silent;
  return config;
}

QList<QRadioButton*> RadioItems(QWidget* dialog, const char* group) {
  return Child<QGroupBox>(dialog, group)->findChildren<QRadioButton*>();
}

class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("plumgr_dialogs_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    settings_ = (dir_ / "SYSTEM.CFG").string();
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Start() { state_.StartUp({settings_, (dir_ / "dumps").string(), '.'}); }
  // The settings file with these [Comm] lines.
  void WriteComm(const std::vector<std::string>& lines) {
    std::ofstream out(settings_);
    out << "[Comm]\r\n";
    for (const std::string& line : lines)
      out << line << "\r\n";
  }
  std::string Absent(const std::string& name) const { return (dir_ / name).string(); }
  int ReadComm(const char* key) const { return IniFile(settings_).ReadInteger("Comm", key, -1); }

  fs::path dir_;
  std::string settings_;
  test::RecordingUiPort ui_;
  MainWindowState state_{ui_};
};

TEST_F(DialogsTest, DownloadDialogStaysOpenOnAnInvalidRangeAndDownloadsWhatOkAccepted) {
  sim::EcrSimulator sim(QuickRegister());
  WriteComm({"COM2=" + sim.Start()});
  Start();
  state_.GetTables().DeptmentGrid.SetCell(DeptCol::Name, 1, "BREAD");
  auto bus = MakeMainBus();
  ProgressModel progress(bus.get());
  QWidget main_window;
  ui::ProgressWindow window(progress, &main_window);
  TransferCommands commands(state_, *bus, progress);

  bool stayed_open = false;
  WhenShown("DownloadDlg", [&](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "Download data");
    auto* from = Child<QSpinBox>(dialog, "RangeBeginEdit");
    auto* to = Child<QSpinBox>(dialog, "RangeEndEdit");
    EXPECT_EQ(to->maximum(), 3000) << "the model's PLU count";
    EXPECT_EQ(to->value(), 10);
    Retype(from, "5");
    Retype(to, "3");
    QTest::keyClick(to, Qt::Key_Return);  // Enter is OK
    stayed_open = dialog->isVisible();
    // "department" is the second kind: move there and tick it with Space.
    auto* kinds = Child<QListWidget>(dialog, "CheckListBox1");
    EXPECT_EQ(kinds->count(), 7);
    kinds->setFocus();
    QTest::keyClick(kinds, Qt::Key_Down);
    QTest::keyClick(kinds, Qt::Key_Space);
    Retype(to, "7");
    QTest::keyClick(to, Qt::Key_Return);
  });
  EXPECT_TRUE(commands.DownloadItemClick([&](TransferDialogModel& model) {
    return ui::ShowTransferDialog(&main_window, model, ui_);
  }));

  EXPECT_TRUE(stayed_open) << "From 5 To 3 is refused and the dialog stays open";
  EXPECT_EQ(ui_.Messages, (std::vector<std::string>{"Invalid PLU range"}));
  EXPECT_EQ(commands.Driver().DownloadKinds, KindBit(kDownloadDepartment));
  EXPECT_EQ(commands.DownloadRange().First, 5);
  EXPECT_EQ(commands.DownloadRange().Last, 7);
  const auto& departments = sim.Memory().Departments;
  EXPECT_NE(std::string(departments.begin(), departments.end()).find("BREAD"), std::string::npos)
      << "the register holds the department the checked kind sent";
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(main_window.isEnabled());
}

TEST_F(DialogsTest, BaseFieldDiscardsAllButHexDigitsAndOkHandsBackTheRange) {
  MemoryRangeModel model;
  auto dialog = [&](MemoryRangeModel& m) { return ui::ShowDataRangeDialog(nullptr, m, ui_); };
  WhenShown("DataDlg", [&](QWidget* window) {
    EXPECT_EQ(window->windowTitle(), "Upload data range");
    auto* base = Child<QLineEdit>(window, "Edit1");
    EXPECT_EQ(base->text(), "0");
    Retype(base, "1g-F x");
    EXPECT_EQ(base->text(), "1F");
    QApplication::clipboard()->setText("2zz");
    base->paste();
    EXPECT_EQ(base->text(), "1F2") << "pasted text is filtered as typed text is";
    Retype(Child<QLineEdit>(window, "Edit2"), "2");
    RadioItems(window, "RadioGroup1").at(1)->click();  // RAM
    Child<QPushButton>(window, "OKBtn")->click();
  });
  std::optional<MemoryRange> range =
      RunMemoryRangeDialog(model, kUploadDataRangeCaption, dialog, ui_);
  ASSERT_TRUE(range.has_value());
  EXPECT_EQ(range->FirstPage, 0x1F2u);
  EXPECT_EQ(range->Count, 2);
  EXPECT_EQ(range->Kind, MemoryKind::Ram);
  EXPECT_EQ(ui_.Beeps, 5) << "g, -, the blank and x; the paste once";

  ui_.Clear();
  WhenShown("DataDlg", [&](QWidget* window) {
    EXPECT_EQ(Child<QLineEdit>(window, "Edit1")->text(), "1F2") << "fields keep their contents";
    Retype(Child<QLineEdit>(window, "Edit1"), "");
    Child<QPushButton>(window, "OKBtn")->click();
  });
  EXPECT_FALSE(RunMemoryRangeDialog(model, kUploadDataRangeCaption, dialog, ui_).has_value());
  EXPECT_EQ(ui_.Beeps, 1) << "an empty base address beeps and starts nothing";
}

TEST_F(DialogsTest, CommDialogShowsWhereEachPortLeadsAndStoresOnlyOnOk) {
  const std::string adapter = "/dev/serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0";
  const std::vector<SerialPortInfo> present = {{"/dev/ttyUSB0", "ftdi_sio", {adapter}}};
  const PortSettingLookup lookup = [&](const std::string& key) {
    return key == "COM3" ? adapter : std::string();
  };
  EXPECT_EQ(ui::PortChoiceText(3, lookup, present),
            "COM3 = /dev/ttyUSB0 (usb-FTDI_FT232R_A50285BI-if00-port0)");
  EXPECT_EQ(ui::PortChoiceText(0, lookup, present), "None");

  WriteComm({"Port=1", "BaudRate=2", "COM3=" + Absent("ttyUSB7")});
  Start();
  const auto run = [&] {
    return CommsetCommand(state_, [&](CommSettingsModel& model) {
      return ui::ShowCommSettingDialog(nullptr, settings_, model);
    });
  };
  WhenShown("CommDlg", [&](QWidget* dialog) {
    auto* port = Child<QComboBox>(dialog, "PortCB");
    EXPECT_EQ(port->count(), 5);
    EXPECT_EQ(port->currentIndex(), 1);
    EXPECT_EQ(port->itemText(3),
              QString::fromStdString("COM3 = " + Absent("ttyUSB7")) + " (not present)");
    EXPECT_TRUE(RadioItems(dialog, "BaudRateRG").at(2)->isChecked()) << "38400";
    EXPECT_FALSE(Child<QGroupBox>(dialog, "ParityRG")->isEnabled());
    port->setCurrentIndex(3);
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  EXPECT_FALSE(run());
  EXPECT_EQ(ReadComm("Port"), 1) << "Cancel writes nothing";

  WhenShown("CommDlg", [&](QWidget* dialog) {
    Child<QComboBox>(dialog, "PortCB")->setCurrentIndex(3);
    RadioItems(dialog, "BaudRateRG").at(4)->click();
    Child<QPushButton>(dialog, "OKBtn")->click();
  });
  EXPECT_TRUE(run());
  EXPECT_EQ(ReadComm("Port"), 3);
  EXPECT_EQ(ReadComm("BaudRate"), 4);
  EXPECT_EQ(state_.PortIndex(), 3);

  // Values the lists do not hold select nothing, and OK leaves them as they were.
  WriteComm({"Port=9", "BaudRate=7"});
  WhenShown("CommDlg", [&](QWidget* dialog) {
    EXPECT_EQ(Child<QComboBox>(dialog, "PortCB")->currentIndex(), -1);
    Child<QPushButton>(dialog, "OKBtn")->click();
  });
  EXPECT_TRUE(run());
  EXPECT_EQ(ReadComm("Port"), 9);
  EXPECT_EQ(ReadComm("BaudRate"), 7);
}

TEST_F(DialogsTest, DetectFindsTheRegisterOnCom3AndYesStoresThePort) {
  sim::EcrSimulator sim(QuickRegister());
  WriteComm({"COM1=" + Absent("tty1"), "COM2=" + Absent("tty2"), "COM3=" + sim.Start(),
             "COM4=" + Absent("tty4")});
  Start();
  ui_.Answers = {Answer::Yes};
  QStringList results;
  WhenShown("DetectPortDlg", [&](QWidget* dialog) {
    auto* detect = Child<QPushButton>(dialog, "DetectBtn");
    detect->click();  // the search runs inside the click
    for (int i = 1; i <= 4; ++i)
      results << Child<QLineEdit>(dialog, "Edit" + QString::number(i))->text();
    EXPECT_TRUE(detect->isEnabled());
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  ui::ShowDetectPortDialog(nullptr, state_);
  EXPECT_EQ(results, (QStringList{"No kovo found.", "No kovo found.", "Kovo found!", ""}));
  EXPECT_EQ(ui_.Errors.size(), 2u) << "one message per port that cannot be opened";
  EXPECT_EQ(ui_.Messages.back(), kDetectApplyQuestion);
  EXPECT_EQ(ReadComm("Port"), 3);
}

TEST_F(DialogsTest, ClosingTheDetectDialogEndsTheWaitAtOnce) {
  sim::EcrSimulator silent(QuickRegister(true));
  sim::EcrSimulator answering(QuickRegister());
  WriteComm({"COM1=" + silent.Start(), "COM2=" + answering.Start()});
  Start();
  QString shown_while_waiting;
  WhenShown("DetectPortDlg", [&](QWidget* dialog) {
    QTimer::singleShot(300, dialog, [&, dialog] {
      shown_while_waiting = Child<QLineEdit>(dialog, "Edit1")->text();
      Child<QPushButton>(dialog, "CloseBtn")->click();
    });
    Child<QPushButton>(dialog, "DetectBtn")->click();
  });
  ui::ShowDetectPortDialog(nullptr, state_);
  EXPECT_LT(silent.Received().size(), 21u) << "a full handshake would send 21 frames";
  EXPECT_EQ(shown_while_waiting, "Testing...") << "the field was painted during the wait";
  EXPECT_TRUE(answering.Received().empty()) << "COM2 is not tried after Close";
  EXPECT_EQ(ReadComm("Port"), -1);
}

TEST_F(DialogsTest, SelectEcrTicksTheModelInForceAndOnlyOkWritesIt) {
  Start();
  const auto run = [&] {
    return SelectEcrCommand(
        state_, [](SelectEcrModel& model) { return ui::ShowSelectEcrDialog(nullptr, model); });
  };
  WhenShown("uSelectFrm", [&](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "Select ECR");
    auto* list = Child<QListWidget>(dialog, "chklst1");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QString::fromStdString(CurrentProfile().Title));
    EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
    Child<QPushButton>(dialog, "btn2")->click();
  });
  EXPECT_FALSE(run());
  EXPECT_EQ(IniFile(settings_).ReadString("Other", "Service", "none"), "none");

  WhenShown("uSelectFrm", [&](QWidget* dialog) { Child<QPushButton>(dialog, "btn1")->click(); });
  EXPECT_TRUE(run());
  EXPECT_EQ(IniFile(settings_).ReadInteger("Other", "Service", -1), 0);
}

}  // namespace
}  // namespace plumgr
