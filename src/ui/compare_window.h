#pragma once
// "Compare with register": what a download would add, change and clear, one
// line per field, with what the register holds and what it would hold. The
// Download button sends what was compared; Close leaves the register as it is.

#include "app/register_menu.h"

class QWidget;

namespace plumgr::ui {

// Shows the window modally; true when Download was pressed.
bool ShowCompareWindow(QWidget* parent, const CompareWindowModel& model);

}  // namespace plumgr::ui
