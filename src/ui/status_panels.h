#pragma once
// The main window's status bar: the open set, the port and speed, the register
// model, the keyboard locks, and the date and time.

#include <QObject>
#include <string>

class QLabel;
class QStatusBar;
class QTimer;

namespace plumgr::ui {

struct StatusTexts {
  std::string SetName;  // empty: untitled
  std::string Port;
  int Baud = 0;
  std::string Model;
  bool Modified = false;
};

class StatusPanels final : public QObject {
  Q_OBJECT
 public:
  explicit StatusPanels(QStatusBar* bar);

  void Show(const StatusTexts& texts);
  void ShowLocks(bool caps, bool num);

 private:
  void ShowClock();

  QLabel* set_;
  QLabel* port_;
  QLabel* model_;
  QLabel* locks_;
  QLabel* clock_;
  QTimer* timer_;
};

}  // namespace plumgr::ui
