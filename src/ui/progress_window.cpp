#include "ui/progress_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/display_text.h"
#include "ui/window_texts.h"

namespace plumgr::ui {

namespace {

constexpr int kClientWidth = 326;
constexpr int kClientHeight = 210;
// The error line's background: pure red.
const QColor kErrorBackground(255, 0, 0);
const QColor kValueColour(0, 0, 128);  // navy

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

// The caption labels are drawn sunken, as the bevelled labels of the register's tools are.
QLabel* MakeCaptionLabel(QWidget* parent, const char* name, const QString& text) {
  QLabel* label = MakeLabel(parent, name, text);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  return label;
}

QLabel* MakeValueLabel(QWidget* parent, const char* name, const QString& text) {
  QLabel* label = MakeLabel(parent, name, text);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, kValueColour);
  label->setPalette(palette);
  return label;
}

}  // namespace

ProgressWindow::ProgressWindow(ProgressModel& model, QWidget* main_window)
    : QDialog(main_window, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      model_(model),
      main_window_(main_window) {
  setObjectName("ProgressForm");
  setModal(false);
  BuildLayout();
  setFixedSize(kClientWidth, kClientHeight);
  model_.SetView(this);
  RegisterLanguageWindow(this);
}

ProgressWindow::~ProgressWindow() {
  model_.SetView(nullptr);
  if (isVisible()) SetMainWindowEnabled(true);
}

void ProgressWindow::BuildLayout() {
  auto* form = new QFormLayout;
  status_ = MakeLabel(this, "StatusLabel", "StatusLabel");
  status_->setAutoFillBackground(true);
  status_->setWordWrap(true);
  status_->setMinimumHeight(status_->fontMetrics().height() * 2);
  current_ = MakeValueLabel(this, "CurLabel", "123");
  total_ = MakeValueLabel(this, "TotalLabel", "456");
  form->addRow(MakeCaptionLabel(this, "Label3D1", tr("Status:")), status_);
  form->addRow(MakeCaptionLabel(this, "Label3D2", tr("Current package:")), current_);
  form->addRow(MakeCaptionLabel(this, "Label3D3", tr("Total Packages:")), total_);

  bar_ = new QProgressBar(this);
  bar_->setObjectName("ProgressBar1");
  bar_->setRange(0, 100);
  bar_->setValue(0);

  // OK takes Cancel's place in error mode: both sit in the same slot, one hidden.
  ok_ = new QPushButton(tr("&OK"), this);
  ok_->setObjectName("OKBtn");
  ok_->hide();
  cancel_ = new QPushButton(tr("Cancel"), this);
  cancel_->setObjectName("CancelBtn");
  connect(ok_, &QPushButton::clicked, this, [this] { model_.PressOk(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { model_.PressCancel(); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(bar_);
  layout->addStretch();
  layout->addLayout(buttons);
}

void ProgressWindow::SetMainWindowEnabled(bool enabled) {
  if (main_window_ == nullptr) return;
  main_window_->setEnabled(enabled);
  // Disabling a widget disables its child windows too, this one included; the
  // progress window's buttons are the ones that must act meanwhile.
  if (!enabled) setEnabled(true);
}

void ProgressWindow::ShowWindow() {
  SetMainWindowEnabled(false);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  show();
  raise();
  activateWindow();
  cancel_->setFocus();
}

void ProgressWindow::HideWindow() {
  hide();
  SetMainWindowEnabled(true);
}

void ProgressWindow::PaintStatusBackground(StatusMode mode) {
  QPalette palette = status_->palette();
  const QColor background = mode == StatusMode::Error
                                ? kErrorBackground
                                : QApplication::palette(status_).color(QPalette::Button);
  palette.setColor(QPalette::Window, background);
  status_->setPalette(palette);
}

void ProgressWindow::ShowStatus(StatusMode mode, const std::string& text) {
  const QString shown = InterfaceText(text);
  if (mode == StatusMode::Error) QApplication::beep();
  PaintStatusBackground(mode);
  const bool error = mode == StatusMode::Error;
  ok_->setVisible(error);
  cancel_->setVisible(!error);
  (error ? ok_ : cancel_)->setDefault(true);
  if (isVisible()) (error ? ok_ : cancel_)->setFocus();
  status_->setText(shown);
  setWindowTitle(shown);
  // The caller may block in a wait before the event loop runs again.
  status_->repaint();
}

void ProgressWindow::ShowCounts(const ProgressCounts& counts) {
  current_->setText(QString::fromStdString(counts.Current));
  total_->setText(QString::fromStdString(counts.Total));
  const int maximum = std::max(counts.BarMaximum, 0);
  bar_->setRange(0, maximum);
  bar_->setValue(std::clamp(counts.BarPosition, 0, maximum));
}

void ProgressWindow::reject() {
  if (ok_->isVisible())
    model_.PressOk();
  else
    model_.PressCancel();
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
  // The window closes only through the model, so its state stays the truth.
  event->ignore();
  if (model_.Visible()) reject();
}

}  // namespace plumgr::ui
