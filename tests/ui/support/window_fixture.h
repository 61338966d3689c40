#pragma once
// A main window on its own settings file in a private folder, shown offscreen,
// with a file opener that records instead of starting programs.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/file_opener.h"
#include "data/definitions.h"
#include "ui/grid_view.h"
#include "ui/main_window.h"

namespace plumgr::test {

class RecordingOpener final : public FileOpener {
 public:
  void OpenFile(const std::string& path) override { Opened.push_back(path); }
  std::vector<std::string> Opened;
};

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("plumgr_ui_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    window_.reset();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(dir_);
  }

  // Writes the settings file (CR LF lines) and opens the window on it, with
  // the interface language file `language` when one is given.
  void Open(const std::string& settings = "", const std::string& language = "") {
    std::ofstream(Path("SYSTEM.CFG"), std::ios::binary) << settings;
    Reopen(language);
  }
  // A new main window on the settings file as it is now, as after a restart.
  // Without a language file of its own it reads one that does not exist, so
  // no file of the machine's user takes part.
  void Reopen(const std::string& language = "") {
    window_.reset();
    const std::string lng = language.empty() ? Path("none.LNG") : language;
    CurrentProfile() = EcrProfile{};
    window_ = std::make_unique<ui::MainWindow>(
        StartUpOptions{Path("SYSTEM.CFG"), Path("dumps"), '.'}, &opener_, lng);
    window_->show();
    QApplication::setActiveWindow(window_.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    Plu().setFocus();
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  ui::MainWindow& Window() { return *window_; }
  MainWindowState& State() { return window_->State(); }
  ui::GridView& Plu() { return window_->PluView(); }
  const std::string& PluCell(int col, int row) {
    return State().GetTables().PLUGrid.Cell(col, row);
  }
  QAction* Action(const char* name) { return window_->findChild<QAction*>(name); }

  std::filesystem::path dir_;
  RecordingOpener opener_;
  std::unique_ptr<ui::MainWindow> window_;
};

}  // namespace plumgr::test
