#pragma once
// The progress window of the command line. Nobody sits in front of a script to
// press OK, so every view here shows an error as the last line on stderr and
// acknowledges it itself.

#include <iosfwd>
#include <memory>
#include <string>

#include "data/code_page.h"
#include "link/progress_model.h"

namespace plumgr::cli {

struct GlobalOptions;

enum class ProgressStyle {
  Quiet,        // --quiet: nothing but the error text
  StatusLines,  // stderr is not a terminal: one line per step, no bar
  Bar,          // stderr is a terminal: one redrawn line with a bar
  Json,         // --json: JSON lines on stdout
};

ProgressStyle ChooseProgressStyle(bool json, bool quiet, bool stderr_is_terminal);

// Register texts are single-byte text in the code page; the terminal and the
// JSON lines want UTF-8. A name that is no code page reads as Windows-1250.
std::string ToUtf8(const std::string& text, CodePageId page);
std::string ToUtf8(const std::string& text, const std::string& code_page);

class ScriptProgressView : public ProgressView {
 public:
  ScriptProgressView(ProgressModel& model, std::ostream& err, std::string code_page);

  void ShowWindow() override {}
  void HideWindow() override {}
  void ShowStatus(StatusMode mode, const std::string& text) override;
  void ShowCounts(const ProgressCounts& counts) override { (void)counts; }

 protected:
  virtual void ShowNormalStatus(const std::string& utf8_text) { (void)utf8_text; }
  // Called before the error line is printed.
  virtual void ShowError(const std::string& utf8_text) { (void)utf8_text; }

  std::ostream& err_;

 private:
  ProgressModel& model_;
  std::string code_page_;
};

class StatusLineProgressView : public ScriptProgressView {
 public:
  using ScriptProgressView::ScriptProgressView;

 protected:
  void ShowNormalStatus(const std::string& utf8_text) override;
};

class BarProgressView : public ScriptProgressView {
 public:
  using ScriptProgressView::ScriptProgressView;

  void ShowWindow() override;
  void HideWindow() override;
  void ShowCounts(const ProgressCounts& counts) override;

 protected:
  void ShowNormalStatus(const std::string& utf8_text) override;
  void ShowError(const std::string& utf8_text) override;

 private:
  void Draw();
  void EndLine();

  std::string status_;
  ProgressCounts counts_;
  bool line_open_ = false;
};

class JsonProgressView : public ScriptProgressView {
 public:
  JsonProgressView(ProgressModel& model, std::ostream& out, std::ostream& err,
                   std::string code_page);

  void ShowCounts(const ProgressCounts& counts) override;

 protected:
  void ShowNormalStatus(const std::string& utf8_text) override;
  void ShowError(const std::string& utf8_text) override;

 private:
  std::ostream& out_;
  std::string last_counts_;
};

// One JSON string literal, quotes included, for UTF-8 text.
std::string JsonQuote(const std::string& utf8_text);

std::unique_ptr<ProgressView> MakeProgressView(ProgressModel& model, ProgressStyle style,
                                               const std::string& code_page = "windows-1250");

// The style for the global options, with stderr's terminal state looked up.
std::unique_ptr<ProgressView> MakeProgressView(ProgressModel& model, const GlobalOptions& options,
                                               const std::string& code_page = "windows-1250");

}  // namespace plumgr::cli
