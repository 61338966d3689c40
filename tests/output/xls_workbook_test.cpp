// The record layout of the workbook stream.

#include "output/xls_workbook.h"

#include <gtest/gtest.h>

#include <map>

#include "output/biff8_records.h"
#include "support/output_test_support.h"

namespace plumgr {
namespace {

using test::BiffRecord;
using test::U16At;
using test::U32At;

Sheet SmallSheet() {
  Sheet sheet(3, 3);
  sheet.At(0, 0).Text = u"NO.";
  sheet.At(0, 1).Text = u"Name";
  sheet.At(1, 0).Text = u"1";
  sheet.At(1, 1).Text = u"\u017Bubr";
  sheet.At(2, 0).Text = u"2";
  sheet.At(2, 1).Text = u"1";  // the same text as a row number: one shared string
  return sheet;
}

std::vector<BiffRecord> Walk(const Sheet& sheet) {
  auto records = test::WalkRecords(BuildWorkbookStream(sheet));
  EXPECT_TRUE(records.has_value());
  return records.value_or(std::vector<BiffRecord>{});
}

std::vector<std::uint16_t> Ids(const std::vector<BiffRecord>& records) {
  std::vector<std::uint16_t> ids;
  for (const BiffRecord& r : records)
    ids.push_back(r.Id);
  return ids;
}

TEST(XlsWorkbookTest, RecordsComeInTheOrderReadersExpect) {
  using namespace biff8;
  std::vector<BiffRecord> records = Walk(SmallSheet());
  std::vector<std::uint16_t> expected = {kBof, kCodePage, kWindow1};
  expected.insert(expected.end(), 5, kFont);
  expected.insert(expected.end(), 16, kXf);
  expected.insert(expected.end(), {kStyle, kBoundSheet, kSst, kExtSst, kEof, kBof, kDimensions});
  expected.insert(expected.end(), 6, kLabelSst);
  expected.insert(expected.end(), {kWindow2, kEof});
  EXPECT_EQ(Ids(records), expected);

  EXPECT_EQ(U16At(records[0].Data, 2), kWorkbookGlobals);
  EXPECT_EQ(U16At(records[1].Data, 0), 1200);
  for (const BiffRecord& r : records)
    EXPECT_LE(r.Data.size(), kMaxRecordData);
}

TEST(XlsWorkbookTest, BoundSheetPointsAtTheSheetBof) {
  std::vector<BiffRecord> records = Walk(SmallSheet());
  const BiffRecord* bound = nullptr;
  std::vector<const BiffRecord*> bofs;
  for (const BiffRecord& r : records) {
    if (r.Id == biff8::kBoundSheet) bound = &r;
    if (r.Id == biff8::kBof) bofs.push_back(&r);
  }
  ASSERT_TRUE(bound != nullptr);
  ASSERT_EQ(bofs.size(), 2u);
  EXPECT_EQ(U32At(bound->Data, 0), bofs[1]->Offset);
  EXPECT_EQ(U16At(bofs[1]->Data, 2), biff8::kWorksheet);
  EXPECT_EQ(bound->Data.substr(6), std::string("\x06\x00Sheet1", 8));
}

TEST(XlsWorkbookTest, CellsAreSharedStringLabelsOfTheDefaultFormat) {
  std::vector<BiffRecord> records = Walk(SmallSheet());
  size_t sst_index = 0;
  std::map<std::pair<int, int>, std::uint32_t> labels;
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].Id == biff8::kSst) sst_index = i;
    if (records[i].Id == biff8::kDimensions) {
      EXPECT_EQ(U32At(records[i].Data, 4), 3u);
      EXPECT_EQ(U16At(records[i].Data, 10), 3);
    }
    if (records[i].Id != biff8::kLabelSst) continue;
    EXPECT_EQ(U16At(records[i].Data, 4), 15);  // XF 15
    labels[{U16At(records[i].Data, 0), U16At(records[i].Data, 2)}] = U32At(records[i].Data, 6);
  }
  auto sst = test::ReadSst(records, sst_index);
  ASSERT_TRUE(sst.has_value());
  EXPECT_EQ(U32At(records[sst_index].Data, 0), 6u);  // uses
  EXPECT_EQ(U32At(records[sst_index].Data, 4), 5u);  // unique strings
  std::map<std::pair<int, int>, std::u16string> cells;
  for (auto& [at, index] : labels)
    cells[at] = (*sst)[index].Text;
  std::map<std::pair<int, int>, std::u16string> expected = {
      {{0, 0}, u"NO."},       {{0, 1}, u"Name"}, {{1, 0}, u"1"},
      {{1, 1}, u"\u017Bubr"}, {{2, 0}, u"2"},    {{2, 1}, u"1"}};
  EXPECT_EQ(cells, expected);
}

