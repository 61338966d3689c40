// The headless programs run on servers without a desktop: neither may load the
// widget or print-support libraries, whatever a folder's link line pulls in.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/support/run_process.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;

class LinkageTest : public ::testing::TestWithParam<const char*> {};

TEST_P(LinkageTest, LoadsNeitherWidgetsNorPrintSupport) {
  const std::string binary = std::string(PLUMGR_BINARY_DIR) + "/" + GetParam();
  ASSERT_TRUE(fs::exists(binary)) << binary << " is not built";
  fs::path dir = fs::temp_directory_path() / ("plumgr_linkage_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  test::ProcessResult ldd = test::RunProcess("/usr/bin/ldd", {binary}, dir.string());
  fs::remove_all(dir);
  ASSERT_EQ(ldd.ExitCode, 0) << ldd.Err;
  // ldd lists what the loader resolves, the libraries' own dependencies included.
  EXPECT_NE(ldd.Out.find("libc.so"), std::string::npos) << ldd.Out;
  EXPECT_EQ(ldd.Out.find("libQt6Widgets"), std::string::npos) << ldd.Out;
  EXPECT_EQ(ldd.Out.find("libQt6PrintSupport"), std::string::npos) << ldd.Out;
}

INSTANTIATE_TEST_SUITE_P(HeadlessPrograms, LinkageTest,
                         ::testing::Values("src/cli/plumgr-cli", "src/sim/ecrsim"));

}  // namespace
}  // namespace plumgr
