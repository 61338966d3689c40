// plumgr-cli test, detect and ports: setting up and checking the serial link.

#include <CLI/CLI.hpp>

#include <iostream>

#include "app/link_commands.h"
#include "cli/cli_context.h"
#include "cli/command_result.h"
#include "cli/link_session.h"
#include "data/settings_keys.h"
#include "data/settings_location.h"
#include "link/port_names.h"

namespace plumgr::cli {
namespace {

int TestCommand(const GlobalOptions& options) {
  LinkSession session(options);
  session.PrepareBus();
  const bool ok = RunLinkTest(session.Bus(), session.Progress());
  const int code = session.Finish(ok ? kSuccess : kFailed);
  if (code == kSuccess) SetResultMessage("The register answered");
  return code;
}

std::vector<std::string> SplitPortList(const std::string& list) {
  std::vector<std::string> ports;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t comma = list.find(',', start);
    std::string port = list.substr(start, comma == std::string::npos ? comma : comma - start);
    if (!port.empty()) ports.push_back(port);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return ports;
}

bool IsComName(const std::string& port) {
  return port.size() == 4 && (port.rfind("COM", 0) == 0 || port.rfind("com", 0) == 0) &&
         port[3] >= '1' && port[3] <= '4';
}

// Answers the dialog's question as --apply says.
class DetectUiPort final : public UiPort {
 public:
  DetectUiPort(UiPort& ui, bool apply) : ui_(ui), apply_(apply) {}
  void ShowMessage(const std::string& text) override { ui_.ShowMessage(text); }
  void ShowError(const std::string& text) override { ui_.ShowError(text); }
  Answer AskYesNoCancel(const std::string&) override { return Answer::Cancel; }
  Answer AskYesNo(const std::string&) override { return apply_ ? Answer::Yes : Answer::No; }
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions&) override { return {}; }
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions&) override { return {}; }
  void Beep() override {}

 private:
  UiPort& ui_;
  bool apply_;
};

int DetectCommand(const GlobalOptions& options, bool apply) {
  GlobalOptions without_port = options;
  without_port.Port.clear();
  LinkSession session(without_port);
  DetectPortModel model;
  OpenDetectDialog(model);
  if (!options.Port.empty()) {
    model.Ports = SplitPortList(options.Port);
    for (const std::string& port : model.Ports) {
      ParsePortOption(port, session.State().SettingsPath());
      if (apply && !IsComName(port))
        throw UsageError{"--apply stores a port number: only COM1..COM4 can be applied, not \"" +
                         port + "\""};
    }
    model.Results.assign(model.Ports.size(), std::string());
  }
  model.Repaint = [&model, shown = std::vector<std::string>(model.Ports.size())]() mutable {
    for (std::size_t i = 0; i < model.Ports.size(); ++i) {
      if (model.Results[i] == shown[i] || model.Results[i].empty()) continue;
      shown[i] = model.Results[i];
      std::cerr << model.Ports[i] << " : " << model.Results[i] << "\n";
    }
  };
  std::unique_ptr<TKovoIBusComm> bus = MakeDetectionBus();
  DetectUiPort ui(session.Ui(), apply);
  DetectBtnClick(session.State(), model, *bus, &ui);
  if (model.Found.empty()) {
    NoteError("No port answered");
    return kFailed;
  }
  PrintOutputLine(options, JsonLine("found").Text("port", model.Found), model.Found);
  // A settings file that could not be written has shown its message; the port
  // found is not stored then, and the command says so by its exit status.
  if (apply && IsComName(model.Found) &&
      SettingsFile(session.State().SettingsPath()).ReadInteger(kSectionComm, "Port", -1) !=
          model.Found[3] - '0')
    return kUsage;
  SetResultMessage("The register answers on " + model.Found);
  return kSuccess;
}

int PortsCommand(const GlobalOptions& options) {
  int count = 0;
  for (const SerialPortInfo& port : ListSerialPorts()) {
    std::string line = port.Device;
    JsonLine json("port");
    json.Text("device", port.Device).Text("driver", port.Driver);
    if (!port.Driver.empty()) line += "\t" + port.Driver;
    for (const std::string& name : port.StableNames) {
      line += "\t" + name;
      json.Text("name", name);
    }
    PrintOutputLine(options, json, line);
    ++count;
  }
  SetResultMessage(std::to_string(count) + " serial devices");
  return kSuccess;
}

const Registration kRegistration([](CLI::App& app, GlobalOptions& options, int* exit_code) {
  CLI::App* test = app.add_subcommand("test", "connect and disconnect once (the \"Test\" command)");
  test->callback([&options, exit_code] { *exit_code = TestCommand(options); });

  auto apply = std::make_shared<bool>(false);
  CLI::App* detect = app.add_subcommand(
      "detect",
      "try COM1..COM4 (or the --port list, comma separated) and print the first that answers");
  detect->add_flag("--apply", *apply, "store the port found as [Comm] Port, as the dialog's Yes");
  detect->callback([&options, apply, exit_code] { *exit_code = DetectCommand(options, *apply); });

  CLI::App* ports = app.add_subcommand("ports", "list the serial devices of this machine");
  ports->callback([&options, exit_code] { *exit_code = PortsCommand(options); });
});

}  // namespace
}  // namespace plumgr::cli
