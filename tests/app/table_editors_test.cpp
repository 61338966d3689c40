// The recycling and fast-sale editors on the main window's tables: the cell
// rule and key filter, OK and Cancel, and the tables' way through a saved and
// reopened data file set.

#include <gtest/gtest.h>

#include "app/fast_sale_editor_model.h"
#include "app/file_commands.h"
#include "app/main_window_state.h"
#include "app/recycling_editor_model.h"
#include "data/support/recording_ui_port.h"
#include "data/temp_dir.h"

namespace plumgr {
namespace {

using test::ReadBytes;
using test::TempDir;

class TableEditorsTest : public ::testing::TestWithParam<char> {
 protected:
  void SetUp() override { state_.StartUp({dir_.File("SYSTEM.CFG"), dir_.File("dumps"), Sep()}); }
  char Sep() const { return GetParam(); }
  std::string Price(const char* whole, const char* cents) const {
    return std::string(whole) + Sep() + cents;
  }
  // Saves the set, puts fresh tables in memory and opens the set again.
  void SaveAndReopen() {
    ASSERT_TRUE(SaveAsName(state_, dir_.File("shop.PLU")));
    state_.Recycling() = InitialRecyclingTable(Sep());
    state_.FastSale() = InitialFastSaleTable();
    ASSERT_TRUE(OpenName(state_, dir_.File("shop.PLU")));
  }

