#pragma once
// "Print...": the PLU table as plain text on a printer the operator picks in the
// system's print dialog (a queue or a PDF file).

#include <string>

#include "data/string_grid.h"

class QPrinter;
class QWidget;

namespace plumgr {
class MainWindowState;
}

namespace plumgr::ui {

void PrintItemClick(QWidget* parent, MainWindowState& state);

// Prints the table's lines on a printer already chosen; a failure is shown in a
// message box over parent. True when the printer took the job.
bool PrintPluTable(QWidget* parent, QPrinter& printer, const StringGrid& plu);

// A failed job in a message box over parent: the destination (the PDF file or
// the queue) and why.
void ShowPrintError(QWidget* parent, const QPrinter& printer, const std::string& message);

}  // namespace plumgr::ui
