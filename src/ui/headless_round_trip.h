#pragma once
// The demo without a display: the window's own transfer commands download the
// PLU, department and recycling tables to the register and upload them back,
// printing the progress; true when what came back is what was sent.

#include <ostream>

namespace plumgr::ui {

class MainWindow;

bool RunHeadlessRoundTrip(MainWindow& window, std::ostream& out);

}  // namespace plumgr::ui
