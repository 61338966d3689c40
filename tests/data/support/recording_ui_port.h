#pragma once
// A UiPort that records what the core shows and answers from a script, for tests
// that run without a display.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "data/ui_port.h"

namespace plumgr::test {

class RecordingUiPort : public UiPort {
 public:
  std::vector<std::string> Messages;
  std::vector<std::string> Errors;
  int Beeps = 0;
  std::deque<Answer> Answers;  // taken in order by the Ask calls; Cancel when empty
  std::optional<std::string> OpenChoice;
  std::optional<std::string> SaveChoice;

  void ShowMessage(const std::string& text) override { Messages.push_back(text); }
  void ShowError(const std::string& text) override { Errors.push_back(text); }
  Answer AskYesNoCancel(const std::string& text) override { return Next(text); }
  Answer AskYesNo(const std::string& text) override { return Next(text); }
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions&) override {
    return OpenChoice;
  }
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions&) override {
    return SaveChoice;
  }
  void Beep() override { ++Beeps; }

  void Clear() {
    Messages.clear();
    Errors.clear();
    Beeps = 0;
  }

 private:
  Answer Next(const std::string& text) {
    Messages.push_back(text);
    if (Answers.empty()) return Answer::Cancel;
    Answer a = Answers.front();
    Answers.pop_front();
    return a;
  }
};

}  // namespace plumgr::test
