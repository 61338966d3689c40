#include <gtest/gtest.h>

#include <QImage>

#include "cli/support/run_process.h"
#include "hotkey/key_grid.h"
#include "hotkey/support/key_test_support.h"

namespace plumgr {
namespace {

using test::Fields;
using test::ReadAll;
using test::ScratchDir;
using test::ShapeGrid;
using test::WriteAll;

// A new key's line: level 1 of key 0.
const char kNewKeyLine[] =
    "\t\t\t0.00\t-16777211\t0\t0\tMS Sans Serif\t8\t1\t0\t-16777208\t0\t\t0\t\t\t\t\t"
    "MS Sans Serif\t8\t1\t0\t-16777208\tMS Sans Serif\t8\t1\t0\t-16777208\t1\t\t0\t0\t0";

void FillKey(TGridList& key, int i) {
  std::string n = std::to_string(i);
  TGridItem& one = key.fs1Btn();
  one.Code = "59012" + n;
  one.Caption = "Item " + n;
  one.Event = "ev" + n;
  one.Price = 1.5 + i;
  one.Background = RgbColor(10, 20, static_cast<std::uint8_t>(i));
  one.BTNType = 1;
  one.Font = {"DejaVu Sans", 9 + i % 3, 238, kFsBold | kFsItalic, RgbColor(1, 2, 3)};
  one.KeyValue = 100 + i;
  one.Functionname = "fn" + n;
  TGridItem& two = key.sc2Btn();
  two.Code = n;
  two.Caption = "Dept " + n;
  two.BTNType = 2;
  two.Price = 0.25;
  two.Background = kClBtnFace;
  key.CenterLine = i % 2 == 0;
  key.TLCaption = "tl" + n;
  key.TRCaption = "tr" + n;
  key.BLCaption = "bl" + n;
  key.BRCaption = "br" + n;
  key.ShowLBCaption = true;
  key.ShowRBCaption = i % 3 == 0;
  key.ShowLBFont = {"Lb", 7, 0, kFsUnderline, kClBlack};
  key.ShowRBFont = {"Rb", 11, 161, kFsStrikeOut, 0x123456};
}

void ExpectSameKey(const TGridList& a, const TGridList& b) {
  for (int level = 1; level <= 2; ++level) {
    const TGridItem& x = level == 1 ? a.fs1Btn() : a.sc2Btn();
    const TGridItem& y = level == 1 ? b.fs1Btn() : b.sc2Btn();
    EXPECT_EQ(x.Code, y.Code);
    EXPECT_EQ(x.Caption, y.Caption);
    EXPECT_EQ(x.Event, y.Event);
    EXPECT_DOUBLE_EQ(x.Price, y.Price);
    EXPECT_EQ(x.Background, y.Background);
    EXPECT_EQ(x.BTNType, y.BTNType);
    EXPECT_EQ(x.Font, y.Font);
    EXPECT_EQ(x.KeyValue, y.KeyValue);
    EXPECT_EQ(x.Functionname, y.Functionname);
  }
  EXPECT_EQ(a.CenterLine, b.CenterLine);
  EXPECT_EQ(a.TLCaption, b.TLCaption);
  EXPECT_EQ(a.TRCaption, b.TRCaption);
  EXPECT_EQ(a.BLCaption, b.BLCaption);
  EXPECT_EQ(a.BRCaption, b.BRCaption);
  EXPECT_EQ(a.ShowLBCaption, b.ShowLBCaption);
  EXPECT_EQ(a.ShowRBCaption, b.ShowRBCaption);
  EXPECT_EQ(a.ShowLBFont, b.ShowLBFont);
  EXPECT_EQ(a.ShowRBFont, b.ShowRBFont);
  EXPECT_EQ(a.UseImage, b.UseImage);
  EXPECT_EQ(a.Imagefile(), b.Imagefile());
}

class KeyFileTest : public testing::TestWithParam<char> {
 protected:
  char Separator() const { return GetParam(); }
  std::string Other() const { return GetParam() == '.' ? "," : "."; }
  ScratchDir dir_;
};

TEST_P(KeyFileTest, SixtyKeysSaveTwoLinesEachInKeyOrder) {
  TMyGrid grid;
  ShapeGrid(grid, 120);
  grid.Items(7).TLCaption = "corner";
  grid.Items(7).CenterLine = true;
  ASSERT_TRUE(grid.SaveToFile(dir_.Path("a.Key"), Separator()));
  std::string text = ReadAll(dir_.Path("a.Key"));
  std::vector<std::string> lines = test::CrLfLines(text);
  ASSERT_EQ(lines.size(), 120u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  std::string new_key = kNewKeyLine;
  if (Separator() == ',') new_key.replace(new_key.find("0.00"), 4, "0,00");
  EXPECT_EQ(lines[0], new_key);
  for (int k = 0; k < 120; ++k) {
    std::vector<std::string> fields = Fields(lines[k]);
    ASSERT_EQ(fields.size(), 34u) << k;
    EXPECT_EQ(fields[5], std::to_string(k / 2));
    EXPECT_EQ(fields[29], k % 2 == 0 ? "1" : "2");
  }
  // Both lines of a key repeat the key's own fields.
  for (std::vector<std::string> fields : {Fields(lines[14]), Fields(lines[15])}) {
    EXPECT_EQ(fields[14], "1");
    EXPECT_EQ(fields[16], "corner");
  }
}

TEST_P(KeyFileTest, FontStyleAndPriceAreWrittenAsNumbers) {
  TMyGrid grid;
  ShapeGrid(grid, 120);
  grid.Items(0).fs1Btn().Font.Style = kFsBold | kFsItalic;
  grid.Items(0).fs1Btn().Price = 1.5;
  ASSERT_TRUE(grid.SaveToFile(dir_.Path("a.Key"), Separator()));
  std::vector<std::string> fields = Fields(test::CrLfLines(ReadAll(dir_.Path("a.Key")))[0]);
  EXPECT_EQ(fields[3], std::string("1") + Separator() + "50");
  EXPECT_EQ(fields[10], "3");
}

TEST_P(KeyFileTest, FullLayoutRoundTrips) {
  TMyGrid saved;
  ShapeGrid(saved, 160);
  for (int i = 0; i < saved.StoredCount(); ++i)
    FillKey(saved.Items(i), i);
  ASSERT_TRUE(saved.SaveToFile(dir_.Path("full.Key"), Separator()));

  TMyGrid loaded;
  ShapeGrid(loaded, 160);
  int repaints = 0;
  loaded.OnRepaint = [&] { ++repaints; };
  KeyResult result = loaded.LoadFromFile(dir_.Path("full.Key"), Separator());
  ASSERT_TRUE(result) << result.Message;
  EXPECT_EQ(repaints, 1);
  for (int i = 0; i < saved.StoredCount(); ++i) {
    SCOPED_TRACE(i);
    ExpectSameKey(saved.Items(i), loaded.Items(i));
    EXPECT_EQ(loaded.Items(i).fs1Btn().Dindex, i);
    EXPECT_EQ(loaded.Items(i).sc2Btn().Dindex, i);
  }
  // Saving again gives the same bytes.
  ASSERT_TRUE(loaded.SaveToFile(dir_.Path("again.Key"), Separator()));
  EXPECT_EQ(ReadAll(dir_.Path("full.Key")), ReadAll(dir_.Path("again.Key")));
}

TEST_P(KeyFileTest, PriceWithTheOtherSeparatorStopsAtTheFirstLine) {
  TMyGrid grid;
  ShapeGrid(grid, 120);
  grid.Items(0).fs1Btn().Price = 1.5;
  grid.Items(0).fs1Btn().Caption = "Cola";
  ASSERT_TRUE(grid.SaveToFile(dir_.Path("a.Key"), Separator()));

  TMyGrid other;
  ShapeGrid(other, 120);
  bool repainted = false;
  other.OnRepaint = [&] { repainted = true; };
  KeyResult result = other.LoadFromFile(dir_.Path("a.Key"), Other()[0]);
  EXPECT_FALSE(result);
  EXPECT_EQ(result.Message,
            std::string("'1") + Separator() + "50' is not a valid floating point value");
  EXPECT_EQ(other.Items(0).fs1Btn().Caption, "");
  EXPECT_TRUE(repainted);
}

INSTANTIATE_TEST_SUITE_P(BothSeparators, KeyFileTest, testing::Values('.', ','),
                         [](const testing::TestParamInfo<char>& info) {
                           return info.param == '.' ? std::string("Point") : std::string("Comma");
                         });

// A valid line for key `index` at `level` with a caption, built from a saved file.
std::string LineFor(int index, int level, const std::string& caption) {
  std::vector<std::string> fields = Fields(kNewKeyLine);
  fields[1] = caption;
  fields[5] = std::to_string(index);
  fields[29] = std::to_string(level);
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i)
    line += (i ? "\t" : "") + fields[i];
  return line;
}

TEST(KeyFileLoadTest, LinesBeyondTwiceTheKeyCountAreIgnored) {
  ScratchDir dir;
  TMyGrid grid;
  grid.ColCount = 2;
  grid.RowCount = 1;
  grid.SetCount(2);
  std::string text;
  for (int k = 0; k < 4; ++k)
    text += LineFor(k / 2, k % 2 + 1, "c" + std::to_string(k)) + "\r\n";
  text += "garbage that is never read\r\n";
  WriteAll(dir.Path("a.Key"), text);
  ASSERT_TRUE(grid.LoadFromFile(dir.Path("a.Key"), '.'));
  EXPECT_EQ(grid.Items(1).sc2Btn().Caption, "c3");
}

TEST(KeyFileLoadTest, FewerLinesLeaveTheOtherKeysAsTheyWere) {
  ScratchDir dir;
  TMyGrid grid;
  ShapeGrid(grid, 120);
  grid.Items(5).fs1Btn().Caption = "kept";
  grid.Items(5).CenterLine = true;
  // Lone LF and lone CR end lines too, and the last line needs no line end.
  WriteAll(dir.Path("a.Key"),
           LineFor(0, 1, "zero") + "\n" + LineFor(0, 2, "two") + "\r" + LineFor(1, 1, "one"));
  ASSERT_TRUE(grid.LoadFromFile(dir.Path("a.Key"), '.'));
  EXPECT_EQ(grid.Items(0).fs1Btn().Caption, "zero");
  EXPECT_EQ(grid.Items(0).sc2Btn().Caption, "two");
  EXPECT_EQ(grid.Items(1).fs1Btn().Caption, "one");
  EXPECT_EQ(grid.Items(5).fs1Btn().Caption, "kept");
  EXPECT_TRUE(grid.Items(5).CenterLine);
}

TEST(KeyFileLoadTest, LevelTwoLineChangesOnlyTheLevelTwoItem) {
  ScratchDir dir;
  TMyGrid grid;
  ShapeGrid(grid, 120);
  std::vector<std::string> fields = Fields(LineFor(3, 2, "second"));
  fields[14] = "1";        // CenterLine
  fields[15] = "ignored";  // TRCaption
  fields[33] = "1";        // ShowRBCaption
  fields[19] = "Ignored";  // ShowLBFont name
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i)
    line += (i ? "\t" : "") + fields[i];
  WriteAll(dir.Path("a.Key"), line + "\r\n");
  ASSERT_TRUE(grid.LoadFromFile(dir.Path("a.Key"), '.'));
  const TGridList& key = grid.Items(3);
  EXPECT_EQ(key.sc2Btn().Caption, "second");
  EXPECT_EQ(key.sc2Btn().Dindex, 3);
  EXPECT_FALSE(key.CenterLine);
  EXPECT_EQ(key.TRCaption, "");
  EXPECT_FALSE(key.ShowRBCaption);
  EXPECT_EQ(key.ShowLBFont, TFont());
}

TEST(KeyFileLoadTest, OnlyOneMeansTrue) {
  ScratchDir dir;
  TMyGrid grid;
  ShapeGrid(grid, 120);
  grid.Items(0).CenterLine = true;
  std::vector<std::string> fields = Fields(LineFor(0, 1, "x"));
  fields[14] = "2";
  fields[31] = "-1";
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i)
    line += (i ? "\t" : "") + fields[i];
  WriteAll(dir.Path("a.Key"), line);
  ASSERT_TRUE(grid.LoadFromFile(dir.Path("a.Key"), '.'));
  EXPECT_FALSE(grid.Items(0).CenterLine);
  EXPECT_FALSE(grid.Items(0).UseImage);
}

