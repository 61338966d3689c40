#include "ui/command_runner.h"

namespace plumgr::ui {

bool CommandRunner::Run(const std::function<void()>& command) {
  if (busy_) return false;
  busy_ = true;
  // The flag must drop even when a platform failure escapes the command.
  struct Done {
    bool& busy;
    ~Done() { busy = false; }
  } done{busy_};
  command();
  return true;
}

}  // namespace plumgr::ui
