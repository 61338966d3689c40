#include "ui/table_printing.h"

#include <QAbstractPrintDialog>
#include <QApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include <string>

#include "app/main_window_state.h"
#include "data/code_page.h"
#include "output/table_print.h"
#include "output/text_printer.h"

namespace plumgr::ui {

namespace {

constexpr const char* kJobName = "PLU table";

// The destination as the operator chose it: the PDF file or the queue's name.
QString DestinationName(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat) return printer.outputFileName();
  return printer.printerName();
}

}  // namespace

void ShowPrintError(QWidget* parent, const QPrinter& printer, const std::string& message) {
  QMessageBox box(
      QMessageBox::Critical, QStringLiteral("Print"),
      QStringLiteral("\"%1\": %2").arg(DestinationName(printer), QString::fromStdString(message)),
      QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("PrintErrorBox"));
  box.exec();
}

bool PrintPluTable(QWidget* parent, QPrinter& printer, const StringGrid& plu) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  PrintResult printed = PrintTextLines(printer, PluPrintLines(plu), UpperHalfInForce());
  QApplication::restoreOverrideCursor();
  // A queue that refuses the job at its end reports it only through the printer's state.
  if (printed && printer.printerState() == QPrinter::Error)
    printed = PrintResult{false, "The printer did not take the job", 0};
  if (!printed) ShowPrintError(parent, printer, printed.Message);
  return printed.Ok;
}

void PrintItemClick(QWidget* parent, MainWindowState& state) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QString::fromLatin1(kJobName));
  QPrintDialog dialog(&printer, parent);
  dialog.setObjectName(QStringLiteral("PrintDialog"));
  // Every page of the table is printed; a page range would be silently ignored.
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintCollateCopies |
                    QAbstractPrintDialog::PrintShowPageSize);
  if (dialog.exec() != QDialog::Accepted) return;
  PrintPluTable(parent, printer, state.GetTables().PLUGrid);
}

}  // namespace plumgr::ui
