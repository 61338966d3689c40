#pragma once
// The program's icon, a cash register, for the window and the task bar.

#include <QIcon>

namespace plumgr::ui {

QIcon ApplicationIcon();

}  // namespace plumgr::ui
