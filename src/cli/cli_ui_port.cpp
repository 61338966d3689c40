#include "cli/cli_ui_port.h"

#include <iostream>

#include "cli/command_result.h"

namespace plumgr::cli {
namespace {

// Messages meant for a box join their lines with CR LF; a terminal wants LF.
std::string TerminalLines(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  return out;
}

}  // namespace

void CliUiPort::ShowMessage(const std::string& text) {
  std::cerr << text << "\n";
}

void CliUiPort::ShowError(const std::string& text) {
  NoteError(TerminalLines(text));
  std::cerr << TerminalLines(text) << "\n";
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
