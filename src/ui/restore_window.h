#pragma once
// "Restore": the backup chosen for sending back, with Send and Cancel.

#include "app/register_menu.h"

class QWidget;

namespace plumgr::ui {

// True when the operator chose to send the backup to the register.
bool ShowRestoreWindow(QWidget* parent, const RestoreWindowModel& model);

}  // namespace plumgr::ui
