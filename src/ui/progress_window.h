#pragma once
// The progress window of every exchange with the register: a modeless view of
// the ProgressModel. While it is shown the main window is disabled; Cancel (and
// OK in error mode) are the controls that act.

#include <QDialog>

#include "link/progress_model.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace plumgr::ui {

class ProgressWindow : public QDialog, public ProgressView {
  Q_OBJECT
 public:
  // `main_window` is disabled while the window is shown (may be null).
  ProgressWindow(ProgressModel& model, QWidget* main_window);
  ~ProgressWindow() override;

  void ShowWindow() override;
  void HideWindow() override;
  void ShowStatus(StatusMode mode, const std::string& text) override;
  void ShowCounts(const ProgressCounts& counts) override;

  // Escape and the window manager's close act as the button on show.
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildLayout();
  void SetMainWindowEnabled(bool enabled);
  void PaintStatusBackground(StatusMode mode);

  ProgressModel& model_;
  QWidget* main_window_;
  QLabel* status_ = nullptr;
  QLabel* current_ = nullptr;
  QLabel* total_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace plumgr::ui
