// plumgr-cli export and print: the PLU table of a data file set saved as a
// spreadsheet or printed as plain text.

#include <CLI/CLI.hpp>

#include <QGuiApplication>

#include <cstdlib>
#include <iostream>
#include <memory>

#include "cli/cli_context.h"
#include "cli/command_result.h"
#include "cli/gui_application.h"
#include "cli/set_files.h"
#include "data/data_file_format.h"
#include "data/definitions.h"
#include "data/file_io.h"
#include "data/helpers.h"
#include "data/tables.h"
#include "output/plu_report.h"
#include "output/print_queue.h"
#include "output/table_print.h"
#include "output/text_printer.h"

namespace plumgr::cli {

namespace {

struct ExportArgs {
  std::string Set;
  std::string Out;
  std::string Settings;
};

struct PrintArgs {
  std::string Set;
  std::string Output;
  std::string Settings;
};

// Only the PLU table is needed; its text is in the set's code page, which
// becomes the one in force for the output.
StringGrid ReadPluTable(const std::string& set, const std::string& settings) {
  Tables tables;
  ReadSetTables(WithPluExtension(set), settings, LocaleDecimalSeparator(), tables);
  return std::move(tables.PLUGrid);
}

// As "Report Save As...": a name without an extension gets ".xls"; ".xlsx"
// and ".csv" choose their formats, any other name is a .xls workbook.
int RunExport(const ExportArgs& args) {
  StringGrid plu = ReadPluTable(args.Set, args.Settings);
  TOLEExcel excel;
  excel.SetCodePage(UpperHalfInForce());
  std::string saved_as;
  FileResult saved = SavePluReport(excel, plu, Texts().PluTitles.Entries, args.Out, &saved_as);
  if (!saved) throw UsageError{saved.Message};
  SetSummary("Saved the PLU table to " + saved_as);
  return kSuccess;
}

constexpr const char* kPrintJobName = "PLU table";

// Printing draws with fonts, which needs a GUI application. The spooler gets
// the page images as PDF, so Polish letters print whatever the printer's fonts.
PdfDocument PrintAsPdf(const std::vector<std::string>& lines) {
  std::unique_ptr<QGuiApplication> app = StartGuiApplication();
  return TextLinesAsPdf(lines, UpperHalfInForce(), kPrintJobName);
}

int PrintOnPrinter(const std::vector<std::string>& lines) {
  PdfDocument document = PrintAsPdf(lines);
  PrintResult printed = document.Result;
  if (printed) printed = SubmitToPrintQueue(document.Bytes, kPrintJobName);
  if (!printed) {
    std::cerr << "plumgr-cli: " << printed.Message << "\n";
    NoteError(printed.Message);
    return kFailed;
  }
  SetSummary("Printed " + std::to_string(lines.size()) + " PLU rows");
  return kSuccess;
}

// FILE.pdf receives the printed pages; any other name the text itself.
int PrintToFile(const StringGrid& plu, const std::string& path) {
  std::string bytes;
  if (LowerExtension(path) == ".pdf") {
    PdfDocument document = PrintAsPdf(PluPrintLines(plu));
    if (!document.Result) {
      std::cerr << "plumgr-cli: " << path << ": " << document.Result.Message << "\n";
      NoteError(path + ": " + document.Result.Message);
      return kFailed;
    }
    bytes = std::move(document.Bytes);
  } else {
    bytes = PluPrintText(plu);
  }
  FileResult written = ReplaceFile(path, bytes);
  if (!written) throw UsageError{written.Message};
  return kSuccess;
}

int RunPrint(const PrintArgs& args) {
  StringGrid plu = ReadPluTable(args.Set, args.Settings);
  if (!args.Output.empty()) return PrintToFile(plu, args.Output);
  return PrintOnPrinter(PluPrintLines(plu));
}

const Registration kOutputCommands([](CLI::App& app, GlobalOptions& options, int* exit_code) {
  auto export_args = std::make_shared<ExportArgs>();
  CLI::App* export_cmd = app.add_subcommand(
      "export",
      "save the PLU table of a data file set as a spreadsheet: OUT.xlsx and OUT.csv in their "
      "formats, any other name a .xls workbook (\".xls\" is added to a name without an "
      "extension)");
  export_cmd->add_option("SET", export_args->Set, "the set's .PLU file")->required();
  export_cmd->add_option("OUT", export_args->Out, "the spreadsheet to write")->required();
  export_cmd->callback([export_args, &options, exit_code] {
    export_args->Settings = options.Settings;
    *exit_code = RunExport(*export_args);
  });

  auto print_args = std::make_shared<PrintArgs>();
  CLI::App* print_cmd = app.add_subcommand(
      "print", "print the used PLU rows of a data file set as plain text on the default printer");
  print_cmd->add_option("SET", print_args->Set, "the set's .PLU file")->required();
  print_cmd->add_option("--output", print_args->Output,
                        "print into FILE instead: FILE.pdf gets the printed pages, any other "
                        "name the text (CR LF line ends)");
  print_cmd->callback([print_args, &options, exit_code] {
    print_args->Settings = options.Settings;
    *exit_code = RunPrint(*print_args);
  });
});

}  // namespace

}  // namespace plumgr::cli
