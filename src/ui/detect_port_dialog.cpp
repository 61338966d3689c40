#include "ui/detect_port_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/kovo_ibus_comm.h"
#include "ui/dialogs.h"
#include "ui/display_text.h"
#include "ui/window_texts.h"

namespace plumgr::ui {

DetectPortDialog::DetectPortDialog(QWidget* parent, MainWindowState& state)
    : QDialog(parent, Qt::Tool), state_(state), bus_(MakeDetectionBus()) {
  setObjectName("DetectPortDlg");
  setWindowTitle(tr("Detect port"));
  OpenDetectDialog(model_);
  model_.Repaint = [this] { Repaint(); };

  auto* grid = new QGridLayout;
  for (std::size_t i = 0; i < model_.Ports.size(); ++i) {
    const QString number = QString::number(i + 1);
    auto* label = new QLabel(QString::fromStdString(model_.Ports[i]) + " :", this);
    label->setObjectName("Label3D" + number);
    label->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* result = new QLineEdit(this);
    result->setObjectName("Edit" + number);
    result->setEnabled(false);
    result->setMinimumWidth(result->fontMetrics().horizontalAdvance("No kovo found.") * 3 / 2);
    grid->addWidget(label, static_cast<int>(i), 0);
    grid->addWidget(result, static_cast<int>(i), 1);
    results_.push_back(result);
  }

  detect_ = new QPushButton(tr("&Detect"), this);
  detect_->setObjectName("DetectBtn");
  detect_->setDefault(true);
  auto* close = new QPushButton(tr("&Close"), this);
  close->setObjectName("CloseBtn");
  close->setAutoDefault(false);
  connect(detect_, &QPushButton::clicked, this, &DetectPortDialog::Detect);
  connect(close, &QPushButton::clicked, this, &DetectPortDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(detect_);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  Repaint();
  detect_->setFocus();
  RegisterLanguageWindow(this);
}

void DetectPortDialog::Detect() {
  DetectBtnClick(state_, model_, *bus_);
}

void DetectPortDialog::Repaint() {
  for (std::size_t i = 0; i < results_.size() && i < model_.Results.size(); ++i) {
    results_[i]->setText(InterfaceText(model_.Results[i]));
    results_[i]->repaint();
  }
  detect_->setEnabled(model_.DetectEnabled);
  detect_->repaint();
}

void DetectPortDialog::reject() {
  CloseBtnClick(model_, *bus_);
  QDialog::reject();
}

void ShowDetectPortDialog(QWidget* parent, MainWindowState& state) {
  DetectPortDialog dialog(parent, state);
  dialog.exec();
}

}  // namespace plumgr::ui