struct DamagedCase {
  const char* name;
  std::string second_line;
  std::string message;
};

class DamagedKeyFileTest : public testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedKeyFileTest, StopsAtTheFaultyLineKeepingTheLinesBefore) {
  ScratchDir dir;
  TMyGrid grid;
  ShapeGrid(grid, 120);
  WriteAll(dir.Path("a.Key"),
           LineFor(0, 1, "first") + "\r\n" + GetParam().second_line + "\r\n" + LineFor(1, 1, "x"));
  KeyResult result = grid.LoadFromFile(dir.Path("a.Key"), '.');
  EXPECT_FALSE(result);
  EXPECT_EQ(result.Message, GetParam().message);
  EXPECT_EQ(grid.Items(0).fs1Btn().Caption, "first");
  EXPECT_EQ(grid.Items(1).fs1Btn().Caption, "");
}

std::string Replaced(int field, const std::string& value) {
  std::vector<std::string> fields = Fields(LineFor(0, 2, "second"));
  fields[field - 1] = value;
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i)
    line += (i ? "\t" : "") + fields[i];
  return line;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedKeyFileTest,
    testing::Values(
        DamagedCase{"EmptyLine", "", "'' is not a valid floating point value"},
        DamagedCase{"TooFewFields", "1\tcap\tev\t2.00\t5", "'' is not a valid integer value"},
        DamagedCase{"Garbage", "\x01\xff\tzz\t\t\t", "'' is not a valid floating point value"},
        DamagedCase{"LetterInColour", Replaced(5, "12a"), "'12a' is not a valid integer value"},
        DamagedCase{"HexPrefix", Replaced(9, "$10"), "'$10' is not a valid integer value"},
        DamagedCase{"Overflow", Replaced(13, "99999999999"),
                    "'99999999999' is not a valid integer value"},
        DamagedCase{"NotANumberPrice", Replaced(4, "nan"),
                    "'nan' is not a valid floating point value"},
        DamagedCase{"KeyIndexTooLarge", Replaced(6, "60"), "List index out of bounds (60)"},
        DamagedCase{"KeyIndexNegative", Replaced(6, "-1"), "List index out of bounds (-1)"},
        DamagedCase{"HugeNumber", Replaced(21, std::string(100000, '7')),
                    "'" + std::string(100000, '7') + "' is not a valid integer value"}),
    [](const testing::TestParamInfo<DamagedCase>& info) { return info.param.name; });