TEST(XlsWorkbookTest, ExtSstPointsAtEveryBucketsFirstString) {
  Sheet sheet(3001, 10);
  for (int r = 0; r < sheet.Rows; ++r)
    for (int c = 0; c < sheet.Cols; ++c) {
      std::u16string text = u"cell ";
      for (char ch : std::to_string(r * 10 + c))
        text.push_back(static_cast<char16_t>(ch));
      if (c == 2) text += u"\u0105";
      sheet.At(r, c).Text = text;
    }
  std::string stream = BuildWorkbookStream(sheet);
  auto records = test::WalkRecords(stream);
  ASSERT_TRUE(records.has_value());
  size_t sst_index = 0, ext_index = 0;
  for (size_t i = 0; i < records->size(); ++i) {
    if ((*records)[i].Id == biff8::kSst) sst_index = i;
    if ((*records)[i].Id == biff8::kExtSst) ext_index = i;
  }
  auto sst = test::ReadSst(*records, sst_index);
  ASSERT_TRUE(sst.has_value());
  ASSERT_EQ(sst->size(), 30010u);
  const std::string& ext = (*records)[ext_index].Data;
  std::uint16_t bucket = U16At(ext, 0);
  EXPECT_EQ(bucket, biff8::ExtSstBucketSize(30010));
  size_t buckets = (ext.size() - 2) / 8;
  EXPECT_LE(buckets, 128u);
  EXPECT_EQ(buckets, (30010 + bucket - 1) / bucket);
  for (size_t b = 0; b < buckets; ++b) {
    size_t offset = U32At(ext, 2 + 8 * b);
    EXPECT_EQ(offset, (*sst)[b * bucket].StreamOffset) << "bucket " << b;
    size_t record_start = 0;
    for (const BiffRecord& r : *records)
      if (r.Offset <= offset) record_start = r.Offset;
    EXPECT_EQ(U16At(ext, 2 + 8 * b + 4), offset - record_start);
  }
}

TEST(XlsWorkbookTest, SheetFontsAddTwoFontsAndTheirFormats) {
  Sheet sheet = SmallSheet();
  sheet.TitleFont = {u"Tahoma", 12, true, false, false, false, RgbColor(0, 0, 128)};
  sheet.CellFont = {u"Courier New", 9, false, true, false, false, kClWindowText};
  for (int c = 0; c < 3; ++c)
    sheet.At(0, c).Font = CellFontRole::Title;
  for (int r = 1; r < 3; ++r) {
    sheet.At(r, 0).Font = CellFontRole::Title;
    for (int c = 1; c < 3; ++c)
      sheet.At(r, c).Font = CellFontRole::Cell;
  }
  std::vector<BiffRecord> records = Walk(sheet);
  std::vector<const BiffRecord*> fonts, xfs;
  std::map<std::pair<int, int>, int> xf_of;
  for (const BiffRecord& r : records) {
    if (r.Id == biff8::kFont) fonts.push_back(&r);
    if (r.Id == biff8::kXf) xfs.push_back(&r);
    if (r.Id == biff8::kLabelSst) xf_of[{U16At(r.Data, 0), U16At(r.Data, 2)}] = U16At(r.Data, 4);
  }
  ASSERT_EQ(fonts.size(), 7u);
  ASSERT_EQ(xfs.size(), 18u);
  EXPECT_EQ(U16At(fonts[5]->Data, 0), 240);
  EXPECT_EQ(U16At(fonts[5]->Data, 6), 700);
  EXPECT_EQ(U16At(fonts[5]->Data, 4), 18);
  EXPECT_EQ(U16At(fonts[6]->Data, 2), 0x02);
  EXPECT_EQ(U16At(xfs[16]->Data, 0), 6);  // the sixth font record is index 6
  EXPECT_EQ(U16At(xfs[17]->Data, 0), 7);
  EXPECT_EQ(xf_of[std::make_pair(0, 1)], 16);
  EXPECT_EQ(xf_of[std::make_pair(2, 0)], 16);
  EXPECT_EQ(xf_of[std::make_pair(1, 1)], 17);
}

}  // namespace
}  // namespace plumgr
