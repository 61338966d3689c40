#include "cli/progress_views.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <ostream>

#include "cli/cli_context.h"
#include "cli/command_result.h"

namespace plumgr::cli {

namespace {

constexpr int kBarWidth = 30;

}  // namespace

ProgressStyle ChooseProgressStyle(bool json, bool quiet, bool stderr_is_terminal) {
  if (quiet) return ProgressStyle::Quiet;
  if (json) return ProgressStyle::Json;
  return stderr_is_terminal ? ProgressStyle::Bar : ProgressStyle::StatusLines;
}

std::string ToUtf8(const std::string& text, CodePageId page) {
  return Utf16ToUtf8(DecodeCodePage(text, UpperHalf(page)));
}

std::string ToUtf8(const std::string& text, const std::string& code_page) {
  return ToUtf8(text, CodePageNamed(code_page).value_or(CodePageId::Windows1250));
}

std::string JsonQuote(const std::string& utf8_text) {
  std::string quoted = "\"";
  for (unsigned char c : utf8_text) {
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\t':
        quoted += "\\t";
        break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          quoted += escaped;
        } else {
          quoted += static_cast<char>(c);
        }
    }
  }
  return quoted + "\"";
}

ScriptProgressView::ScriptProgressView(ProgressModel& model, std::ostream& err,
                                       std::string code_page)
    : err_(err), model_(model), code_page_(std::move(code_page)) {}

void ScriptProgressView::ShowStatus(StatusMode mode, const std::string& text) {
  const std::string utf8 = ToUtf8(text, code_page_);
  if (mode == StatusMode::Normal) {
    ShowNormalStatus(utf8);
    return;
  }
  ShowError(utf8);
  NoteError(utf8);
  err_ << utf8 << '\n' << std::flush;
  model_.PressOk();
}

void StatusLineProgressView::ShowNormalStatus(const std::string& utf8_text) {
  err_ << utf8_text << '\n' << std::flush;
}

void BarProgressView::ShowWindow() {
  status_.clear();
  counts_ = ProgressCounts{};
}

void BarProgressView::HideWindow() {
  EndLine();
}

void BarProgressView::ShowCounts(const ProgressCounts& counts) {
  counts_ = counts;
  Draw();
}

void BarProgressView::ShowNormalStatus(const std::string& utf8_text) {
  status_ = utf8_text;
  Draw();
}

void BarProgressView::ShowError(const std::string& utf8_text) {
  (void)utf8_text;
  EndLine();
}

void BarProgressView::Draw() {
  // The counts are reset when the window is shown, before the first step names
  // itself; a bar without a name would only flicker.
  if (status_.empty()) return;
  int filled = 0;
  if (counts_.BarMaximum > 0) {
    const int position = std::clamp(counts_.BarPosition, 0, counts_.BarMaximum);
    filled = static_cast<int>(static_cast<long long>(position) * kBarWidth / counts_.BarMaximum);
  }
  err_ << '\r' << status_ << " [" << std::string(filled, '#')
       << std::string(kBarWidth - filled, '-') << "] " << counts_.Current << '/' << counts_.Total
       << "\x1b[K" << std::flush;
  line_open_ = true;
}

void BarProgressView::EndLine() {
  if (!line_open_) return;
  err_ << '\n' << std::flush;
  line_open_ = false;
}

JsonProgressView::JsonProgressView(ProgressModel& model, std::ostream& out, std::ostream& err,
                                   std::string code_page)
    : ScriptProgressView(model, err, std::move(code_page)), out_(out) {}

void JsonProgressView::ShowCounts(const ProgressCounts& counts) {
  std::string line =
      R"({"event":"progress","current":)" + counts.Current + R"(,"total":)" + counts.Total + "}";
  // Showing the window resets both counts one after the other; one line says it.
  if (line == last_counts_) return;
  last_counts_ = line;
  out_ << line << '\n' << std::flush;
}

void JsonProgressView::ShowNormalStatus(const std::string& utf8_text) {
  out_ << R"({"event":"status","text":)" << JsonQuote(utf8_text) << "}\n" << std::flush;
}

void JsonProgressView::ShowError(const std::string& utf8_text) {
  out_ << R"({"event":"error","text":)" << JsonQuote(utf8_text) << "}\n" << std::flush;
}

std::unique_ptr<ProgressView> MakeProgressView(ProgressModel& model, ProgressStyle style,
                                               const std::string& code_page) {
  switch (style) {
    case ProgressStyle::Quiet:
      return std::make_unique<ScriptProgressView>(model, std::cerr, code_page);
    case ProgressStyle::StatusLines:
      return std::make_unique<StatusLineProgressView>(model, std::cerr, code_page);
    case ProgressStyle::Bar:
      return std::make_unique<BarProgressView>(model, std::cerr, code_page);
    case ProgressStyle::Json:
      return std::make_unique<JsonProgressView>(model, std::cout, std::cerr, code_page);
  }
  return nullptr;
}

std::unique_ptr<ProgressView> MakeProgressView(ProgressModel& model, const GlobalOptions& options,
                                               const std::string& code_page) {
  const ProgressStyle style =
      ChooseProgressStyle(options.Json, options.Quiet, isatty(STDERR_FILENO) == 1);
  return MakeProgressView(model, style, code_page);
}

}  // namespace plumgr::cli