TEST(KeyFileLoadTest, HugeTextFieldsLoad) {
  ScratchDir dir;
  TMyGrid grid;
  ShapeGrid(grid, 120);
  std::string huge(1 << 20, 'A');
  WriteAll(dir.Path("a.Key"), LineFor(2, 1, huge) + "\tand more fields\t\t\t");
  ASSERT_TRUE(grid.LoadFromFile(dir.Path("a.Key"), '.'));
  EXPECT_EQ(grid.Items(2).fs1Btn().Caption, huge);
}

TEST(KeyFileLoadTest, UnreadableFileNamesItAndChangesNothing) {
  ScratchDir dir;
  TMyGrid grid;
  ShapeGrid(grid, 120);
  grid.Items(0).fs1Btn().Caption = "kept";
  KeyResult result = grid.LoadFromFile(dir.Path("missing.Key"), '.');
  EXPECT_FALSE(result);
  EXPECT_NE(result.Message.find("missing.Key"), std::string::npos);
  EXPECT_EQ(grid.Items(0).fs1Btn().Caption, "kept");
}

TEST(KeyFileSaveTest, UnwritablePathNamesTheFileAndKeepsTheOldOne) {
  ScratchDir dir;
  TMyGrid grid;
  ShapeGrid(grid, 120);
  KeyResult result = grid.SaveToFile(dir.Path("no/such/dir/a.Key"), '.');
  EXPECT_FALSE(result);
  EXPECT_NE(result.Message.find("a.Key"), std::string::npos);
}

