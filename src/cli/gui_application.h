#pragma once
// Drawing text (sheets, printing) needs a GUI application object.

#include <QGuiApplication>
#include <memory>

namespace plumgr::cli {

// A QGuiApplication for this process; without a display the offscreen platform
// serves, so the commands work over SSH and in scripts.
std::unique_ptr<QGuiApplication> StartGuiApplication();

}  // namespace plumgr::cli
