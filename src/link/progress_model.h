#pragma once
// The progress window of every exchange with the register, apart from how it is
// drawn: the status line, the package counts, the bar, and the Cancel and OK
// actions. The desktop window and the command line are views of this model.

#include <cstdint>
#include <string>

class QEventLoop;

namespace plumgr {

class TKovoIBusComm;

enum class ProgressState : std::uint8_t { Running = 0, ErrorShown = 1, Closed = 2 };

enum class StatusMode : int { Normal = 0, Error = 1 };

// What the count labels and the bar show.
struct ProgressCounts {
  std::string Current = "0";
  std::string Total = "0";
  int BarMaximum = 100;  // the bar runs from 0 to BarMaximum
  int BarPosition = 0;
};

class ProgressModel;

class ProgressView {
 public:
  virtual ~ProgressView() = default;
  // The window becomes visible; the main window stays disabled while it is.
  virtual void ShowWindow() = 0;
  // The window is hidden; the main window is enabled again.
  virtual void HideWindow() = 0;
  // Normal mode: standard background, Cancel shown, the text painted at once.
  // Error mode: a beep, the text on red, OK in Cancel's place. The caption
  // always equals the text. A view that cannot wait for an operator (a script)
  // acknowledges the error itself by calling PressOk.
  virtual void ShowStatus(StatusMode mode, const std::string& text) = 0;
  virtual void ShowCounts(const ProgressCounts& counts) = 0;
};

class ProgressModel {
 public:
  // Cancel aborts the wait in progress of `bus` (may be null where nothing waits).
  explicit ProgressModel(TKovoIBusComm* bus = nullptr) : bus_(bus) {}
  ProgressModel(const ProgressModel&) = delete;
  ProgressModel& operator=(const ProgressModel&) = delete;

  // The view is not owned; null detaches it.
  void SetView(ProgressView* view) { view_ = view; }
  void SetBus(TKovoIBusComm* bus) { bus_ = bus; }

  void Show();
  void Close();
  void SetStatus(StatusMode mode, const std::string& text);

  int Margin() const { return margin_; }
  void SetMargin(int margin);
  int Progress() const { return progress_; }
  void SetProgress(int progress);

  void PressOk();
  void PressCancel();

  // Runs the event loop until the operator has pressed OK or Cancel. Without a
  // view nobody could press either, so it returns at once.
  void WaitForAcknowledge();

  ProgressState State() const { return state_; }
  bool Visible() const { return visible_; }
  StatusMode Mode() const { return mode_; }
  const std::string& StatusText() const { return status_text_; }
  const ProgressCounts& Counts() const { return counts_; }

 private:
  void CloseByOperator();

  TKovoIBusComm* bus_ = nullptr;
  ProgressView* view_ = nullptr;
  QEventLoop* acknowledge_loop_ = nullptr;
  ProgressState state_ = ProgressState::Closed;
  bool visible_ = false;
  StatusMode mode_ = StatusMode::Normal;
  std::string status_text_ = "StatusLabel";
  int margin_ = 0;
  int progress_ = 0;
  ProgressCounts counts_;
};

}  // namespace plumgr
