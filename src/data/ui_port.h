#pragma once
// What the core asks of the person in front of the program. The desktop program
// answers with dialogs, the command line with its own rules, tests with scripts.

#include <optional>
#include <string>

namespace plumgr {

enum class Answer { Yes, No, Cancel, Ok };

struct FileDialogOptions {
  std::string Filter = "PLU files(*.PLU)|*.PLU";
  std::string DefaultExtension = "PLU";
  std::string InitialDir = ".";
};

class UiPort {
 public:
  virtual ~UiPort() = default;
  // An information box with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // An error box with an OK button (platform and file errors).
  virtual void ShowError(const std::string& text) = 0;
  // A warning with Yes, No and Cancel.
  virtual Answer AskYesNoCancel(const std::string& text) = 0;
  // A confirmation with Yes and No.
  virtual Answer AskYesNo(const std::string& text) = 0;
  // The open dialog: an existing file, or nothing when cancelled.
  virtual std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) = 0;
  // The save dialog (asks before overwriting), or nothing when cancelled.
  virtual std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) = 0;
  // The platform's default beep, for refused input.
  virtual void Beep() = 0;
  // The busy cursor around long work.
  virtual void SetBusy(bool busy) { (void)busy; }
};

}  // namespace plumgr
