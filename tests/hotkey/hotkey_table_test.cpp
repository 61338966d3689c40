#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "hotkey/hotkey_table.h"
#include "hotkey/support/key_test_support.h"

namespace plumgr {
namespace {

using Record = std::array<std::uint8_t, 7>;

Record RecordAt(const HotKeyTable& table, int j) {
  Record record{};
  std::copy_n(table.begin() + j * 7, 7, record.begin());
  return record;
}

TEST(HotKeyTableTest, EmptyLayoutsAreAllZeros) {
  for (int keyboard : {120, 160}) {
    TMyGrid grid;
    test::ShapeGrid(grid, keyboard);
    HotKeyTableResult result = EncodeHotKeyTable(grid);
    ASSERT_TRUE(result.Ok);
    EXPECT_EQ(result.Table, HotKeyTable(keyboard == 160 ? 1120 : 840, 0));
  }
}

TEST(HotKeyTableTest, RecordsFollowLevelThenKeyIndex) {
  TMyGrid grid;
  test::ShapeGrid(grid, 120);
  grid.Items(0).fs1Btn() = {};
  grid.Items(0).fs1Btn().BTNType = 1;
  grid.Items(0).fs1Btn().Code = "123";
  // Level 2 counts even when the key does not show it.
  grid.Items(4).CenterLine = false;
  grid.Items(4).sc2Btn().BTNType = 2;
  grid.Items(4).sc2Btn().Code = "3";
  grid.Items(5).fs1Btn().BTNType = 2;
  grid.Items(5).fs1Btn().Code = " 259 ";  // the low 8 bits of the number
  grid.Items(6).fs1Btn().BTNType = 1;
  grid.Items(6).fs1Btn().Code = "G123";  // packs what it can, the table goes on
  grid.Items(7).fs1Btn().BTNType = 0;
  grid.Items(7).fs1Btn().Code = "99";
  grid.Items(8).fs1Btn().BTNType = 1;  // a cleared PLU key
  grid.Items(9).fs1Btn().BTNType = 1;
  grid.Items(9).fs1Btn().Code = "5901234123457";

  HotKeyTableResult result = EncodeHotKeyTable(grid);
  ASSERT_TRUE(result.Ok) << result.Message;
  ASSERT_EQ(result.Table.size(), 840u);
  EXPECT_EQ(RecordAt(result.Table, 0), (Record{0, 0, 0, 0, 0, 0x01, 0x23}));
  EXPECT_EQ(RecordAt(result.Table, 60 + 4), (Record{0xEF, 0, 0, 0, 0, 0xEF, 0x03}));
  EXPECT_EQ(RecordAt(result.Table, 5), (Record{0xEF, 0, 0, 0, 0, 0xEF, 0x03}));
  EXPECT_EQ(RecordAt(result.Table, 6), (Record{0, 0, 0, 0, 0, 0, 0x23}));
  EXPECT_EQ(RecordAt(result.Table, 7), Record{});
  EXPECT_EQ(RecordAt(result.Table, 8), Record{});
  EXPECT_EQ(RecordAt(result.Table, 9), (Record{0x05, 0x90, 0x12, 0x34, 0x12, 0x34, 0x57}));
  EXPECT_EQ(RecordAt(result.Table, 4), Record{});
}

TEST(HotKeyTableTest, DepartmentCodeThatIsNotANumberStopsTheTable) {
  TMyGrid grid;
  test::ShapeGrid(grid, 120);
  grid.Items(2).sc2Btn().BTNType = 2;
  grid.Items(2).sc2Btn().Code = "3a";
  HotKeyTableResult result = EncodeHotKeyTable(grid);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Message, "'3a' is not a valid integer value");
  EXPECT_TRUE(result.Table.empty());
}

TEST(HotKeyTableTest, PackHexDigitsReportsInvalidPairs) {
  Record record{};
  EXPECT_TRUE(PackHexDigits("0012", record.data()));
  EXPECT_EQ(record, (Record{0, 0, 0, 0, 0, 0xFF, 0x12}));
  EXPECT_FALSE(PackHexDigits("G123", record.data()));
  EXPECT_EQ(record, (Record{0, 0, 0, 0, 0, 0, 0x23}));
}

TEST(HotKeyDumpTest, WritesTheRawBytesIntoTheDumpDirectory) {
  test::ScratchDir dir;
  HotKeyTable table = {0xEF, 0, 0, 0, 0, 0xEF, 3};
  ASSERT_TRUE(WriteHotKeyDump(table, dir.Path("dumps/new")));
  EXPECT_EQ(test::ReadAll(dir.Path("dumps/new/hotkey.hex")),
            std::string("\xEF\0\0\0\0\xEF\x03", 7));
}

TEST(HotKeyDumpTest, UnwritableDirectoryNamesTheFile) {
  test::ScratchDir dir;
  test::WriteAll(dir.Path("plain"), "a file, not a directory");
  KeyResult result = WriteHotKeyDump({1, 2, 3}, dir.Path("plain"));
  EXPECT_FALSE(result);
  EXPECT_NE(result.Message.find("hotkey.hex"), std::string::npos);
}

}  // namespace
}  // namespace plumgr