TEST(KeyFileLoadTest, PictureNamesThatDoNotExistAreDropped) {
  ScratchDir dir;
  QImage picture(4, 4, QImage::Format_RGB32);
  picture.fill(Qt::red);
  ASSERT_TRUE(picture.save(QString::fromStdString(dir.Path("p.png"))));
  TMyGrid grid;
  ShapeGrid(grid, 120);
  std::vector<std::string> lines;
  for (const std::string& name : {dir.Path("p.png"), dir.Path("gone.png")}) {
    std::vector<std::string> fields = Fields(LineFor(static_cast<int>(lines.size()), 1, "x"));
    fields[30] = name;
    fields[31] = "1";
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i)
      line += (i ? "\t" : "") + fields[i];
    lines.push_back(line);
  }
  WriteAll(dir.Path("a.Key"), lines[0] + "\r\n" + lines[1] + "\r\n");
  ASSERT_TRUE(grid.LoadFromFile(dir.Path("a.Key"), '.'));
  EXPECT_EQ(grid.Items(0).Imagefile(), dir.Path("p.png"));
  EXPECT_EQ(grid.Items(0).Image().size(), QSize(4, 4));
  EXPECT_EQ(grid.Items(1).Imagefile(), "");
  EXPECT_TRUE(grid.Items(1).UseImage);
  EXPECT_TRUE(grid.Items(1).Image().isNull());
}

