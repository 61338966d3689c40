#include "output/text_printer.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextOption>

namespace plumgr {

namespace {

PrintResult Failed(std::string message) {
  return PrintResult{false, std::move(message), 0};
}

QString ToQString(const std::string& bytes, const CodePageUpperHalf& code_page) {
  std::u16string text = DecodeCodePage(bytes, code_page);
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::string PrinterStateMessage(const QPrinter& printer) {
  std::string name = printer.printerName().toStdString();
  if (printer.outputFormat() == QPrinter::PdfFormat) name = printer.outputFileName().toStdString();
  return "The printer \"" + name + "\" could not take the job";
}

}  // namespace

PrintResult PrintTextLines(QPrinter& printer, const std::vector<std::string>& lines,
                           const CodePageUpperHalf& code_page) {
  QPainter painter;
  if (!painter.begin(&printer)) return Failed(PrinterStateMessage(printer));
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(10);
  painter.setFont(font);
  QFontMetricsF metrics(font, &printer);
  const qreal line_height = metrics.lineSpacing();
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution()).toRectF();
  QTextOption option(Qt::AlignLeft | Qt::AlignTop);
  option.setWrapMode(QTextOption::NoWrap);
  option.setTabStopDistance(8 * metrics.horizontalAdvance(QLatin1Char(' ')));

  int pages = 1;
  qreal y = 0;
  for (const std::string& line : lines) {
    if (y > 0 && y + line_height > page.height()) {
      if (!printer.newPage()) {
        painter.end();
        return Failed(PrinterStateMessage(printer));
      }
      ++pages;
      y = 0;
    }
    painter.drawText(QRectF(0, y, page.width(), line_height), ToQString(line, code_page), option);
    y += line_height;
  }
  if (!painter.end() || printer.printerState() == QPrinter::Error)
    return Failed(PrinterStateMessage(printer));
  return PrintResult{true, {}, pages};
}

PrintResult PrintOnDefaultPrinter(const std::vector<std::string>& lines,
                                  const CodePageUpperHalf& code_page, const std::string& job_name) {
  QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) {
    if (QPrinterInfo::availablePrinterNames().isEmpty())
      return Failed("No printer is installed (is the printing service running?)");
    return Failed("No default printer is set");
  }
  QPrinter printer(info, QPrinter::HighResolution);
  printer.setDocName(QString::fromStdString(job_name));
  return PrintTextLines(printer, lines, code_page);
}

}  // namespace plumgr
