#pragma once
// One command of the main window at a time. A transfer's wait runs the event
// loop, so a menu item, a shortcut, a hidden key or a toolbar button could
// otherwise start a second command inside the first; every entry goes through
// here and is refused while another command runs.

#include <functional>

namespace plumgr::ui {

class CommandRunner {
 public:
  // Runs the command unless one is running; false when it was refused.
  bool Run(const std::function<void()>& command);
  bool Busy() const { return busy_; }

 private:
  bool busy_ = false;
};

}  // namespace plumgr::ui