TEST(KeyGridTest, NewItemsAndKeysHaveTheirInitialValues) {
  TMyGrid grid;
  EXPECT_EQ(grid.SBurshColor, 15780518u);
  EXPECT_EQ(grid.ShortLen, 2);
  EXPECT_EQ(grid.RoundNum, 5);
  EXPECT_EQ(grid.SelectLine, psDot);
  ShapeGrid(grid, 160);
  EXPECT_EQ(grid.Count(), 80);
  const TGridItem& item = grid.Items(79).sc2Btn();
  EXPECT_EQ(item.Background, 0xFF000005u);
  EXPECT_EQ(item.Font.Name, "MS Sans Serif");
  EXPECT_EQ(item.Font.Size, 8);
  EXPECT_EQ(item.BTNType, 0);
  EXPECT_THROW(grid.Items(80), std::out_of_range);
  EXPECT_EQ(grid.FindItem(-1), nullptr);
}

TEST(KeyGridTest, SelectItemsFollowKeyOrder) {
  TMyGrid grid;
  ShapeGrid(grid, 120);
  EXPECT_EQ(grid.SelectItemCount(), 0);
  for (int i : {9, 2, 40})
    grid.Items(i).Selected = true;
  ASSERT_EQ(grid.SelectItemCount(), 3);
  EXPECT_EQ(&grid.SelectItems(0), &grid.Items(2));
  EXPECT_EQ(&grid.SelectItems(1), &grid.Items(9));
  EXPECT_EQ(&grid.SelectItems(2), &grid.Items(40));
}

TEST(KeyGridTest, AssignCopiesTheKeyAndClearsSelected) {
  TGridList source;
  FillKey(source, 4);
  source.UseImage = true;
  source.Transparent = true;
  source.fs1Btn().IsFunction = true;
  TGridList copy;
  copy.Selected = true;
  copy.Assign(source);
  ExpectSameKey(source, copy);
  EXPECT_TRUE(copy.Transparent);
  EXPECT_FALSE(copy.Selected);
  EXPECT_FALSE(copy.fs1Btn().IsFunction);  // not part of what an item carries
  copy.ClearImage();
  EXPECT_FALSE(copy.UseImage);
  EXPECT_EQ(copy.Imagefile(), "");
}

}  // namespace
}  // namespace plumgr
