#pragma once
// Window tests answer modal dialogs from a timer that waits for them to show:
// the command under test runs the dialog's own event loop meanwhile.

#include <QMessageBox>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace plumgr::test {

// Calls `act` with each new active modal widget until it returns true, for at
// most `timeout_ms`. The watcher lives until then or until it is destroyed.
class ModalWatcher {
 public:
  explicit ModalWatcher(std::function<bool(QWidget*)> act, int timeout_ms = 20000);
  ~ModalWatcher();
  ModalWatcher(const ModalWatcher&) = delete;
  ModalWatcher& operator=(const ModalWatcher&) = delete;
  bool Done() const;

 private:
  struct Impl;
  Impl* impl_;
};

// Answers the message boxes that appear, one answer each, in order, and keeps
// their texts.
class MessageBoxAnswers {
 public:
  explicit MessageBoxAnswers(std::vector<QMessageBox::StandardButton> answers);
  const std::vector<std::string>& Texts() const { return texts_; }

 private:
  std::vector<QMessageBox::StandardButton> answers_;
  std::vector<std::string> texts_;
  ModalWatcher watcher_;
};

// Answers the next file dialog with a path, or cancels it when the path is empty.
std::unique_ptr<ModalWatcher> ChooseFile(const QString& path);

// Calls `act` repeatedly (every few milliseconds) until it returns true; it
// runs inside the nested event loops of a command.
class Poller {
 public:
  explicit Poller(std::function<bool()> act);
  ~Poller();
  Poller(const Poller&) = delete;
  Poller& operator=(const Poller&) = delete;

 private:
  struct Impl;
  Impl* impl_;
};

}  // namespace plumgr::test
