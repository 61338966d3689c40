#pragma once
// The communication menu's set-up commands: the port settings dialog, the port
// detection and the link test. Dialogs are models here; the views show them.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window_state.h"
#include "data/code_page.h"
#include "link/kovo_ibus_comm.h"
#include "link/port_names.h"
#include "link/progress_model.h"

namespace plumgr {

inline constexpr const char* kDetectTesting = "Testing...";
inline constexpr const char* kDetectFound = "Kovo found!";
inline constexpr const char* kDetectNotFound = "No kovo found.";
inline constexpr const char* kDetectApplyQuestion = "Port found! Do you want to apply it?";

// The settings dialog's choices: "None", "COM1".."COM4", the five speeds and
// the code page of the register's text.
struct CommSettingsModel {
  int PortIndex = 2;
  int BaudIndex = 0;
  CodePageId CodePage = CodePageId::Windows1250;
};

// Shown when the code page changes: the bytes already held are not converted.
inline constexpr const char* kCodePageChanged =
    "The code page of the register's text is now %s. The tables and the files keep their "
    "bytes, which are now shown in it; \"Convert set...\" rewrites a set into another code "
    "page.";

// Shows the dialog modally with the model's values; true for OK.
using CommSettingsDialog = std::function<bool(CommSettingsModel& model)>;

// Reads [Comm] Port and BaudRate into the state, shows the dialog, and on OK
// stores the choice in the state and the settings file; [Other] CodePage is
// written only when the choice changed it. Returns the dialog's result.
bool CommsetCommand(MainWindowState& state, const CommSettingsDialog& dialog);

// The port name the transfers open: "COM" + PortIndex.
std::string PortName(const MainWindowState& state);

// Where COM1 to COM4 lead, from [Comm] COM1..COM4 of the settings file.
PortSettingLookup SettingsPortLookup(const std::string& settings_path);

// The main window's bus component with its design values: CommName "COM2",
// 115200 baud, BroadCast off, RetryInterval 2000, RetryCount 10, trace on.
std::unique_ptr<TKovoIBusComm> MakeMainBus();

// Gives the main window's bus component its port, speed and settings lookup.
void PrepareBus(MainWindowState& state, TKovoIBusComm& bus);

// The detection dialog: one result field per port tried, the Detect button.
struct DetectPortModel {
  std::vector<std::string> Ports = {"COM1", "COM2", "COM3", "COM4"};
  std::vector<std::string> Results = std::vector<std::string>(4);
  bool DetectEnabled = true;
  bool Closed = false;
  // The port that answered, empty when none did.
  std::string Found;
  // Repaints the dialog at once (the fields change while the search waits).
  std::function<void()> Repaint;
};

// The dialog's own bus component with its stored values: CommName "COM2",
// BroadCast off, 9600 baud, RetryInterval 800, RetryCount 6, no trace.
std::unique_ptr<TKovoIBusComm> MakeDetectionBus();

// Opens the dialog: empty results, Detect enabled.
void OpenDetectDialog(DetectPortModel& model);

// "&Detect": tries each port with a full connect handshake, stops at the first
// that answers and asks whether to apply it; Yes stores its number as [Comm]
// Port. Ports that cannot be opened show the bus component's message and count
// as not found. The question and the messages go to `ui`, by default the state's.
void DetectBtnClick(MainWindowState& state, DetectPortModel& model, TKovoIBusComm& bus,
                    UiPort* ui = nullptr);

// "&Close": ends a wait in progress at once and closes the dialog.
void CloseBtnClick(DetectPortModel& model, TKovoIBusComm& bus);

// "Test": connect and disconnect once on the configured port, shown in the
// progress window. False when the port did not open or the connect failed.
bool TestItemClick(MainWindowState& state, TKovoIBusComm& bus, ProgressModel& progress);

// The test on a bus component already given its port and speed. A port that
// cannot be opened has been shown by the bus component's UI port.
bool RunLinkTest(TKovoIBusComm& bus, ProgressModel& progress);

}  // namespace plumgr
