// The shared string table and the small records of the legacy workbook format.

#include "output/biff8_records.h"

#include <gtest/gtest.h>

#include "support/output_test_support.h"

namespace plumgr {
namespace {

using test::ReadSst;
using test::U16At;
using test::WalkRecords;

// Builds the SST alone, walks it back and checks every rule readers rely on.
std::vector<test::BiffRecord> BuildAndCheck(const std::vector<std::u16string>& strings) {
  std::string stream;
  std::vector<biff8::StringPosition> positions = biff8::AppendSst(stream, strings, 1234);
  auto records = WalkRecords(stream);
  EXPECT_TRUE(records.has_value());
  if (!records) return {};
  EXPECT_EQ((*records)[0].Id, biff8::kSst);
  EXPECT_EQ(test::U32At((*records)[0].Data, 0), 1234u);
  for (size_t i = 0; i < records->size(); ++i) {
    EXPECT_LE((*records)[i].Data.size(), biff8::kMaxRecordData);
    if (i > 0) {
      EXPECT_EQ((*records)[i].Id, biff8::kContinue);
    }
  }
  auto read = ReadSst(*records, 0);
  EXPECT_TRUE(read.has_value()) << "a header or a character was split";
  if (!read) return *records;
  EXPECT_EQ(read->size(), strings.size());
  for (size_t i = 0; i < std::min(read->size(), strings.size()); ++i) {
    EXPECT_EQ((*read)[i].Text, strings[i]) << "string " << i;
    EXPECT_EQ((*read)[i].StreamOffset, positions[i].StreamOffset) << "string " << i;
    // The offset inside the record counts the record header.
    size_t record_start = 0;
    for (const auto& r : *records)
      if (r.Offset <= positions[i].StreamOffset) record_start = r.Offset;
    EXPECT_EQ(positions[i].RecordOffset, positions[i].StreamOffset - record_start);
  }
  return *records;
}

TEST(SstTest, SmallTableIsOneRecordWithCompressedAndWideStrings) {
  auto records = BuildAndCheck({u"PLU-1", u"\u0105\u0119", u"\u00F3"});
  ASSERT_EQ(records.size(), 1u);
  const std::string& d = records[0].Data;
  EXPECT_EQ(U16At(d, 8), 5);  // "PLU-1" compressed
  EXPECT_EQ(d[10], 0);
  EXPECT_EQ(U16At(d, 16), 2);  // above U+00FF: UTF-16
  EXPECT_EQ(d[18], 1);
  EXPECT_EQ(U16At(d, 19), 0x0105);
  EXPECT_EQ(d[25], 0);  // U+00F3 still fits one byte
}

TEST(SstTest, CompressedStringStraddlingARecordGoesOnAfterAFlagsByte) {
  // 8 bytes of counts, then 8200 + 3 bytes: the next string's header fits, 13 characters do.
  std::u16string filler(8200, u'a');
  std::u16string straddling(40, u'b');
  auto records = BuildAndCheck({filler, straddling});
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].Data.size(), biff8::kMaxRecordData);
  EXPECT_EQ(records[1].Data[0], 0);  // the rest of the string is compressed
  EXPECT_EQ(records[1].Data.size(), 1u + 40 - 10);
}

TEST(SstTest, WideCharacterIsNeverSplitAcrossRecords) {
  // 8 + 3 + 8201 + 3 leaves 9 bytes: four characters and a spare byte.
  std::u16string filler(8201, u'a');
  std::u16string wide(30, u'\u0142');
  auto records = BuildAndCheck({filler, wide});
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].Data.size(), biff8::kMaxRecordData - 1);
  EXPECT_EQ(records[1].Data[0], 1);
}

TEST(SstTest, HeaderThatWouldBeSplitStartsTheNextRecord) {
  // 8 + 3 + 8212 = 8223 bytes: one byte left, the next header moves on whole.
  auto records = BuildAndCheck({std::u16string(8212, u'x'), u"next"});
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].Data.size(), 8223u);
  EXPECT_EQ(U16At(records[1].Data, 0), 4);  // no flags byte: a string starts here
}

TEST(SstTest, StringLongerThanTwoRecordsContinuesTwice) {
  BuildAndCheck({u"a", std::u16string(20000, u'\u017C'), u"z"});
}

TEST(SstTest, ThousandsOfShortStringsKeepTheirOrderAndPositions) {
  std::vector<std::u16string> strings;
  for (int i = 0; i < 12000; ++i) {
    std::u16string s = u"PLU-";
    for (char c : std::to_string(i))
      s.push_back(static_cast<char16_t>(c));
    if (i % 7 == 0) s += u"\u0105";
    strings.push_back(s);
  }
  EXPECT_GT(BuildAndCheck(strings).size(), 10u);
}

TEST(ExtSstTest, BucketsHoldEightStringsUntilThereWouldBeMoreThan128) {
  EXPECT_EQ(biff8::ExtSstBucketSize(0), 8);
  EXPECT_EQ(biff8::ExtSstBucketSize(1024), 8);
  EXPECT_EQ(biff8::ExtSstBucketSize(1025), 9);
  EXPECT_EQ(biff8::ExtSstBucketSize(12000), 94);

  std::vector<biff8::StringPosition> positions(1030);
  for (size_t i = 0; i < positions.size(); ++i)
    positions[i] = {static_cast<std::uint32_t>(100 + i), static_cast<std::uint16_t>(i)};
  std::string stream;
  biff8::AppendExtSst(stream, positions);
  auto records = WalkRecords(stream);
  ASSERT_TRUE(records && records->size() == 1);
  const std::string& d = (*records)[0].Data;
  EXPECT_EQ(U16At(d, 0), 9);
  EXPECT_EQ(d.size(), 2u + 8 * 115);  // ceil(1030 / 9) buckets
  EXPECT_EQ(test::U32At(d, 2 + 8 * 3), 100u + 27);
  EXPECT_EQ(U16At(d, 2 + 8 * 3 + 4), 27);
}

TEST(FontRecordTest, LayoutAndPalette) {
  std::string d = biff8::FontData({});
  EXPECT_EQ(d.size(), 21u);  // 14 fixed bytes, then "Arial" as a short string
  EXPECT_EQ(U16At(d, 0), 200);
  EXPECT_EQ(U16At(d, 4), biff8::kAutomaticColor);
  EXPECT_EQ(U16At(d, 6), 400);

  biff8::FontRecord styled{u"Tahoma", 240, true, true, true, true, 10};
  d = biff8::FontData(styled);
  EXPECT_EQ(U16At(d, 2), 0x0A);  // italic, strike-out
  EXPECT_EQ(U16At(d, 6), 700);
  EXPECT_EQ(d[10], 1);

  EXPECT_EQ(biff8::PaletteIndex(kClWindowText), biff8::kAutomaticColor);
  EXPECT_EQ(biff8::PaletteIndex(RgbColor(250, 10, 10)), 10);  // red
  EXPECT_EQ(biff8::PaletteIndex(RgbColor(0, 0, 120)), 18);    // navy
  EXPECT_EQ(biff8::PaletteIndex(kClBlack), 8);
}

TEST(ShortStringTest, CompressedUnlessACharacterNeedsTwoBytes) {
  EXPECT_EQ(biff8::ShortString(u"Sheet1"), std::string("\x06\x00Sheet1", 8));
  EXPECT_EQ(biff8::ShortString(u"\u0141"), std::string("\x01\x01\x41\x01", 4));
}

}  // namespace
}  // namespace plumgr
