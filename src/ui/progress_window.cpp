// Stand-in until the progress window is built.
#include "ui/progress_window.h"

namespace plumgr::ui {

ProgressWindow::ProgressWindow(ProgressModel& model, QWidget* main_window)
    : QDialog(main_window), model_(model), main_window_(main_window) {
  model_.SetView(this);
}
ProgressWindow::~ProgressWindow() {
  model_.SetView(nullptr);
}
void ProgressWindow::ShowWindow() {
  if (main_window_) main_window_->setEnabled(false);
  show();
}
void ProgressWindow::HideWindow() {
  hide();
  if (main_window_) main_window_->setEnabled(true);
}
void ProgressWindow::ShowStatus(StatusMode, const std::string&) {}
void ProgressWindow::ShowCounts(const ProgressCounts&) {}

}  // namespace plumgr::ui
