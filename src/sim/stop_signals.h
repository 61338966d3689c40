#pragma once
// SIGINT and SIGTERM as a descriptor the register's loop watches, so that it
// ends between two frames and closes every descriptor properly.

namespace plumgr::sim {

// Blocks SIGINT and SIGTERM and returns a descriptor that reads them. When the
// platform gives no such descriptor the signals are unblocked again, so that
// Ctrl+C still ends the register (at once, as by default), and -1 is returned.
int OpenStopSignals();

}  // namespace plumgr::sim
