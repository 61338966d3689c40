#include "link/progress_model.h"

#include <QEventLoop>

#include "link/kovo_ibus_comm.h"

namespace plumgr {

namespace {

std::string CountText(int count) {
  return std::to_string(count);
}

}  // namespace

void ProgressModel::Show() {
  visible_ = true;
  if (view_) view_->ShowWindow();
  SetMargin(0);
  SetProgress(0);
  state_ = ProgressState::Running;
}

void ProgressModel::Close() {
  if (!visible_) return;
  visible_ = false;
  if (view_) view_->HideWindow();
}

void ProgressModel::SetStatus(StatusMode mode, const std::string& text) {
  if (state_ == ProgressState::Closed) return;
  mode_ = mode;
  status_text_ = text;
  // The state changes before the view hears of it, so that a view which
  // acknowledges an error at once leaves the model closed.
  state_ = mode == StatusMode::Error ? ProgressState::ErrorShown : ProgressState::Running;
  if (view_) view_->ShowStatus(mode, text);
}

void ProgressModel::SetMargin(int margin) {
  margin_ = margin;
  counts_.Current = CountText(0);
  if (margin > 0) {
    counts_.Total = CountText(margin);
    counts_.BarMaximum = margin;
  } else {
    counts_.Total = CountText(0);
  }
  counts_.BarPosition = 0;
  if (view_) view_->ShowCounts(counts_);
}

void ProgressModel::SetProgress(int progress) {
  progress_ = progress;
  counts_.Current = CountText(progress);
  counts_.BarPosition = progress;
  if (view_) view_->ShowCounts(counts_);
}

void ProgressModel::PressOk() {
  CloseByOperator();
}

void ProgressModel::PressCancel() {
  if (bus_) bus_->Abort();
  CloseByOperator();
}

void ProgressModel::CloseByOperator() {
  Close();
  state_ = ProgressState::Closed;
  if (acknowledge_loop_) acknowledge_loop_->quit();
}

void ProgressModel::WaitForAcknowledge() {
  if (!view_) return;
  while (state_ != ProgressState::Closed) {
    QEventLoop loop;
    acknowledge_loop_ = &loop;
    const int code = loop.exec();
    acknowledge_loop_ = nullptr;
    // A non-zero code means the application is quitting: nobody will press OK.
    if (code != 0) break;
  }
}

}  // namespace plumgr
