#include "output/text_printer.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextOption>

#include <algorithm>

namespace plumgr {

namespace {

constexpr int kTabWidth = 8;
constexpr qreal kPointSize = 10;
// Below this size a line is wrapped rather than made smaller still.
constexpr qreal kSmallestPointSize = 6;
constexpr qreal kPdfMarginMm = 15;

PrintResult Failed(std::string message) {
  return PrintResult{false, std::move(message), 0};
}

QString ToQString(const std::string& bytes, const CodePageUpperHalf& code_page) {
  std::u16string text = DecodeCodePage(bytes, code_page);
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// The line as a text device shows it: each tab moves to the next multiple of
// eight characters. Expanded here because Qt scales a QTextOption's tab stops by
// the device's resolution, which on a 1200 dpi printer pushed every cell after the
// Barcode off the page. The text is one byte a character.
std::string ExpandTabs(const std::string& line) {
  std::string expanded;
  for (char c : line) {
    if (c != '\t') {
      expanded.push_back(c);
      continue;
    }
    expanded.append(kTabWidth - expanded.size() % kTabWidth, ' ');
  }
  return expanded;
}

// The fixed-pitch font at the size that lets the widest line fit the page, so
// that the last cells of a row are not cut off at the right margin. One named
// face, which every Qt installation brings, so that a table breaks into the
// same pages on every machine; the desktop's own monospace face only where
// that one is missing.
//
// A size's glyphs are rounded to the device's pixels, so a line measured at one
// size may not scale exactly: the width is measured again at the size chosen,
// and a line still a hair too wide would wrap its last character onto a line of
// its own.
QFont FittingFont(QPaintDevice& device, const std::vector<QString>& texts) {
  QFont font(QStringLiteral("DejaVu Sans Mono"));
  if (!QFontDatabase::hasFamily(font.family()))
    font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSizeF(kPointSize);
  const QString* widest = nullptr;
  for (const QString& text : texts)
    if (widest == nullptr || text.size() > widest->size()) widest = &text;
  if (widest == nullptr) return font;
  for (int attempt = 0; attempt < 4; ++attempt) {
    const qreal needed = QFontMetricsF(font, &device).horizontalAdvance(*widest);
    if (needed <= device.width() || font.pointSizeF() <= kSmallestPointSize) break;
    const qreal size = font.pointSizeF() * device.width() / needed;
    // Each pass takes a little more off, so that rounding cannot keep it too wide.
    font.setPointSizeF(std::max(kSmallestPointSize, size * (1 - 0.002 * (attempt + 1))));
  }
  return font;
}

QTextOption LineOption() {
  QTextOption option(Qt::AlignLeft | Qt::AlignTop);
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  return option;
}

}  // namespace

TextPages::TextPages(QPainter& painter, const std::vector<std::string>& lines,
                     const CodePageUpperHalf& code_page)
    : painter_(painter) {
  texts_.reserve(lines.size());
  for (const std::string& line : lines)
    texts_.push_back(ToQString(ExpandTabs(line), code_page));
  painter_.setFont(FittingFont(*painter_.device(), texts_));
}

void TextPages::DrawPage() {
  const QRectF page(0, 0, painter_.device()->width(), painter_.device()->height());
  const QTextOption option = LineOption();
  const qreal line_spacing = QFontMetricsF(painter_.font(), painter_.device()).lineSpacing();
  qreal y = 0;
  for (; next_ < texts_.size(); ++next_) {
    const QString& text = texts_[next_];
    const qreal height = std::max(line_spacing, painter_.boundingRect(page, text, option).height());
    if (y > 0 && y + height > page.height()) return;
    painter_.drawText(QRectF(0, y, page.width(), height), text, option);
    y += height;
  }
}

PrintResult PrintTextLines(QPagedPaintDevice& device, const std::vector<std::string>& lines,
                           const CodePageUpperHalf& code_page) {
  QPainter painter;
  if (!painter.begin(&device)) return Failed("The print job could not be started");
  TextPages pages(painter, lines, code_page);
  int count = 1;
  pages.DrawPage();
  while (!pages.AtEnd()) {
    if (!device.newPage()) {
      painter.end();
      return Failed("The printer did not take a new page");
    }
    ++count;
    pages.DrawPage();
  }
  if (!painter.end()) return Failed("The print job could not be finished");
  return PrintResult{true, {}, count};
}

PdfDocument TextLinesAsPdf(const std::vector<std::string>& lines,
                           const CodePageUpperHalf& code_page, const std::string& title) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  PdfDocument document;
  {
    QPdfWriter writer(&buffer);
    writer.setTitle(QString::fromStdString(title));
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                    QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm, kPdfMarginMm),
                    QPageLayout::Millimeter));
    document.Result = PrintTextLines(writer, lines, code_page);
  }
  if (document.Result) document.Bytes.assign(bytes.constData(), bytes.size());
  return document;
}

}  // namespace plumgr
