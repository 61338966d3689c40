#pragma once
// The UI port of the command line: messages go to stderr, nothing is asked (a
// script cannot answer), file dialogs are never shown.

#include <string>

#include "data/ui_port.h"

namespace plumgr::cli {

class CliUiPort final : public UiPort {
 public:
  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;
  // Questions take the answer that keeps the operator's data: No to "apply it?",
  // Cancel to "save it now?".
  Answer AskYesNoCancel(const std::string& text) override;
  Answer AskYesNo(const std::string& text) override;
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) override;
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) override;
  void Beep() override {}
};

}  // namespace plumgr::cli
