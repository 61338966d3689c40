#include "link/progress_model.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>
#include <string>
#include <vector>

#include "link/kovo_ibus_comm.h"
#include "link/support/scripted_register.h"

namespace plumgr {
namespace {

// Records what a window would show, as one line per call.
class RecordingView : public ProgressView {
 public:
  explicit RecordingView(ProgressModel& model, bool acknowledges = false)
      : model_(model), acknowledges_(acknowledges) {}

  void ShowWindow() override { calls.push_back("show"); }
  void HideWindow() override { calls.push_back("hide"); }
  void ShowStatus(StatusMode mode, const std::string& text) override {
    calls.push_back((mode == StatusMode::Error ? "error " : "status ") + text);
    if (mode == StatusMode::Error && acknowledges_) model_.PressOk();
  }
  void ShowCounts(const ProgressCounts& counts) override {
    last_counts = counts;
    calls.push_back("counts " + counts.Current + "/" + counts.Total);
  }

  std::vector<std::string> calls;
  ProgressCounts last_counts;

 private:
  ProgressModel& model_;
  bool acknowledges_;
};

class ProgressModelTest : public ::testing::Test {
 protected:
  void SetUp() override { model.SetView(&view); }

  ProgressModel model;
  RecordingView view{model};
};

TEST_F(ProgressModelTest, ShowResetsTheCountsAndRuns) {
  model.Show();
  EXPECT_EQ(view.calls, (std::vector<std::string>{"show", "counts 0/0", "counts 0/0"}));
  EXPECT_EQ(model.State(), ProgressState::Running);
  EXPECT_TRUE(model.Visible());
  EXPECT_EQ(model.Margin(), 0);
  EXPECT_EQ(model.Progress(), 0);
}

TEST_F(ProgressModelTest, MarginSetsTheTotalAndRangeButZeroLeavesTheRange) {
  model.Show();
  model.SetMargin(12);
  model.SetProgress(5);
  EXPECT_EQ(view.last_counts.Current, "5");
  EXPECT_EQ(view.last_counts.Total, "12");
  EXPECT_EQ(view.last_counts.BarMaximum, 12);
  EXPECT_EQ(view.last_counts.BarPosition, 5);

  model.SetMargin(0);
  EXPECT_EQ(view.last_counts.Current, "0");
  EXPECT_EQ(view.last_counts.Total, "0");
  EXPECT_EQ(view.last_counts.BarMaximum, 12);
  EXPECT_EQ(view.last_counts.BarPosition, 0);
  model.SetMargin(-3);
  EXPECT_EQ(model.Margin(), -3);
  EXPECT_EQ(view.last_counts.Total, "0");
  EXPECT_EQ(view.last_counts.BarMaximum, 12);
}

TEST_F(ProgressModelTest, ErrorWaitsForOkAndNormalStatusRestoresCancel) {
  model.Show();
  model.SetStatus(StatusMode::Error, "Connect...Error!");
  EXPECT_EQ(model.State(), ProgressState::ErrorShown);
  EXPECT_EQ(model.Mode(), StatusMode::Error);
  model.SetStatus(StatusMode::Normal, "Connect...");
  EXPECT_EQ(model.State(), ProgressState::Running);
  EXPECT_EQ(model.Mode(), StatusMode::Normal);
  EXPECT_EQ(view.calls.back(), "status Connect...");
}

TEST_F(ProgressModelTest, WaitForAcknowledgeSleepsInTheEventLoopUntilOk) {
  model.Show();
  model.SetStatus(StatusMode::Error, "Download:PLU...Error!");
  QTimer::singleShot(60, [this] { model.PressOk(); });
  QElapsedTimer clock;
  clock.start();
  model.WaitForAcknowledge();
  EXPECT_GE(clock.elapsed(), 50);
  EXPECT_EQ(model.State(), ProgressState::Closed);
  EXPECT_FALSE(model.Visible());
  EXPECT_EQ(view.calls.back(), "hide");
}

TEST_F(ProgressModelTest, AfterCancelStatusChangesNothingAndNoAcknowledgeIsAwaited) {
  model.Show();
  model.SetStatus(StatusMode::Normal, "Connect...");
  model.PressCancel();
  EXPECT_EQ(model.State(), ProgressState::Closed);
  const std::size_t calls = view.calls.size();
  model.SetStatus(StatusMode::Error, "Connect...Error!");
  EXPECT_EQ(view.calls.size(), calls);
  EXPECT_EQ(model.StatusText(), "Connect...");
  model.WaitForAcknowledge();  // returns at once
  EXPECT_EQ(model.State(), ProgressState::Closed);
}

TEST(ProgressModelScriptTest, ViewThatAcknowledgesItselfLeavesTheModelClosed) {
  ProgressModel model;
  RecordingView view(model, true);
  model.SetView(&view);
  model.Show();
  model.SetStatus(StatusMode::Error, "Upload:...Error!");
  EXPECT_EQ(model.State(), ProgressState::Closed);
  model.WaitForAcknowledge();
  ProgressModel without_view;
  without_view.Show();
  without_view.SetStatus(StatusMode::Error, "Connect...Error!");
  without_view.WaitForAcknowledge();  // nobody could press OK
  EXPECT_EQ(without_view.State(), ProgressState::ErrorShown);
}

TEST(ProgressCancelTest, CancelDuringASendPackageWaitFailsItAtOnceAndClosesTheWindow) {
  test::ScriptedRegister reg;
  reg.SetScript([](const test::ReceivedFrame&, std::size_t) {
    return test::Reply{{}, test::WaitEnd::Held};  // only Cancel ends the wait
  });
  TKovoIBusComm bus;
  bus.SetCommName(reg.PortName());
  bus.SetReplyTimer(reg.MakeReplyTimer());
  ASSERT_TRUE(bus.Activate(true));
  ProgressModel model(&bus);
  RecordingView view(model);
  model.SetView(&view);
  model.Show();
  model.SetStatus(StatusMode::Normal, "Download:PLU...");
  QTimer::singleShot(50, [&model] { model.PressCancel(); });
  EXPECT_FALSE(bus.SendPackage(13, 0));
  EXPECT_EQ(reg.BackstopExpiries(), 0);
  EXPECT_EQ(reg.Frames().size(), 1u);
  EXPECT_EQ(model.State(), ProgressState::Closed);
  EXPECT_FALSE(model.Visible());
  // The caller's error report after a Cancel shows nothing and waits for nobody.
  model.SetStatus(StatusMode::Error, "Download:PLU...Error!");
  model.WaitForAcknowledge();
  EXPECT_EQ(view.calls.back(), "hide");
}

}  // namespace
}  // namespace plumgr
