#include <gtest/gtest.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include "hotkey/sheet_painter.h"
#include "hotkey/support/key_test_support.h"

namespace plumgr {
namespace {

QImage Paper(int dpi, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.setDotsPerMeterX(qRound(dpi / 0.0254));
  image.setDotsPerMeterY(qRound(dpi / 0.0254));
  image.fill(Qt::white);
  return image;
}

class SheetTest : public testing::Test {
 protected:
  void SetUp() override {
    test::ShapeGrid(grid_, 160);
    box_.SetMyGrid(&grid_);
    ApplyPreviewGeometry(box_, 160);
    box_.Context.Palette = QGuiApplication::palette();
  }
  TMyGrid grid_;
  TmyPaintBox box_;
};

TEST(MillimetresToPixelsTest, KeyAndFrameSizes) {
  EXPECT_EQ(MillimetresToPixels(17.6, 96), 67);
  EXPECT_EQ(MillimetresToPixels(14.8, 96), 56);
  EXPECT_EQ(MillimetresToPixels(182.1, 96), 688);
  EXPECT_EQ(MillimetresToPixels(122.5, 96), 463);
  EXPECT_EQ(MillimetresToPixels(17.6, 600), 416);
  EXPECT_EQ(MillimetresToPixels(14.8, 600), 350);
  // Half an inch is exactly 2.5 pixels at 5 ppi and 3.5 at 7: halves go to the even neighbour.
  EXPECT_EQ(MillimetresToPixels(12.7, 5), 2);
  EXPECT_EQ(MillimetresToPixels(12.7, 7), 4);
}

TEST(PreviewGeometryTest, BothKeyboards) {
  PreviewGeometry wide = PreviewGeometryFor(160);
  EXPECT_DOUBLE_EQ(wide.IconL, 12.75);
  EXPECT_DOUBLE_EQ(wide.IconT, 12.1);
  EXPECT_EQ(wide.WindowWidth, 759);
  PreviewGeometry tall = PreviewGeometryFor(120);
  EXPECT_DOUBLE_EQ(tall.SheetW, 97.0);
  EXPECT_DOUBLE_EQ(tall.IconL, 15.305);
  EXPECT_DOUBLE_EQ(tall.IconH, 11.092);
  EXPECT_EQ(tall.WindowWidth, 420);
  EXPECT_DOUBLE_EQ(PreviewGeometryFor(0).SheetH, 119.8);
}

TEST_F(SheetTest, KeysAndFrameAtNinetySixPixelsPerInch) {
  QImage paper = Paper(96, {800, 560});
  QPainter painter(&paper);
  box_.DrawSheets(painter, 1, 0);
  painter.end();
  EXPECT_EQ(box_.Rows(), 8);
  EXPECT_EQ(box_.Cols(), 10);
  EXPECT_EQ(box_.FrameHeight(), 463);
  WinRect k = box_.KeyRect(0, 0, 0, 0);
  EXPECT_EQ(k, (WinRect{48, 46, 48 + 67, 46 + 56}));
  EXPECT_EQ(box_.X(box_.SheetW), 688);
  // The frame's left edge is at 10 mm (38 px), its top-left corner rounded.
  EXPECT_EQ(paper.pixelColor(38, 200), QColor(Qt::black));
  EXPECT_EQ(paper.pixelColor(38 + 688 - 1, 200), QColor(Qt::black));
  EXPECT_EQ(paper.pixelColor(38, 38), QColor(Qt::white));
}

TEST_F(SheetTest, KeySizeAtSixHundredPixelsPerInch) {
  QImage paper = Paper(600, {100, 100});
  QPainter painter(&paper);
  box_.DrawSheets(painter, 1, 0);
  painter.end();
  WinRect k = box_.KeyRect(0, 2, 3, 0);
  EXPECT_EQ(k.Width(), 416);
  EXPECT_EQ(k.Height(), 350);
  EXPECT_EQ(k.Left, MillimetresToPixels(17.6 * 3 + 12.75, 600));
  EXPECT_EQ(box_.FrameHeight(), MillimetresToPixels(122.5, 600));
}

TEST_F(SheetTest, SplitKeyGetsADividingLineOnlyWithACaption) {
  box_.FrameLine = false;
  TGridList& key = grid_.Items(0);
  key.CenterLine = true;
  key.fs1Btn().Background = RgbColor(255, 0, 0);
  key.sc2Btn().Background = RgbColor(0, 0, 255);
  for (bool captioned : {false, true}) {
    key.sc2Btn().Caption = captioned ? "." : "";
    QImage paper = Paper(96, {200, 200});
    QPainter painter(&paper);
    box_.DrawSheets(painter, 1, 0);
    painter.end();
    WinRect k = box_.KeyRect(0, 0, 0, 0);
    int mid = (k.Bottom - k.Top) / 2 + k.Top;
    EXPECT_EQ(paper.pixelColor(k.Left + 20, mid),
              captioned ? QColor(Qt::black) : QColor(Qt::white));
    EXPECT_EQ(paper.pixelColor(k.Left + 20, k.Top + 3), QColor(255, 0, 0));
    EXPECT_EQ(paper.pixelColor(k.Left + 20, k.Bottom - 3), QColor(0, 0, 255));
  }
}

TEST_F(SheetTest, PicturePrintsEvenWhenTheGridHidesPictures) {
  TGridList& key = grid_.Items(11);
  test::ScratchDir dir;
  QImage green(4, 4, QImage::Format_RGB32);
  green.fill(Qt::green);
  ASSERT_TRUE(green.save(QString::fromStdString(dir.Path("g.png"))));
  key.SetImagefile(dir.Path("g.png"));
  key.UseImage = true;
  grid_.Isdisplayimage = false;
  QImage paper = Paper(96, {800, 560});
  QPainter painter(&paper);
  box_.DrawSheets(painter, 1, 0);
  painter.end();
  WinRect k = box_.KeyRect(0, 1, 1, 0);
  EXPECT_EQ(paper.pixelColor(k.Left + 30, k.Top + 25), QColor(Qt::green));
}

TEST_F(SheetTest, FrameShapes) {
  QImage paper = Paper(96, {900, 700});
  QPainter painter(&paper);
  box_.SetResolution(96, 96);
  box_.HotkeyFrame = hfFtp;
  box_.DrawFrame(painter, 0);
  EXPECT_EQ(box_.FrameHeight(), MillimetresToPixels(122.5 + 18, 96));
  box_.HotkeyFrame = hfScale224Key;
  box_.DrawFrame(painter, 0);
  EXPECT_EQ(box_.FrameHeight(), MillimetresToPixels(122.5 + 18, 96));  // unchanged
  box_.FrameLine = false;
  box_.HotkeyFrame = hfNull;
  box_.DrawFrame(painter, 0);
  EXPECT_EQ(box_.FrameHeight(), MillimetresToPixels(122.5 + 18, 96));  // nothing drawn
}

TEST_F(SheetTest, LaterSheetsMoveKeysAndFramesTogether) {
  QImage paper = Paper(96, {800, 1200});
  QPainter painter(&paper);
  box_.DrawSheets(painter, 2, 7);
  painter.end();
  int pitch = 463 + 100 + 7;
  EXPECT_EQ(box_.KeyRect(1, 0, 0, 7).Top, box_.KeyRect(0, 0, 0, 7).Top + pitch);
  EXPECT_EQ(paper.pixelColor(38, 200 + pitch), QColor(Qt::black));
}

TEST_F(SheetTest, PrintsLandscapeOnTheChosenDevice) {
  EXPECT_FALSE(box_.Print(true, 1));  // no dialog: nothing printed
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  box_.PrintDialog = [] { return nullptr; };
  EXPECT_FALSE(box_.Print(true, 1));
  EXPECT_TRUE(bytes.isEmpty());
  box_.PrintDialog = [&writer]() -> QPagedPaintDevice* { return &writer; };
  grid_.Items(0).fs1Btn().Caption = "Cola";
  ASSERT_TRUE(box_.Print(true, 1));
  EXPECT_EQ(writer.pageLayout().orientation(), QPageLayout::Landscape);
  EXPECT_TRUE(bytes.startsWith("%PDF"));
}

}  // namespace
}  // namespace plumgr
