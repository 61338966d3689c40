#pragma once
// The desktop program's answers to what the core asks of the person: message
// boxes, the open and save dialogs, the beep and the busy cursor. Texts cross
// from the core's bytes to the display here.

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "data/ui_port.h"

class QWidget;

namespace plumgr::ui {

// What a message box asks; the answering hook sees it with the box's text.
enum class MessageKind { Information, Error, YesNoCancel, YesNo };

// A core text (UTF-8) for the display, and back.
QString ToQString(const std::string& text);
std::string FromQString(const QString& text);

// "PLU files(*.PLU)|*.PLU" (description and pattern pairs joined by "|") as a
// file dialog's name filters: "PLU files (*.PLU)".
QString QtNameFilters(const std::string& filter);

class QtUiPort final : public UiPort {
 public:
  // Boxes and dialogs are centred on the parent (may be null).
  explicit QtUiPort(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  // The caption of the message boxes: the application title.
  void SetTitle(const std::string& title) { title_ = title; }

  // A hook that answers instead of a box (a headless run); returning nothing
  // lets the box appear.
  using AnswerHook = std::function<std::optional<Answer>(MessageKind, const std::string&)>;
  void SetAnswerHook(AnswerHook hook) { answer_ = std::move(hook); }

  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;
  Answer AskYesNoCancel(const std::string& text) override;
  Answer AskYesNo(const std::string& text) override;
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) override;
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) override;
  void Beep() override;
  void SetBusy(bool busy) override;
  // How many times refused input has beeped (the beep itself cannot be seen).
  int BeepCount() const { return beeps_; }

 private:
  Answer Ask(MessageKind kind, const std::string& text);
  std::optional<std::string> ChooseFile(const FileDialogOptions& options, bool save);

  QWidget* parent_;
  std::string title_;
  AnswerHook answer_;
  int beeps_ = 0;
};

}  // namespace plumgr::ui
