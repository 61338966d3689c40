#pragma once
// A plain-text print job: the lines one below the other in a fixed-pitch font,
// tabs at every eighth character, a new page when the next line no longer fits.
// Needs a QGuiApplication.

#include <string>
#include <vector>

#include "data/code_page.h"

class QPrinter;

namespace plumgr {

struct [[nodiscard]] PrintResult {
  bool Ok = true;
  std::string Message;  // the printing system's message when Ok is false
  int Pages = 0;
  explicit operator bool() const { return Ok; }
};

// Prints on a printer the caller has set up (a queue or a PDF file).
PrintResult PrintTextLines(QPrinter& printer, const std::vector<std::string>& lines,
                           const CodePageUpperHalf& code_page);

// Prints on the default printer, without a dialog.
PrintResult PrintOnDefaultPrinter(const std::vector<std::string>& lines,
                                  const CodePageUpperHalf& code_page, const std::string& job_name);

}  // namespace plumgr
