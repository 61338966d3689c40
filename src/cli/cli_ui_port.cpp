#include "cli/cli_ui_port.h"

#include <iostream>

namespace plumgr::cli {

void CliUiPort::ShowMessage(const std::string& text) {
  std::cerr << text << "\n";
}

void CliUiPort::ShowError(const std::string& text) {
  last_error_ = text;
  std::cerr << text << "\n";
}

Answer CliUiPort::AskYesNoCancel(const std::string& text) {
  std::cerr << text << " (cancelled: no questions on the command line)\n";
  return Answer::Cancel;
}

Answer CliUiPort::AskYesNo(const std::string&) {
  return Answer::No;
}

std::optional<std::string> CliUiPort::ChooseOpenFile(const FileDialogOptions&) {
  return {};
}

std::optional<std::string> CliUiPort::ChooseSaveFile(const FileDialogOptions&) {
  return {};
}

}  // namespace plumgr::cli
