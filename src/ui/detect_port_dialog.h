#pragma once
// "Detect port": tries COM1 to COM4 with a connect handshake on the dialog's own
// bus component and shows each port's result while the search waits.

#include <QDialog>
#include <memory>
#include <vector>

#include "app/link_commands.h"

class QLineEdit;
class QPushButton;

namespace plumgr::ui {

class DetectPortDialog : public QDialog {
  Q_OBJECT
 public:
  DetectPortDialog(QWidget* parent, MainWindowState& state);

  // Escape and the window's close button act as "&Close".
  void reject() override;

 private:
  void Detect();
  void Repaint();

  MainWindowState& state_;
  DetectPortModel model_;
  std::unique_ptr<TKovoIBusComm> bus_;
  std::vector<QLineEdit*> results_;
  QPushButton* detect_ = nullptr;
};

}  // namespace plumgr::ui
