#include "cli/transfer_notes.h"

#include <iostream>
#include <string>

#include "cli/command_result.h"
#include "link/kovo_ibus_comm.h"

namespace plumgr::cli {

void NoteLinkCounts(const TKovoIBusComm& bus) {
  SetResultNumber("resent", bus.ResentPackages());
  SetResultNumber("late", bus.LateReplies());
}

void NoteLinkRepeats(const TKovoIBusComm& bus, bool verified) {
  NoteLinkCounts(bus);
  const int resent = bus.ResentPackages();
  const int late = bus.LateReplies();
  if (resent == 0 && late == 0) return;
  std::string note =
      std::to_string(resent) + " package(s) resent, " + std::to_string(late) + " reply(ies) late";
  if (late > 0 && !verified) {
    note +=
        ": a late reply may have answered an earlier frame, so the register may lack "
        "records (download --verify reads them back)";
    std::cerr << "plumgr-cli: warning: " << note << "\n";
  }
  AppendSummary(note);
}

void NoteCleanedNames(int count) {
  SetResultNumber("names_cleaned", count);
  if (count > 0)
    AppendSummary(std::to_string(count) + " name(s) held a tab or line break, stored as a space");
}

}  // namespace plumgr::cli