  TempDir dir_;
  test::RecordingUiPort ui_;
  MainWindowState state_{ui_};
};

TEST_P(TableEditorsTest, RecyclingCellsTakeNumbersAndOkStoresThemThroughTheSet) {
  RecyclingEditorModel editor(Sep());
  editor.Load(state_.Recycling());
  EXPECT_EQ(editor.Price(1), Price("0", "00"));
  EXPECT_EQ(editor.Price(100), Price("0", "00"));

  editor.SetPrice(3, "5");
  EXPECT_TRUE(editor.Validate(3));
  EXPECT_EQ(editor.Price(3), Price("5", "00"));
  editor.SetPrice(4, "");
  EXPECT_TRUE(editor.Validate(4));
  EXPECT_EQ(editor.Price(4), Price("0", "00"));
  editor.SetPrice(5, "99999" + std::string(1, Sep()) + "994");
  EXPECT_TRUE(editor.Validate(5));
  EXPECT_EQ(editor.Price(5), Price("99999", "99"));
  editor.SetPrice(100, "0" + std::string(1, Sep()) + "5");
  EXPECT_TRUE(editor.Validate(100));

  // Refused cells stay as typed: no number, and prices the register would hand
  // back as other prices (below zero) or that outgrow the cell.
  for (const char* refused : {"1-2", "-1", "100000"}) {
    editor.SetPrice(6, refused);
    EXPECT_FALSE(editor.Validate(6)) << refused;
    EXPECT_EQ(editor.Price(6), refused);
  }

  const std::string sep(1, Sep());
  EXPECT_TRUE(editor.AcceptsKey("12", Sep()));
  EXPECT_FALSE(editor.AcceptsKey("1" + sep + "2", Sep()));
  EXPECT_FALSE(editor.AcceptsKey("12", 'a'));
  EXPECT_FALSE(editor.AcceptsKey("12345678", '9'));
  EXPECT_TRUE(editor.AcceptsKey("12345678", '9', 1)) << "typing over a selection";
  EXPECT_TRUE(editor.AcceptsKey("12345678", '\b'));

  // OK with a refused row stores nothing and names the row.
  const RecyclingTable before = state_.Recycling();
  const EditorResult refused = editor.Store(state_.Recycling());
  EXPECT_FALSE(refused.Ok);
  EXPECT_EQ(refused.Field, "RecyGrid");
  EXPECT_EQ(editor.RefusedRow(), 6);
  EXPECT_EQ(state_.Recycling()[2].PackagePrice, before[2].PackagePrice);

  editor.Reset(6, 7);
  EXPECT_EQ(editor.Price(6), Price("0", "00"));
  ASSERT_TRUE(editor.Store(state_.Recycling()));
  EXPECT_EQ(editor.RefusedRow(), std::nullopt);
  EXPECT_EQ(state_.Recycling()[2].Number, "3");
  EXPECT_EQ(state_.Recycling()[2].PackagePrice, Price("5", "00"));
  EXPECT_EQ(state_.Recycling()[99].PackagePrice, Price("0", "50"));

  SaveAndReopen();
  EXPECT_EQ(state_.Recycling()[2].PackagePrice, Price("5", "00"));
  EXPECT_EQ(state_.Recycling()[4].PackagePrice, Price("99999", "99"));
  EXPECT_EQ(state_.Recycling()[99].Number, "100");
  EXPECT_EQ(state_.Recycling()[99].PackagePrice, Price("0", "50"));
}

TEST_P(TableEditorsTest, RecyclingCancelLeavesTheTable) {
  state_.Recycling()[9].PackagePrice = Price("1", "25");
  RecyclingEditorModel editor(Sep());
  editor.Load(state_.Recycling());
  EXPECT_EQ(editor.Price(10), Price("1", "25"));
  editor.SetPrice(10, "7");
  ASSERT_TRUE(editor.Validate(10));
  // Cancel: the model is dropped without Store.
  EXPECT_EQ(state_.Recycling()[9].PackagePrice, Price("1", "25"));
  editor.Load(state_.Recycling());
  EXPECT_EQ(editor.Price(10), Price("1", "25")) << "reopening shows the table again";
}

TEST_P(TableEditorsTest, FastSaleTitleBoxTicksAllAndOkNumbersTheButtonsFromZero) {
  state_.FastSale()[4] = {5, "5901234123457", 1};
  FastSaleEditorModel editor;
  editor.Show(state_.FastSale());
  EXPECT_EQ(editor.Barcode(5), "5901234123457");
  EXPECT_TRUE(editor.Sign(5));
  EXPECT_FALSE(editor.Sign(1));

  editor.SetAllSigns(true);
  for (int row = 1; row <= 16; ++row)
    EXPECT_TRUE(editor.Sign(row)) << row;
  // Close: nothing stored.
  EXPECT_EQ(state_.FastSale()[0].SignFlag, 0);
  EXPECT_EQ(state_.FastSale()[4].ButtonNumber, 5);

  editor.Show(state_.FastSale());
  EXPECT_TRUE(editor.AllSigns()) << "the title box keeps its state";
  EXPECT_FALSE(editor.Sign(1)) << "the row boxes follow the table";
  editor.SetAllSigns(false);
  editor.SetSign(2, true);
  editor.SetBarcode(2, "0012345");
  editor.SetBarcode(16, "0000000FF12345");  // as an upload reads it back
  ASSERT_TRUE(editor.Store(state_.FastSale()));
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(state_.FastSale()[i].ButtonNumber, i);
  EXPECT_EQ(state_.FastSale()[1].Barcode, "0012345");
  EXPECT_EQ(state_.FastSale()[1].SignFlag, 1);
  EXPECT_EQ(state_.FastSale()[4].SignFlag, 0);
  EXPECT_EQ(state_.FastSale()[4].Barcode, "5901234123457");

  SaveAndReopen();
  EXPECT_EQ(state_.FastSale()[1].Barcode, "0012345");
  EXPECT_EQ(state_.FastSale()[1].SignFlag, 1);
  EXPECT_EQ(state_.FastSale()[15].Barcode, "0000000FF12345");
  EXPECT_EQ(state_.FastSale()[1].ButtonNumber, 2) << "a read .Sign file numbers from 1";
}

TEST_P(TableEditorsTest, FastSaleRefusesBarcodesTheRegisterOrTheSignFileCannotHold) {
  FastSaleEditorModel editor;
  editor.Show(state_.FastSale());
  editor.SetBarcode(1, "123");
  for (const char* refused : {"12\t1", "12\r\n", "123456789012345", "59-01"}) {
    editor.SetBarcode(7, refused);
    const EditorResult result = editor.Store(state_.FastSale());
    EXPECT_FALSE(result.Ok) << refused;
    EXPECT_EQ(result.Message, "Button 7: a barcode holds at most 14 digits (0 to 9, A to F).");
    EXPECT_EQ(result.Field, "StringGrid1");
    EXPECT_EQ(state_.FastSale()[0].Barcode, "") << "a refused OK stores nothing";
  }
  editor.SetBarcode(7, " 12345678901234 ");
  ASSERT_TRUE(editor.Store(state_.FastSale()));
  ASSERT_TRUE(SaveAsName(state_, dir_.File("shop.PLU")));
  const std::string sign = ReadBytes(dir_.File("shop.Sign"));
  EXPECT_NE(sign.find("123\t0\r\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Separators, TableEditorsTest, ::testing::Values('.', ','));

}  // namespace
}  // namespace plumgr
