// plumgr-cli hotkey-encode and hotkey-sheet: a hot-key layout (.Key file) turned
// into the register's hot-key table or drawn as a key sheet to scale.

#include <CLI/CLI.hpp>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>

#include "cli/cli_context.h"
#include "cli/command_result.h"
#include "cli/gui_application.h"
#include "data/app_paths.h"
#include "data/definitions.h"
#include "data/file_io.h"
#include "data/helpers.h"
#include "data/settings_keys.h"
#include "data/settings_location.h"
#include "hotkey/hotkey_table.h"
#include "hotkey/key_grid.h"
#include "hotkey/sheet_painter.h"

namespace plumgr::cli {

namespace {

constexpr int kPdfResolution = 1200;

struct HotkeyArgs {
  std::string Layout;
  std::string Out;
  int Keyboard = 0;  // 0: the current profile's
  int Dpi = 300;
  std::string Frame = "null";
};

// What start-up takes from the settings file for a layout: the code page its
// captions are written in and, unless --keyboard names one, the keyboard of the
// register model. Returns the keyboard type.
int ApplyLayoutSettings(const HotkeyArgs& args, const GlobalOptions& options) {
  IniReadResult read = SettingsFile(SettingsFilePath(options.Settings)).Read();
  Settings settings(read.Document, LocaleDecimalSeparator());
  const CodePageSetting page = settings.CodePage();
  if (!page.Warning.empty()) std::cerr << "plumgr-cli: " << page.Warning << "\n";
  SetCodePageInForce(page.Page);
  if (args.Keyboard != 0) return args.Keyboard;
  const ServiceModel model = ModelForService(settings.Service());
  if (!model.Warning.empty()) std::cerr << "plumgr-cli: " << model.Warning << "\n";
  SelectProfile(model.Model);
  return CurrentProfile().KeyboardType;
}

// The grid as the editor builds it for the keyboard, with the layout loaded.
void LoadLayout(TMyGrid& grid, int keyboard_type, const std::string& layout) {
  ShapeKeyGrid(grid, keyboard_type);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(layout, ec)) {
    FileReadResult missing = ReadFileBytes(layout);
    throw UsageError{missing.Message.empty() ? "\"" + layout + "\" is not a file"
                                             : missing.Message};
  }
  KeyResult loaded = grid.LoadFromFile(layout, LocaleDecimalSeparator());
  if (!loaded) throw UsageError{layout + ": " + loaded.Message};
}

void WriteOrThrow(const std::string& path, std::string_view bytes) {
  FileResult written = ReplaceFile(path, bytes);
  if (!written) throw UsageError{written.Message};
}

int RunEncode(const HotkeyArgs& args, const GlobalOptions& options) {
  TMyGrid grid;
  LoadLayout(grid, ApplyLayoutSettings(args, options), args.Layout);
  HotKeyTableResult encoded = EncodeHotKeyTable(grid);
  if (!encoded.Ok) throw UsageError{args.Layout + ": " + encoded.Message};
  const HotKeyTable& table = encoded.Table;
  WriteOrThrow(args.Out,
               std::string_view(reinterpret_cast<const char*>(table.data()), table.size()));
  std::string dump_dir = options.DumpDir.empty() ? DefaultDumpDir() : options.DumpDir;
  KeyResult dumped = WriteHotKeyDump(table, dump_dir);
  if (!dumped) throw UsageError{dumped.Message};
  SetSummary("Wrote the hot-key table (" + std::to_string(table.size()) + " bytes) to " + args.Out +
             " and " + HotKeyDumpPath(dump_dir));
  return kSuccess;
}

QByteArray SheetAsPdf(TmyPaintBox& box) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setResolution(kPdfResolution);
  // The sheet is measured from the paper's edge, as the register's templates are.
  writer.setPageLayout(
      QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
  writer.setTitle(QStringLiteral("Hot-key sheet"));
  QPainter painter(&writer);
  box.DrawSheets(painter, 1, 0);
  painter.end();
  return bytes;
}

QByteArray SheetAsPng(TmyPaintBox& box, int dpi) {
  box.SetResolution(dpi, dpi);
  // The sheet with the same margin on the right and at the bottom as at the left and top.
  int width = box.X(box.SheetL * 2 + box.SheetW);
  int height = box.Y(box.SheetT * 2 + box.SheetH);
  QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
  image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254 + 0.5));
  image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254 + 0.5));
  image.fill(Qt::white);
  QPainter painter(&image);
  box.DrawSheets(painter, 1, 0);
  painter.end();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

