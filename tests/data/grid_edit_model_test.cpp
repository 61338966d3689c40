#include "data/grid_edit_model.h"

#include <gtest/gtest.h>

#include <string>

#include "support/recording_ui_port.h"
#include "support/table_fixture.h"

namespace plumgr {
namespace {

class GridEditModelTest : public ::testing::Test {
 protected:
  void SetUp() override { test::PrepareTables(tables_, separator_); }

  GridEditHooks Hooks() {
    return GridEditHooks{.SetModified = [this] { ++modified_; },
                         .CellsChanged = [this](const CellRect& r) { changed_.push_back(r); },
                         .StateChanged = nullptr};
  }

  void Type(GridEditModel& model, const std::string& text) {
    for (char ch : text)
      model.KeyPress(ch);
  }

  const std::string& Plu(int col, int row) const { return tables_.PLUGrid.Cell(col, row); }

  char separator_ = '.';
  Tables tables_;
  test::RecordingUiPort ui_;
  int modified_ = 0;
  std::vector<CellRect> changed_;
  GridEditModel plu_{tables_, GridId::Plu, ui_, separator_, Hooks()};
  GridEditModel dept_{tables_, GridId::Dept, ui_, separator_, Hooks()};
};

TEST_F(GridEditModelTest, TypingOnABrowsedCellReplacesItAndMarksTheDataModified) {
  tables_.PLUGrid.SetCell(PluCol::Barcode, 1, "999");
  EXPECT_TRUE(plu_.SelectCell(PluCol::Barcode, 1));
  Type(plu_, "0012");
  EXPECT_TRUE(plu_.Editing());
  EXPECT_EQ(Plu(PluCol::Barcode, 1), "0012");
  EXPECT_EQ(modified_, 1);  // once, when the editing started

  EXPECT_TRUE(plu_.KeyDown(GridKey::Enter));
  EXPECT_EQ(Plu(PluCol::Barcode, 1), "12");
  EXPECT_FALSE(plu_.Editing());
  EXPECT_EQ(plu_.Current(), (CellPos{PluCol::Name, 1}));
  EXPECT_EQ(ui_.Beeps, 0);
}

TEST_F(GridEditModelTest, TheFirstCharacterStillPassesTheKeyFilter) {
  tables_.PLUGrid.SetCell(PluCol::Price, 1, "5.00");
  plu_.SelectCell(PluCol::Price, 1);
  EXPECT_FALSE(plu_.KeyPress('x'));
  EXPECT_TRUE(plu_.Editing());  // the cell was cleared and the editor opened
  EXPECT_EQ(Plu(PluCol::Price, 1), "");
  EXPECT_EQ(modified_, 1);

  plu_.SelectCell(PluCol::Alcohol, 1);  // no validation needed: "" becomes "0.00"
  EXPECT_EQ(Plu(PluCol::Price, 1), "0.00");
  EXPECT_FALSE(plu_.KeyPress('1'));  // the Alcohol column is never edited
  plu_.KeyDown(GridKey::F2);
  EXPECT_FALSE(plu_.Editing());
  EXPECT_EQ(modified_, 1);
}

TEST_F(GridEditModelTest, PricesOutOfRangeBeepAndStayInEditMode) {
  plu_.SelectCell(PluCol::Price, 4);
  Type(plu_, "-5");
  plu_.KeyDown(GridKey::Enter);
  EXPECT_EQ(Plu(PluCol::Price, 4), "-5.00");
  EXPECT_EQ(plu_.Current(), (CellPos{PluCol::Dept, 4}));

  plu_.SelectCell(PluCol::Price, 5);
  Type(plu_, "1000000");
  EXPECT_TRUE(plu_.KeyDown(GridKey::Enter));
  EXPECT_EQ(ui_.Beeps, 1);
  EXPECT_TRUE(plu_.Editing());
  EXPECT_EQ(plu_.Current(), (CellPos{PluCol::Price, 5}));
  EXPECT_FALSE(plu_.Click(PluCol::Name, 9));  // no other cell can be selected either
  EXPECT_FALSE(plu_.LeaveTable());
  EXPECT_FALSE(ValidateActive(&plu_));
  EXPECT_EQ(ui_.Beeps, 4);
  EXPECT_EQ(plu_.Current(), (CellPos{PluCol::Price, 5}));
  EXPECT_TRUE(ui_.Messages.empty());  // only repeats show a message
}

TEST_F(GridEditModelTest, EmptyingACellRestoresItsDefaultAndMovesOn) {
  plu_.SelectCell(PluCol::Price, 2);
  plu_.KeyDown(GridKey::F2);  // the whole text is selected
  plu_.KeyPress('\b');
  EXPECT_EQ(Plu(PluCol::Price, 2), "");
  plu_.KeyDown(GridKey::Enter);
  EXPECT_EQ(Plu(PluCol::Price, 2), "0.00");
  EXPECT_EQ(plu_.Current(), (CellPos{PluCol::Dept, 2}));
  EXPECT_EQ(modified_, 0);  // F2 and Backspace alone do not start the edit by typing
}

TEST_F(GridEditModelTest, UpAndDownAtTheEdgesValidateWithoutMoving) {
  plu_.SelectCell(PluCol::Stocks, 1);
  Type(plu_, "1.5");
  EXPECT_TRUE(plu_.KeyDown(GridKey::Up));
  EXPECT_EQ(Plu(PluCol::Stocks, 1), "1.500");
  EXPECT_FALSE(plu_.Editing());
  EXPECT_EQ(plu_.Current().Row, 1);

  plu_.SelectCell(PluCol::Flag, 3000);
  Type(plu_, "007");
  plu_.KeyDown(GridKey::Down);
  EXPECT_EQ(Plu(PluCol::Flag, 3000), "7");
  EXPECT_EQ(plu_.Current().Row, 3000);

  Type(plu_, "1");
  Type(plu_, "01");  // "101"
  plu_.KeyDown(GridKey::Up);
  EXPECT_EQ(ui_.Beeps, 1);  // refused: the key is swallowed
  EXPECT_EQ(plu_.Current().Row, 3000);
  EXPECT_TRUE(plu_.Editing());
  plu_.KeyPress('\b');
  plu_.KeyDown(GridKey::Up);
  EXPECT_EQ(Plu(PluCol::Flag, 3000), "10");
  EXPECT_EQ(plu_.Current().Row, 2999);
}

TEST_F(GridEditModelTest, EnterWrapsToTheNextRowAndStopsAtTheLastCell) {
  dept_.SelectCell(DeptCol::Price, 1);
  dept_.KeyDown(GridKey::Enter);
  EXPECT_EQ(dept_.Current(), (CellPos{DeptCol::Name, 2}));
  dept_.SelectCell(DeptCol::Price, 16);
  dept_.KeyDown(GridKey::Enter);
  EXPECT_EQ(dept_.Current(), (CellPos{DeptCol::Price, 16}));

  plu_.SelectCell(PluCol::Total, 7);
  plu_.KeyDown(GridKey::Enter);
  EXPECT_EQ(plu_.Current(), (CellPos{PluCol::Alcohol, 7}));
  plu_.KeyDown(GridKey::Enter);
  EXPECT_EQ(plu_.Current(), (CellPos{PluCol::Barcode, 8}));
}

TEST_F(GridEditModelTest, KeyFilterHonoursTheLimitUnlessTextIsSelected) {
  dept_.SelectCell(DeptCol::Tax, 1);
  Type(dept_, "10");  // a Tax of 10 cannot be typed
  EXPECT_EQ(tables_.DeptmentGrid.Cell(DeptCol::Tax, 1), "1");
  dept_.SelectInEditor(0, 1);
  EXPECT_TRUE(dept_.KeyPress('0'));  // replaces the selection
  dept_.KeyDown(GridKey::Enter);
  EXPECT_EQ(ui_.Beeps, 1);  // 0 is refused on leaving

  plu_.SelectCell(PluCol::Dept, 1);
  Type(plu_, "1a6");
  EXPECT_EQ(Plu(PluCol::Dept, 1), "16");
  plu_.SelectCell(PluCol::Price, 1);
  Type(plu_, "1.2.3-4-");
  EXPECT_EQ(Plu(PluCol::Price, 1), "1.23-4");
  plu_.SelectCell(PluCol::Name, 1);
  EXPECT_EQ(ui_.Beeps, 2);  // "1.23-4" does not parse
  plu_.KeyDown(GridKey::Escape);
  EXPECT_EQ(Plu(PluCol::Price, 1), "0.00");  // Escape brings the text before typing back
  EXPECT_TRUE(plu_.SelectCell(PluCol::Name, 1));
  Type(plu_, "Bread \xB3\xF3 & more, 18 chars!");
  EXPECT_EQ(Plu(PluCol::Name, 1), "Bread \xB3\xF3 & more, 1");  // 18 characters
  EXPECT_FALSE(plu_.AcceptsKey('x'));
  EXPECT_TRUE(plu_.AcceptsKey('\b'));  // control characters are not filtered
}

TEST_F(GridEditModelTest, AViewWithItsOwnEditorReportsItsState) {
  plu_.SelectCell(PluCol::Barcode, 2);
  EXPECT_FALSE(plu_.AcceptsKey('1'));  // not editing
  plu_.DoubleClick(PluCol::Barcode, 2);
  plu_.SetEditorState("1234567890123", 13, 0);
  EXPECT_EQ(Plu(PluCol::Barcode, 2), "1234567890123");
  EXPECT_FALSE(plu_.AcceptsKey('4'));
  plu_.SetEditorState("1234567890123", 0, 2);
  EXPECT_TRUE(plu_.AcceptsKey('4'));
  EXPECT_FALSE(plu_.AcceptsKey('-'));
}

TEST_F(GridEditModelTest, ClickingTheAlcoholColumnTogglesThatRow) {
  changed_.clear();
  EXPECT_TRUE(plu_.Click(PluCol::Alcohol, 3000));
  EXPECT_TRUE(tables_.AlcoholFlags[2999]);
  EXPECT_TRUE(plu_.AlcoholMark(3000));
  EXPECT_EQ(changed_.back(), (CellRect{PluCol::Alcohol, 3000, PluCol::Alcohol, 3000}));
  plu_.Click(PluCol::Alcohol, 3000);
  EXPECT_FALSE(tables_.AlcoholFlags[2999]);
  EXPECT_EQ(Plu(PluCol::Alcohol, 3000), "0");  // the hidden text is untouched

  plu_.DoubleClick(PluCol::Alcohol, 3000);  // no editing in this column
  EXPECT_FALSE(plu_.Editing());

  plu_.SelectCell(PluCol::Dept, 5);
  Type(plu_, "0");
  EXPECT_FALSE(plu_.Click(PluCol::Alcohol, 5));  // the refused cell blocks the click
  EXPECT_FALSE(tables_.AlcoholFlags[4]);
  EXPECT_EQ(modified_, 1);
}

TEST_F(GridEditModelTest, DeleteResetsTheSelectedRectangleAndMarksTheDataModified) {
  for (int row = 1; row <= 3; ++row) {
    tables_.PLUGrid.SetCell(PluCol::Name, row, "Item");
    tables_.PLUGrid.SetCell(PluCol::Price, row, "9.99");
    tables_.PLUGrid.SetCell(PluCol::Dept, row, "5");
  }
  plu_.Click(PluCol::Name, 1);
  plu_.Click(PluCol::Price, 2, Extend::Yes);
  plu_.KeyDown(GridKey::Down, Extend::Yes);
  EXPECT_EQ(plu_.Selection(), (CellRect{PluCol::Name, 1, PluCol::Price, 3}));
  plu_.KeyDown(GridKey::Delete);
  for (int row = 1; row <= 3; ++row) {
    EXPECT_EQ(Plu(PluCol::Name, row), "");
    EXPECT_EQ(Plu(PluCol::Price, row), "0.00");
    EXPECT_EQ(Plu(PluCol::Dept, row), "5");
  }
  EXPECT_EQ(modified_, 1) << "emptied cells differ from the file";
  plu_.KeyDown(GridKey::Delete);
  EXPECT_EQ(modified_, 1) << "cells already at their defaults change nothing";
  plu_.KeyDown(GridKey::Left);
  EXPECT_EQ(plu_.Selection(), (CellRect{PluCol::Name, 3, PluCol::Name, 3}));
}

TEST_F(GridEditModelTest, DeleteInsideTheEditorEditsTheText) {
  plu_.SelectCell(PluCol::Name, 1);
  Type(plu_, "abc");
  plu_.KeyDown(GridKey::Home);
  plu_.KeyDown(GridKey::Delete);
  plu_.KeyDown(GridKey::Right);
  plu_.KeyPress('X');
  EXPECT_EQ(Plu(PluCol::Name, 1), "bXc");
  EXPECT_EQ(Plu(PluCol::Price, 1), "0.00");
}

TEST_F(GridEditModelTest, MovedRowsTakeTheirCellsButNotTheirAlcoholMarks) {
  tables_.PLUGrid.SetCell(PluCol::Name, 2, "Two");
  tables_.PLUGrid.SetCell(PluCol::Name, 5, "Five");
  tables_.AlcoholFlags[1] = true;
  plu_.SelectCell(PluCol::Name, 2);
  EXPECT_TRUE(plu_.MoveRow(2, 5));
  EXPECT_EQ(Plu(PluCol::Name, 5), "Two");
  EXPECT_EQ(Plu(PluCol::Name, 4), "Five");
  EXPECT_TRUE(tables_.AlcoholFlags[1]);
  EXPECT_FALSE(tables_.AlcoholFlags[4]);
  EXPECT_EQ(plu_.Current(), (CellPos{PluCol::Name, 5}));  // the cursor follows its row
  EXPECT_EQ(modified_, 1) << "the rows' numbers changed";
  EXPECT_FALSE(plu_.MoveRow(0, 3));
  EXPECT_FALSE(plu_.MoveRow(1, 3001));

  Type(plu_, "Five");
  tables_.EcrPluCount = 10;
  EXPECT_FALSE(plu_.MoveRow(1, 2));  // a repeated name is not carried off
  EXPECT_EQ(ui_.Messages.back(), "PLU name repeat: No. 5 and No. 4");
}

TEST_F(GridEditModelTest, ValidateActiveWithoutAFocusedTableAccepts) {
  tables_.PLUGrid.SetCell(PluCol::Dept, 1, "99");  // a bad value read from a file
  EXPECT_TRUE(ValidateActive(nullptr));
  plu_.SelectCell(PluCol::Dept, 1);
  EXPECT_FALSE(ValidateActive(&plu_));
  EXPECT_TRUE(plu_.Editing());  // back in edit mode with the text selected
  EXPECT_TRUE(plu_.Editor().HasSelection());
  EXPECT_TRUE(plu_.KeyPress('3'));
  EXPECT_TRUE(ValidateActive(&plu_));
  EXPECT_EQ(Plu(PluCol::Dept, 1), "3");
}

TEST_F(GridEditModelTest, ResizedTablesKeepTheCursorInside) {
  plu_.SelectCell(PluCol::Name, 3000);
  Type(plu_, "x");
  EcrProfile small = test::DefaultProfile();
  small.PluCount = 10;
  SizeTables(tables_, small);
  plu_.TablesReplaced();
  EXPECT_FALSE(plu_.Editing());
  EXPECT_EQ(plu_.Current(), (CellPos{PluCol::Name, 10}));
  plu_.KeyDown(GridKey::PageDown);
  EXPECT_EQ(plu_.Current().Row, 10);
  plu_.KeyDown(GridKey::Home);
  EXPECT_EQ(plu_.Current(), (CellPos{PluCol::Barcode, 10}));
}

TEST(GridEditModelSeparatorTest, CommaLocaleTypesAndNormalisesWithComma) {
  Tables tables;
  test::PrepareTables(tables, ',');
  test::RecordingUiPort ui;
  GridEditModel plu(tables, GridId::Plu, ui, ',');
  plu.SelectCell(PluCol::Stocks, 1);
  for (char ch : std::string("-1.5,25,"))
    plu.KeyPress(ch);
  EXPECT_EQ(tables.PLUGrid.Cell(PluCol::Stocks, 1), "-15,25");
  plu.KeyDown(GridKey::Enter);
  EXPECT_EQ(tables.PLUGrid.Cell(PluCol::Stocks, 1), "-15,250");
  plu.KeyDown(GridKey::Delete);
  EXPECT_EQ(tables.PLUGrid.Cell(PluCol::Flag, 1), "0");
  plu.SelectCell(PluCol::Price, 1);
  plu.KeyDown(GridKey::Delete);
  EXPECT_EQ(tables.PLUGrid.Cell(PluCol::Price, 1), "0,00");
  EXPECT_EQ(ui.Beeps, 0);
}

}  // namespace
}  // namespace plumgr
