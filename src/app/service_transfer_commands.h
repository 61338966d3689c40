#pragma once
// "Upload report" (F7) into the report panel, the memory dump (Ctrl+Alt+F6)
// and the hidden "Download font..." command, run on the configured port.

#include <string>

#include "app/file_opener.h"
#include "app/main_window_state.h"
#include "app/memory_range_model.h"
#include "app/report_panel.h"
#include "link/kovo_ibus_comm.h"
#include "link/progress_model.h"
#include "transfer/memory_dump.h"
#include "transfer/service_link.h"

namespace plumgr {

inline constexpr const char* kFontFileFilter = "Font Files|*.fnt";
inline constexpr const char* kFontFileExtension = "fnt";

// Reads the report and replaces the panel's text with it; after a failure the
// panel keeps its old text.
ServiceResult UploadRPItemClick(MainWindowState& state, TKovoIBusComm& bus, ProgressModel& progress,
                                ReportPanel& panel);

// Runs the range dialog ("Upload data range"), dumps the range into TEMP.BIN
// and TEMP.LOG in the dump directory and opens the listing. Nothing is done
// when the dialog is cancelled or its fields do not convert (a beep): the
// result is then Done with empty paths. A file error is shown to the operator.
MemoryDumpResult DumpMemory(MainWindowState& state, TKovoIBusComm& bus, ProgressModel& progress,
                            MemoryRangeModel& range_model, const MemoryRangeDialog& dialog,
                            FileOpener& opener);

// Asks for a font file and sends it. A cancelled choice does nothing; a file
// that cannot be read is shown to the operator.
ServiceResult DownloadFontItemClick(MainWindowState& state, TKovoIBusComm& bus,
                                    ProgressModel& progress);

}  // namespace plumgr
