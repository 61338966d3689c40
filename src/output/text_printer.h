#pragma once
// A plain-text print job: the lines one below the other in a fixed-pitch font,
// tabs at every eighth character, a new page when the next line no longer fits.
// Paints on any paged device (a printer queue or a PDF writer); needs a
// QGuiApplication.

#include <QString>

#include <string>
#include <vector>

#include "data/code_page.h"

class QPagedPaintDevice;
class QPainter;

namespace plumgr {

struct [[nodiscard]] PrintResult {
  bool Ok = true;
  std::string Message;  // the printing system's message when Ok is false
  int Pages = 0;
  explicit operator bool() const { return Ok; }
};

// Lays the lines out on the painter's device and draws them a page at a time:
// the font fitted to the widest line, each tab moved to the next multiple of eight
// characters, a line still too wide wrapped rather than cut off.
class TextPages {
 public:
  TextPages(QPainter& painter, const std::vector<std::string>& lines,
            const CodePageUpperHalf& code_page);
  bool AtEnd() const { return next_ == texts_.size(); }
  // Draws from the next line on while the lines fit (at least one, so every page advances).
  void DrawPage();

 private:
  QPainter& painter_;
  std::vector<QString> texts_;
  size_t next_ = 0;
};

// Prints on a device the caller has set up. A failure message names no device:
// the caller knows which printer or file it is.
PrintResult PrintTextLines(QPagedPaintDevice& device, const std::vector<std::string>& lines,
                           const CodePageUpperHalf& code_page);

// The lines printed into a PDF document on A4 paper.
struct [[nodiscard]] PdfDocument {
  PrintResult Result;
  std::string Bytes;
};
PdfDocument TextLinesAsPdf(const std::vector<std::string>& lines,
                           const CodePageUpperHalf& code_page, const std::string& title);

}  // namespace plumgr
