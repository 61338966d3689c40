// The window tests drive real widgets on the offscreen platform, so every test
// binary of this folder starts one QApplication before its tests.

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

class WidgetsEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "plumgr_ui_test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

const testing::Environment* const kWidgetsEnvironment =
    testing::AddGlobalTestEnvironment(new WidgetsEnvironment);

}  // namespace
