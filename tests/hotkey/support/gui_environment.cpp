// Drawing text needs a GUI application; the tests draw offscreen.

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

class GuiEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "hotkey_test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> app_;
};

const testing::Environment* const kGuiEnvironment =
    testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace
