#include "cli/link_session.h"

#include <algorithm>
#include <iostream>

#include "app/link_commands.h"
#include "cli/command_result.h"
#include "cli/progress_views.h"
#include "data/file_io.h"
#include "link/port_names.h"

namespace plumgr::cli {
namespace {

char kProgramName[] = "plumgr-cli";

// The bus component's message joins its lines with CR LF; a hint about access
// rights or the reason follows the two lines the operator knows. The command
// line prints them first, so the last two lines of stderr are the known ones.
std::vector<std::string> OpenFailureLines(const std::string& message) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= message.size()) {
    std::size_t end = message.find('\n', start);
    std::string line = message.substr(start, end == std::string::npos ? end : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  std::rotate(lines.begin(), lines.begin() + std::min<std::size_t>(2, lines.size()), lines.end());
  return lines;
}

// Prints the bus component's messages for a script: the port that cannot be
// opened ends with the two lines the operator knows.
class BusUiPort final : public UiPort {
 public:
  explicit BusUiPort(UiPort& ui) : ui_(ui) {}
  void ShowMessage(const std::string& text) override { ui_.ShowMessage(text); }
  void ShowError(const std::string& text) override {
    std::string joined;
    for (const std::string& line : OpenFailureLines(text)) {
      std::cerr << line << "\n";
      joined += (joined.empty() ? "" : "\n") + line;
    }
    NoteError(joined);
  }
  Answer AskYesNoCancel(const std::string& text) override { return ui_.AskYesNoCancel(text); }
  Answer AskYesNo(const std::string& text) override { return ui_.AskYesNo(text); }
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions& o) override {
    return ui_.ChooseOpenFile(o);
  }
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions& o) override {
    return ui_.ChooseSaveFile(o);
  }
  void Beep() override {}

 private:
  UiPort& ui_;
};

}  // namespace

int ParseBaudOption(const std::string& text) {
  for (std::size_t i = 0; i < BaudRateTable.size(); ++i)
    if (text == std::to_string(BaudRateTable[i])) return static_cast<int>(i);
  throw UsageError{"unknown speed \"" + text + "\": use 9600, 19200, 38400, 57600 or 115200"};
}

std::string ParsePortOption(const std::string& text, const std::string& settings_path) {
  ResolvedPort port = ResolvePortName(text, SettingsPortLookup(settings_path));
  if (!port) throw UsageError{port.Error};
  return text;
}

LinkSession::LinkSession(const GlobalOptions& options)
    : options_(options), argv_{kProgramName, nullptr} {
  if (QCoreApplication::instance() == nullptr)
    app_ = std::make_unique<QCoreApplication>(argc_, argv_);
  state_.StartUp({options.Settings, options.DumpDir, LocaleDecimalSeparator()});
  if (!options.Baud.empty()) state_.SetBaudIndex(ParseBaudOption(options.Baud));
  if (!options.Port.empty()) {
    port_override_ = ParsePortOption(options.Port, state_.SettingsPath());
    // COM1..COM4 are also what the desktop program keeps as PortIndex.
    if (port_override_.size() == 4 &&
        (port_override_.rfind("COM", 0) == 0 || port_override_.rfind("com", 0) == 0))
      state_.SetPortIndex(port_override_[3] - '0');
  }
  bus_ = MakeMainBus();
  bus_ui_ = std::make_unique<BusUiPort>(ui_);
  bus_->SetUiPort(bus_ui_.get());
  progress_.SetBus(bus_.get());
  view_ = MakeProgressView(progress_, options);
  progress_.SetView(view_.get());
}

LinkSession::~LinkSession() {
  progress_.SetView(nullptr);
  bus_.reset();
}

void LinkSession::PrepareBus() {
  plumgr::PrepareBus(state_, *bus_);
  if (!port_override_.empty()) bus_->SetCommName(port_override_);
}

bool LinkSession::WriteTrace() {
  if (options_.Trace.empty()) return true;
  std::string text;
  for (const std::string& line : bus_->TraceLog)
    text += line + "\r\n";
  FileResult written = ReplaceFile(options_.Trace, text);
  if (written) return true;
  std::cerr << "plumgr-cli: " << written.Message << "\n";
  NoteError(written.Message);
  return false;
}

int LinkSession::Finish(int exit_code) {
  const bool written = WriteTrace();
  return written || exit_code != kSuccess ? exit_code : static_cast<int>(kUsage);
}

}  // namespace plumgr::cli
