#pragma once
// The system's print spooler reached through its `lp` command: a finished
// document goes to the default destination (or the one $PRINTER names), so the
// command line prints without the desktop's print support.

#include <string>

#include "output/text_printer.h"

namespace plumgr {

// Hands the document to `lp` on its standard input and waits for the spooler to
// take it. A refusal carries lp's own message ("lp: Error - No default destination.").
PrintResult SubmitToPrintQueue(const std::string& document, const std::string& job_name);

}  // namespace plumgr