int RunSheet(const HotkeyArgs& args, const GlobalOptions& options) {
  std::string extension = LowerExtension(args.Out);
  if (extension != ".pdf" && extension != ".png")
    throw UsageError{"\"" + args.Out + "\": the output file must end in .pdf or .png"};
  if (args.Dpi < 10 || args.Dpi > 2400)
    throw UsageError{"--dpi must be between 10 and 2400 pixels per inch"};
  static const std::map<std::string, THotkeyFrame> frames = {
      {"null", hfNull}, {"ftp", hfFtp}, {"scale224", hfScale224Key}};
  int keyboard_type = ApplyLayoutSettings(args, options);
  TMyGrid grid;
  LoadLayout(grid, keyboard_type, args.Layout);

  std::unique_ptr<QGuiApplication> app = StartGuiApplication();
  TmyPaintBox box;
  box.SetMyGrid(&grid);
  ApplyPreviewGeometry(box, keyboard_type);
  box.HotkeyFrame = frames.at(args.Frame);
  box.Context.Palette = QGuiApplication::palette();
  TakeLocaleNotation(box.Context);

  QByteArray bytes = extension == ".pdf" ? SheetAsPdf(box) : SheetAsPng(box, args.Dpi);
  if (bytes.isEmpty()) throw UsageError{"\"" + args.Out + "\": the sheet could not be drawn"};
  WriteOrThrow(args.Out, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  SetSummary("Drew the key sheet to " + args.Out);
  return kSuccess;
}

void AddCommonOptions(CLI::App* command, HotkeyArgs& args) {
  command->add_option("LAYOUT", args.Layout, "the hot-key layout (.Key file)")->required();
  command
      ->add_option("--keyboard", args.Keyboard,
                   "120 (6 x 10 keys) or 160 (10 x 8 keys); default: the current profile's")
      ->check(CLI::IsMember({120, 160}));
}

const Registration kHotkeyCommands([](CLI::App& app, GlobalOptions& options, int* exit_code) {
  auto encode_args = std::make_shared<HotkeyArgs>();
  CLI::App* encode = app.add_subcommand(
      "hotkey-encode", "encode a hot-key layout into the register's hot-key table");
  AddCommonOptions(encode, *encode_args);
  encode->add_option("OUT", encode_args->Out, "the file for the table's bytes")->required();
  encode->callback(
      [encode_args, &options, exit_code] { *exit_code = RunEncode(*encode_args, options); });

  auto sheet_args = std::make_shared<HotkeyArgs>();
  CLI::App* sheet =
      app.add_subcommand("hotkey-sheet", "draw the key sheet of a hot-key layout to scale");
  AddCommonOptions(sheet, *sheet_args);
  sheet->add_option("OUT", sheet_args->Out, "the sheet, a .pdf or a .png file")->required();
  sheet->add_option("--dpi", sheet_args->Dpi, "pixels per inch of a .png sheet (default 300)");
  sheet
      ->add_option("--frame", sheet_args->Frame, "the sheet's frame: null (default), ftp, scale224")
      ->check(CLI::IsMember({"null", "ftp", "scale224"}));
  sheet->callback(
      [sheet_args, &options, exit_code] { *exit_code = RunSheet(*sheet_args, options); });
});

}  // namespace

}  // namespace plumgr::cli
