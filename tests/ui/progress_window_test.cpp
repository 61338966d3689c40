// The progress window as the view of the progress model: counts, the error
// mode with its OK, and Cancel during a real wait on the bus.

#include "ui/progress_window.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "app/link_commands.h"
#include "sim/ecr_simulator.h"
#include "ui/support/modal_dialog.h"

namespace plumgr {
namespace {

using test::Child;

class ProgressWindowTest : public ::testing::Test {
 protected:
  QLabel* Label(const char* name) { return Child<QLabel>(&window_, name); }
  QPushButton* Button(const char* name) { return Child<QPushButton>(&window_, name); }

  ProgressModel progress_;
  QWidget main_window_;
  ui::ProgressWindow window_{progress_, &main_window_};
};

TEST_F(ProgressWindowTest, AnErrorShowsItsTextOnRedAndOkEndsTheWaitForAcknowledge) {
  progress_.Show();
  EXPECT_TRUE(window_.isVisible());
  EXPECT_FALSE(main_window_.isEnabled()) << "no other command starts during an exchange";
  EXPECT_EQ(window_.objectName(), "ProgressForm");

  progress_.SetMargin(5);
  progress_.SetProgress(3);
  auto* bar = Child<QProgressBar>(&window_, "ProgressBar1");
  EXPECT_EQ(bar->maximum(), 5);
  EXPECT_EQ(bar->value(), 3);
  EXPECT_EQ(Label("CurLabel")->text(), "3");
  progress_.SetMargin(0);
  EXPECT_EQ(Label("CurLabel")->text(), "0");
  EXPECT_EQ(Label("TotalLabel")->text(), "0");
  EXPECT_EQ(bar->maximum(), 5) << "a margin of 0 leaves the bar's range";

  // Windows-1250 bytes from a language file: "Pobieranie:" ... "\x9C" is s with acute.
  progress_.SetStatus(StatusMode::Normal, "Wysy\xb3\x61nie...");
  EXPECT_EQ(Label("StatusLabel")->text(), QString::fromUtf8("Wysyłanie..."));
  EXPECT_EQ(window_.windowTitle(), QString::fromUtf8("Wysyłanie..."));

  progress_.SetStatus(StatusMode::Error, "Connect...Error!");
  QLabel* status = Label("StatusLabel");
  EXPECT_EQ(status->text(), "Connect...Error!");
  EXPECT_EQ(window_.windowTitle(), "Connect...Error!");
  EXPECT_TRUE(status->autoFillBackground());
  EXPECT_EQ(status->palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_TRUE(Button("OKBtn")->isVisible());
  EXPECT_FALSE(Button("CancelBtn")->isVisible());

  progress_.SetStatus(StatusMode::Normal, "Download:PLU...");
  EXPECT_NE(status->palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_TRUE(Button("CancelBtn")->isVisible()) << "a normal status brings Cancel back";
  EXPECT_FALSE(Button("OKBtn")->isVisible());

  progress_.SetStatus(StatusMode::Error, "Download:PLU...Error!");
  QTimer::singleShot(50, &window_, [this] { Button("OKBtn")->click(); });
  progress_.WaitForAcknowledge();
  EXPECT_EQ(progress_.State(), ProgressState::Closed);
  EXPECT_FALSE(window_.isVisible());
  EXPECT_TRUE(main_window_.isEnabled());
}

TEST_F(ProgressWindowTest, CancelDuringTheConnectWaitEndsItAtOnceWithoutAnError) {
  sim::SimConfig config;
  config.LineRate = false;
  config.Faults.Silent = true;
  sim::EcrSimulator silent(config);
  auto bus = MakeMainBus();
  bus->SetCommName(silent.Start());
  QString shown_while_waiting;
  QTimer::singleShot(300, &window_, [&] {
    shown_while_waiting = Label("StatusLabel")->text();
    Button("CancelBtn")->click();
  });
  EXPECT_FALSE(RunLinkTest(*bus, progress_));
  EXPECT_LT(silent.Received().size(), 21u) << "the silence would have lasted 21 connect frames";
  EXPECT_EQ(shown_while_waiting, "Connect...");
  EXPECT_EQ(progress_.State(), ProgressState::Closed);
  EXPECT_EQ(Label("StatusLabel")->text(), "Connect...") << "no error is shown after Cancel";
  EXPECT_FALSE(window_.isVisible());
  EXPECT_TRUE(main_window_.isEnabled());
  EXPECT_FALSE(bus->isActive()) << "the port is closed again";
}

}  // namespace
}  // namespace plumgr
