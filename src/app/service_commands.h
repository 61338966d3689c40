#pragma once
// The service commands reached only by key combinations on the main window.

#include "app/main_window_state.h"

namespace plumgr {

// Ctrl+Alt+F3: fills the PLU, department and recycling tables with test data,
// directly, without validation; the data are then modified.
void FillTestData(MainWindowState& state);

}  // namespace plumgr
