#include "app/service_transfer_commands.h"

#include "app/link_commands.h"
#include "transfer/font_download.h"
#include "transfer/report_upload.h"

namespace plumgr {
namespace {

void PrepareServiceBus(MainWindowState& state, TKovoIBusComm& bus) {
  PrepareBus(state, bus);
  bus.SetUiPort(&state.Ui());
}

void ShowFileError(MainWindowState& state, const ServiceResult& result) {
  if (result.Outcome == ServiceOutcome::FileError) state.Ui().ShowError(result.Message);
}

}  // namespace

ServiceResult UploadRPItemClick(MainWindowState& state, TKovoIBusComm& bus, ProgressModel& progress,
                                ReportPanel& panel) {
  PrepareServiceBus(state, bus);
  ReportUploadResult report = UploadReport(bus, progress);
  if (report.Result) panel.SetText(std::move(report.Text));
  return report.Result;
}

MemoryDumpResult DumpMemory(MainWindowState& state, TKovoIBusComm& bus, ProgressModel& progress,
                            MemoryRangeModel& range_model, const MemoryRangeDialog& dialog,
                            FileOpener& opener) {
  const std::optional<MemoryRange> range =
      RunMemoryRangeDialog(range_model, kUploadDataRangeCaption, dialog, state.Ui());
  if (!range) return {};
  PrepareServiceBus(state, bus);
  MemoryDumpResult dump = DumpMemory(bus, progress, *range, state.DumpDir());
  ShowFileError(state, dump.Result);
  if (dump.Result) opener.OpenFile(dump.LogPath);
  return dump;
}

ServiceResult DownloadFontItemClick(MainWindowState& state, TKovoIBusComm& bus,
                                    ProgressModel& progress) {
  const std::optional<std::string> path =
      state.Ui().ChooseOpenFile({kFontFileFilter, kFontFileExtension, "."});
  if (!path) return {};
  PrepareServiceBus(state, bus);
  ServiceResult sent = DownloadFont(bus, progress, *path);
  ShowFileError(state, sent);
  return sent;
}

}  // namespace plumgr
