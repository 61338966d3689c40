#include "data/definitions.h"

#include <gtest/gtest.h>

namespace plumgr {
namespace {

TEST(ProfileTest, SelectingAnUnknownModelKeepsTheProfileAndReportsSuccess) {
  CurrentProfile() = EcrProfile{};
  EXPECT_TRUE(SelectProfile(0));
  EXPECT_EQ(CurrentProfile().Title, "TR-88 PLU Manager");
  EXPECT_EQ(CurrentProfile().PluCount, 3000);
  EXPECT_TRUE(SelectProfile(5));
  EXPECT_EQ(CurrentProfile().DeptCount, 16);
}

TEST(DisplayTextsTest, ZeroAmountsUseTheLocaleSeparator) {
  DisplayTexts comma = DefaultDisplayTexts(',');
  EXPECT_EQ(comma.ZeroPrice, "0,00");
  EXPECT_EQ(comma.ZeroStock, "0,000");
  EXPECT_EQ(comma.ZeroRate, "00,00");
  EXPECT_EQ(comma.PluTitles.Entries.size(), 10u);
  EXPECT_EQ(comma.ProgressTexts.ReportNotClear, "ECR report don't clear!");
}

}  // namespace
}  // namespace plumgr
