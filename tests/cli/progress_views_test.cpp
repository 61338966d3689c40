#include "cli/progress_views.h"

#include <gtest/gtest.h>

#include <sstream>

namespace plumgr::cli {
namespace {

TEST(ProgressStyleTest, QuietWinsThenJsonThenTheTerminal) {
  EXPECT_EQ(ChooseProgressStyle(true, true, true), ProgressStyle::Quiet);
  EXPECT_EQ(ChooseProgressStyle(true, false, true), ProgressStyle::Json);
  EXPECT_EQ(ChooseProgressStyle(false, false, true), ProgressStyle::Bar);
  EXPECT_EQ(ChooseProgressStyle(false, false, false), ProgressStyle::StatusLines);
}

class CliViewTest : public ::testing::Test {
 protected:
  // A short exchange that fails on its second package.
  void RunFailingExchange(ProgressView& view) {
    model.SetView(&view);
    model.Show();
    model.SetStatus(StatusMode::Normal, "Connect...");
    model.SetMargin(4);
    model.SetProgress(1);
    model.SetStatus(StatusMode::Error, "Download:PLU...Error!");
    model.WaitForAcknowledge();
  }

  ProgressModel model;
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(CliViewTest, BarRedrawsOneLineAndEndsWithTheErrorAcknowledged) {
  BarProgressView view(model, err, "windows-1250");
  RunFailingExchange(view);
  EXPECT_EQ(model.State(), ProgressState::Closed);
  const std::string text = err.str();
  EXPECT_NE(text.find("\rConnect... [-------"), std::string::npos);
  EXPECT_NE(text.find("\rConnect... [#######--"), std::string::npos);  // 1 of 4: 7 of 30
  EXPECT_NE(text.find("] 1/4\x1b[K"), std::string::npos);
  const std::string tail = "\nDownload:PLU...Error!\n";
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST_F(CliViewTest, JsonLinesOnStdoutAndTheErrorTextLastOnStderr) {
  JsonProgressView view(model, out, err, "windows-1250");
  RunFailingExchange(view);
  EXPECT_EQ(out.str(),
            "{\"event\":\"progress\",\"current\":0,\"total\":0}\n"
            "{\"event\":\"status\",\"text\":\"Connect...\"}\n"
            "{\"event\":\"progress\",\"current\":0,\"total\":4}\n"
            "{\"event\":\"progress\",\"current\":1,\"total\":4}\n"
            "{\"event\":\"error\",\"text\":\"Download:PLU...Error!\"}\n");
  EXPECT_EQ(err.str(), "Download:PLU...Error!\n");
  EXPECT_EQ(model.State(), ProgressState::Closed);
}

TEST_F(CliViewTest, QuietShowsOnlyTheError) {
  ScriptProgressView view(model, err, "windows-1250");
  RunFailingExchange(view);
  EXPECT_EQ(err.str(), "Download:PLU...Error!\n");
  EXPECT_EQ(model.State(), ProgressState::Closed);
}

TEST_F(CliViewTest, StatusLinesNameEachStep) {
  StatusLineProgressView view(model, err, "windows-1250");
  RunFailingExchange(view);
  EXPECT_EQ(err.str(), "Connect...\nDownload:PLU...Error!\n");
}

TEST(CliTextTest, CodePageTextIsShownAsUtf8AndQuotedForJson) {
  // "Łącz" in Windows-1250.
  EXPECT_EQ(ToUtf8("\xA3\xB9\x63\x7A", "windows-1250"), "\xC5\x81\xC4\x85\x63\x7A");
  EXPECT_EQ(JsonQuote("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
}

}  // namespace
}  // namespace plumgr::cli
