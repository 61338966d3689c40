#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "data/code_page.h"
#include "hotkey/key_cell_painter.h"
#include "hotkey/support/key_test_support.h"

namespace plumgr {
namespace {

constexpr WinRect kCell{0, 0, 80, 60};

struct Canvas {
  QImage image{80, 60, QImage::Format_RGB32};
  Canvas() { image.fill(QColor(1, 2, 3)); }
};

KeyDrawContext Context() {
  KeyDrawContext context;
  context.Palette = QGuiApplication::palette();
  return context;
}

int DarkPixels(const QImage& image, QRect area) {
  int dark = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (qGray(image.pixel(x, y)) < 100) ++dark;
  return dark;
}

TEST(KeyCellGeometryTest, UnselectedSplitKeyInAnEightyBySixtyCell) {
  TMyGrid grid;
  test::ShapeGrid(grid, 120);
  grid.Items(0).CenterLine = true;
  KeyCellGeometry g = CellGeometry(grid, grid.Items(0), kCell, false);
  EXPECT_EQ(g.Key, (WinRect{2, 2, 78, 58}));
  EXPECT_EQ(g.Key.Width(), 76);
  EXPECT_EQ(g.Key.Height(), 56);
  EXPECT_EQ(g.Mid, 30);
  EXPECT_EQ(g.LineLeft, 4);
  EXPECT_EQ(g.LineRight, 76);
  EXPECT_EQ(g.Level1, (WinRect{2, 2, 78, 30}));
  EXPECT_EQ(g.Level2, (WinRect{2, 30, 78, 58}));

  grid.Centershort = 5;
  grid.Items(0).CenterLine = false;
  g = CellGeometry(grid, grid.Items(0), kCell, true);
  EXPECT_EQ(g.Key, (WinRect{1, 1, 79, 59}));
  EXPECT_EQ(g.Mid, 25);
  EXPECT_EQ(g.Level1, g.Key);
}

TEST(KeyCellPainterTest, DrawingRecordsSelectionIndexesAndRegions) {
  TMyGrid grid;
  test::ShapeGrid(grid, 120);
  TGridList& key = grid.Items(7);  // column 1, row 1
  key.CenterLine = true;
  Canvas canvas;
  QPainter painter(&canvas.image);
  WinRect cell{80, 60, 160, 120};
  DrawKeyCell(grid, painter, 1, 1, cell, {true, false}, Context());
  EXPECT_TRUE(key.Selected);
  EXPECT_EQ(grid.SelectGridItem(), &key);
  EXPECT_EQ(key.fs1Btn().Dindex, 7);
  EXPECT_EQ(key.sc2Btn().Dindex, 67);
  EXPECT_EQ(key.fs1Btn().DrawnRect, (WinRect{81, 61, 159, 90}));
  EXPECT_EQ(key.sc2Btn().DrawnRect, (WinRect{81, 90, 159, 119}));
  DrawKeyCell(grid, painter, 1, 1, cell, {false, false}, Context());
  EXPECT_FALSE(key.Selected);
  EXPECT_EQ(grid.SelectItemCount(), 0);
}

TEST(KeyCellPainterTest, CellWithoutAKeyIsNotDrawn) {
  TMyGrid grid;
  grid.ColCount = 6;
  grid.RowCount = 10;
  grid.SetCount(3);
  Canvas canvas;
  QImage before = canvas.image;
  QPainter painter(&canvas.image);
  DrawKeyCell(grid, painter, 3, 0, kCell, {true, true}, Context());
  painter.end();
  EXPECT_EQ(canvas.image, before);
}

TEST(KeyCellPainterTest, FillsTheKeyWithTheLevelBackground) {
  TMyGrid grid;
  test::ShapeGrid(grid, 120);
  TGridList& key = grid.Items(0);
  key.CenterLine = true;
  key.fs1Btn().Background = RgbColor(255, 0, 0);
  key.sc2Btn().Background = RgbColor(0, 0, 255);
  Canvas canvas;
  QPainter painter(&canvas.image);
  DrawKeyCell(grid, painter, 0, 0, kCell, {}, Context());
  painter.end();
  EXPECT_EQ(canvas.image.pixelColor(40, 15), QColor(255, 0, 0));
  EXPECT_EQ(canvas.image.pixelColor(40, 45), QColor(0, 0, 255));
  // The dividing line in the olive outline colour.
  EXPECT_EQ(canvas.image.pixelColor(40, 30), QColor(0x80, 0x80, 0));
}

TEST(KeyCellPainterTest, BottomRightCaptionGoesToTheBottomRightCorner) {
  TMyGrid grid;
  test::ShapeGrid(grid, 120);
  TGridList& key = grid.Items(0);
  key.fs1Btn().Background = RgbColor(255, 255, 255);
  key.sc2Btn().Background = RgbColor(255, 255, 255);
  key.ShowLBCaption = true;
  key.BLCaption = "W";
  key.ShowLBFont.Color = kClBlack;
  key.ShowLBFont.Size = 10;
  Canvas canvas;
  QPainter painter(&canvas.image);
  DrawKeyCell(grid, painter, 0, 0, kCell, {}, Context());
  painter.end();
  EXPECT_GT(DarkPixels(canvas.image, QRect(45, 35, 30, 20)), 5);
  EXPECT_EQ(DarkPixels(canvas.image, QRect(5, 35, 30, 20)), 0);
}

TEST(KeyCellPainterTest, LabelIsCentredInItsRegion) {
  TMyGrid grid;
  test::ShapeGrid(grid, 120);
  TGridList& key = grid.Items(0);
  key.fs1Btn().Background = RgbColor(255, 255, 255);
  key.fs1Btn().Caption = "  I  ";
  key.fs1Btn().Font.Color = kClBlack;
  key.fs1Btn().Font.Size = 12;
  Canvas canvas;
  QPainter painter(&canvas.image);
  DrawKeyCell(grid, painter, 0, 0, kCell, {}, Context());
  painter.end();
  EXPECT_GT(DarkPixels(canvas.image, QRect(30, 20, 20, 20)), 5);
  EXPECT_EQ(DarkPixels(canvas.image, QRect(5, 5, 20, 12)), 0);
}

TEST(KeyCellPainterTest, PictureReplacesTheTextsOnlyWhenTheGridShowsPictures) {
  test::ScratchDir dir;
  QImage green(8, 8, QImage::Format_RGB32);
  green.fill(Qt::green);
  ASSERT_TRUE(green.save(QString::fromStdString(dir.Path("g.png"))));
  TMyGrid grid;
  test::ShapeGrid(grid, 120);
  TGridList& key = grid.Items(0);
  key.SetImagefile(dir.Path("g.png"));
  key.UseImage = true;
  key.fs1Btn().Background = RgbColor(255, 0, 0);
  for (bool shown : {false, true}) {
    grid.Isdisplayimage = shown;
    Canvas canvas;
    QPainter painter(&canvas.image);
    DrawKeyCell(grid, painter, 0, 0, kCell, {}, Context());
    painter.end();
    EXPECT_EQ(canvas.image.pixelColor(40, 30), shown ? QColor(Qt::green) : QColor(255, 0, 0));
  }
}

TEST(ItemLabelTest, PriceFollowsOnASecondLine) {
  TGridItem item;
  item.Caption = "Cola";
  item.Functionname = "PLU";
  item.Price = 1.5;
  EXPECT_EQ(ItemLabel(item, false, false, "zl", '.'), "Cola");
  EXPECT_EQ(ItemLabel(item, false, true, "zl", ','), "Cola\r\nzl1,5");
  EXPECT_EQ(ItemLabel(item, true, true, "zl", '.'), "PLU");
  item.Price = 12;
  EXPECT_EQ(ItemLabel(item, false, true, "$", '.'), "Cola\r\n$12");
  item.Price = 0;
  EXPECT_EQ(ItemLabel(item, false, true, "$", '.'), "Cola");
}

TEST(KeyDrawContextTest, CaptionsAreReadInTheRegistersCodePageInForce) {
  EXPECT_EQ(KeyDrawContext().Decode("Pi\xb9tek"), QString::fromUtf8("Pi\u0105tek"));
  SetCodePageInForce(CodePageId::Cp852);
  EXPECT_EQ(KeyDrawContext().Decode("Pi\xa5tek"), QString::fromUtf8("Pi\u0105tek"));
  SetCodePageInForce(CodePageId::Windows1250);
}

TEST(ResolveColorTest, SystemColoursComeFromThePalette) {
  QPalette palette;
  palette.setColor(QPalette::Base, QColor(1, 1, 1));
  palette.setColor(QPalette::Text, QColor(2, 2, 2));
  palette.setColor(QPalette::Button, QColor(3, 3, 3));
  EXPECT_EQ(ResolveColor(kClWindow, palette), QColor(1, 1, 1));
  EXPECT_EQ(ResolveColor(kClWindowText, palette), QColor(2, 2, 2));
  EXPECT_EQ(ResolveColor(kClBtnFace, palette), QColor(3, 3, 3));
  EXPECT_EQ(ResolveColor(0x0000FF, palette), QColor(255, 0, 0));
  EXPECT_EQ(ResolveColor(kClLightBlue, palette), QColor(0xA6, 0xCA, 0xF0));
}

}  // namespace
}  // namespace plumgr
