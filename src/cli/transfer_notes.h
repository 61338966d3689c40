#pragma once
// What a transfer that succeeded still has to tell: repeats and late replies
// on the line, and names the register held with tabs or line breaks.

namespace plumgr {
class TKovoIBusComm;
}

namespace plumgr::cli {

// "resent" and "late" in the result, also of a transfer that failed.
void NoteLinkCounts(const TKovoIBusComm& bus);

// The same, and a download that took a reply after a
// time-out is not reported as clean: the summary says so and suggests --verify.
void NoteLinkRepeats(const TKovoIBusComm& bus, bool verified);

// "names_cleaned" in the result, and the summary says how many there were.
void NoteCleanedNames(int count);

}  // namespace plumgr::cli
