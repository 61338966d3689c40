#pragma once
// For running the checks that speak to the operator (the repeat checks show
// their finding in a box) where nobody is in front of the program: nothing is
// shown, every question is declined, and the last message is kept so that the
// caller can report it beside the row and column it belongs to.

#include <string>

#include "data/ui_port.h"

namespace plumgr {

class MessageKeepingUiPort : public UiPort {
 public:
  // The last message or error the checks would have shown.
  std::string Last;

  void ShowMessage(const std::string& text) override { Last = text; }
  void ShowError(const std::string& text) override { Last = text; }
  Answer AskYesNoCancel(const std::string&) override { return Answer::Cancel; }
  Answer AskYesNo(const std::string&) override { return Answer::No; }
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions&) override { return {}; }
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions&) override { return {}; }
  void Beep() override {}
};

}  // namespace plumgr
