#pragma once
// What every plumgr-cli command that talks to a register sets up: the event
// loop, the application state from the settings file, the main window's bus
// component with --port and --baud applied, and the progress window's view.

#include <QCoreApplication>
#include <memory>
#include <string>

#include "app/main_window_state.h"
#include "cli/cli_context.h"
#include "cli/cli_ui_port.h"
#include "link/kovo_ibus_comm.h"
#include "link/progress_model.h"

namespace plumgr::cli {

// A speed given as text ("115200") as its index into BaudRateTable; a usage
// error for any other text.
int ParseBaudOption(const std::string& text);

// A port given on the command line, checked: COM1..COM4 or a device path; a
// usage error otherwise.
std::string ParsePortOption(const std::string& text, const std::string& settings_path);

class LinkSession {
 public:
  explicit LinkSession(const GlobalOptions& options);
  ~LinkSession();
  LinkSession(const LinkSession&) = delete;
  LinkSession& operator=(const LinkSession&) = delete;

  const GlobalOptions& Options() const { return options_; }
  MainWindowState& State() { return state_; }
  CliUiPort& Ui() { return ui_; }
  TKovoIBusComm& Bus() { return *bus_; }
  ProgressModel& Progress() { return progress_; }

  // The bus component set up for a transfer as the desktop program sets it up
  // ("COM" + PortIndex, BaudIndex), then --port and --baud.
  void PrepareBus();

  // Writes the bus trace to the --trace file, if one was given; false, with
  // the message printed, when it cannot be written.
  bool WriteTrace();
  // Writes the trace and gives the command's exit status: a trace that cannot
  // be written turns a success into the status of a file not written (2); a
  // failed transfer keeps its own.
  int Finish(int exit_code);

 private:
  const GlobalOptions& options_;
  int argc_ = 1;
  char* argv_[2];
  std::unique_ptr<QCoreApplication> app_;
  CliUiPort ui_;
  // The bus component's own messages (a port that cannot be opened).
  std::unique_ptr<UiPort> bus_ui_;
  MainWindowState state_{ui_};
  std::unique_ptr<TKovoIBusComm> bus_;
  ProgressModel progress_;
  std::unique_ptr<ProgressView> view_;
  std::string port_override_;
};

}  // namespace plumgr::cli
