#include "app/link_commands.h"

#include <cstdio>

#include "data/settings_keys.h"
#include "data/settings_location.h"

namespace plumgr {
namespace {

TBaudRate BaudFromIndex(int index) {
  if (index < 0 || index >= static_cast<int>(BaudRateTable.size())) return TBaudRate::tbr9600;
  return static_cast<TBaudRate>(index);
}

// "COM1".."COM4" (any case) as 1..4; 0 for a device path, which has no number.
int ComPortNumber(const std::string& name) {
  if (name.size() != 4 || (name.compare(0, 3, "COM") != 0 && name.compare(0, 3, "com") != 0))
    return 0;
  return name[3] >= '1' && name[3] <= '4' ? name[3] - '0' : 0;
}

void Repaint(const DetectPortModel& model) {
  if (model.Repaint) model.Repaint();
}

}  // namespace

bool CommsetCommand(MainWindowState& state, const CommSettingsDialog& dialog) {
  IniFile settings = SettingsFile(state.SettingsPath());
  IniReadResult read = settings.Read();
  const Settings stored(read.Document, state.DecimalSeparator());
  state.SetPortIndex(stored.Port());
  state.SetBaudIndex(stored.BaudRate());
  const CodePageId page = stored.CodePage().Page;
  CommSettingsModel model{state.PortIndex(), state.BaudIndex(), page};
  if (!dialog(model)) return false;
  state.SetPortIndex(model.PortIndex);
  state.SetBaudIndex(model.BaudIndex);
  const bool page_changed = model.CodePage != page;
  FileResult written = settings.Update([&](IniDocument& doc) {
    doc.WriteInteger(kSectionComm, "Port", model.PortIndex);
    doc.WriteInteger(kSectionComm, "BaudRate", model.BaudIndex);
    if (page_changed) Settings(doc, state.DecimalSeparator()).SetCodePage(model.CodePage);
  });
  if (!written) {
    state.Ui().ShowError(written.Message);
    return true;
  }
  if (page_changed) {
    SetCodePageInForce(model.CodePage);
    char message[400];
    std::snprintf(message, sizeof message, kCodePageChanged,
                  std::string(CodePageName(model.CodePage)).c_str());
    state.Ui().ShowMessage(message);
  }
  return true;
}

std::string PortName(const MainWindowState& state) {
  return "COM" + std::to_string(state.PortIndex());
}

PortSettingLookup SettingsPortLookup(const std::string& settings_path) {
  return [settings_path](const std::string& key) {
    return SettingsFile(settings_path).ReadString(kSectionComm, key, "");
  };
}

void PrepareBus(MainWindowState& state, TKovoIBusComm& bus) {
  bus.SetCommName(PortName(state));
  bus.SetBaudRate(BaudFromIndex(state.BaudIndex()));
  bus.SetPortSettingLookup(SettingsPortLookup(state.SettingsPath()));
}

std::unique_ptr<TKovoIBusComm> MakeMainBus() {
  auto bus = std::make_unique<TKovoIBusComm>();
  bus->SetCommName("COM2");
  bus->SetBaudRate(TBaudRate::tbr115200);
  bus->SetBroadCast(false);
  bus->SetRetryInterval(2000);
  bus->SetRetryCount(10);
  bus->TraceEnabled = true;
  return bus;
}

std::unique_ptr<TKovoIBusComm> MakeDetectionBus() {
  auto bus = std::make_unique<TKovoIBusComm>();
  bus->SetCommName("COM2");
  bus->SetBroadCast(false);
  bus->SetBaudRate(TBaudRate::tbr9600);
  bus->SetRetryInterval(800);
  bus->SetRetryCount(6);
  bus->TraceEnabled = false;
  return bus;
}

void OpenDetectDialog(DetectPortModel& model) {
  model.Results.assign(model.Ports.size(), std::string());
  model.DetectEnabled = true;
  model.Closed = false;
  model.Found.clear();
}

void DetectBtnClick(MainWindowState& state, DetectPortModel& model, TKovoIBusComm& bus,
                    UiPort* ui) {
  UiPort& asker = ui != nullptr ? *ui : state.Ui();
  model.DetectEnabled = false;
  model.Found.clear();
  model.Results.assign(model.Ports.size(), std::string());
  Repaint(model);
  bus.SetPortSettingLookup(SettingsPortLookup(state.SettingsPath()));
  bus.SetUiPort(&asker);
  for (std::size_t i = 0; i < model.Ports.size(); ++i) {
    model.Results[i] = kDetectTesting;
    Repaint(model);
    bus.SetCommName(model.Ports[i]);
    bool connected = false;
    // A port that cannot be opened has shown the bus component's message.
    if (bus.Activate(true)) {
      connected = bus.Connect(kStationNumber);
      (void)bus.Activate(false);
    }
    if (connected) {
      model.Results[i] = kDetectFound;
      model.Found = model.Ports[i];
      Repaint(model);
      const int number = ComPortNumber(model.Ports[i]);
      // Only COM1 to COM4 have a number to store.
      if (asker.AskYesNo(kDetectApplyQuestion) == Answer::Yes && number > 0) {
        state.SetPortIndex(number);
        FileResult written =
            SettingsFile(state.SettingsPath()).WriteInteger(kSectionComm, "Port", number);
        if (!written) asker.ShowError(written.Message);
      }
      break;
    }
    if (model.Closed) break;
    model.Results[i] = kDetectNotFound;
    Repaint(model);
  }
  model.DetectEnabled = true;
  Repaint(model);
}

void CloseBtnClick(DetectPortModel& model, TKovoIBusComm& bus) {
  bus.Abort();
  model.Closed = true;
}

bool TestItemClick(MainWindowState& state, TKovoIBusComm& bus, ProgressModel& progress) {
  PrepareBus(state, bus);
  bus.SetUiPort(&state.Ui());
  return RunLinkTest(bus, progress);
}

bool RunLinkTest(TKovoIBusComm& bus, ProgressModel& progress) {
  if (!bus.Activate(true)) return false;
  const ProgressTextSet& texts = Texts().ProgressTexts;
  progress.SetBus(&bus);
  progress.Show();
  progress.SetStatus(StatusMode::Normal, texts.Connect + "...");
  const bool connected = bus.Connect(kStationNumber);
  if (connected) {
    progress.SetStatus(StatusMode::Normal, texts.Disconnect + "...");
    bus.Disconnect(kStationNumber, false);
    progress.Close();
  } else {
    progress.SetStatus(StatusMode::Error, texts.Connect + "...Error!");
    progress.WaitForAcknowledge();
  }
  (void)bus.Activate(false);
  return connected;
}

}  // namespace plumgr
