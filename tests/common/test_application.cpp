// Every test program of a folder that uses Qt starts the one application object
// its folder needs before the first test and ends it after the last: a core
// application for the event loop of the bus waits, a GUI application for fonts
// and painting, a widgets application for the window tests. The folder's build
// chooses the kind with PLUMGR_TEST_APPLICATION.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#define PLUMGR_CORE_APPLICATION 1
#define PLUMGR_GUI_APPLICATION 2
#define PLUMGR_WIDGETS_APPLICATION 3

#if PLUMGR_TEST_APPLICATION == PLUMGR_WIDGETS_APPLICATION
#include <QApplication>
using TestApplication = QApplication;
#elif PLUMGR_TEST_APPLICATION == PLUMGR_GUI_APPLICATION
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

namespace {

class ApplicationEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    app_ = std::make_unique<TestApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "plumgr_test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<TestApplication> app_;
};

const testing::Environment* const kApplicationEnvironment =
    testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace
