// plumgr-cli download and upload: a data file set to the register and back.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>

#include "app/file_commands.h"
#include "app/transfer_commands.h"
#include "cli/cli_context.h"
#include "cli/link_session.h"
#include "cli/progress_views.h"
#include "data/helpers.h"

namespace plumgr::cli {
namespace {

// The command line's kind names, in the order of the kinds' bits.
const std::vector<std::string> kDownloadKindWords = {"plu", "department", "recycling", "parameter",
                                                     "vat", "fastsale",   "header"};
const std::vector<std::string> kUploadKindWords = {"plu", "department", "recycling", "fastsale",
                                                   "parameter"};

struct TransferArguments {
  std::string Set;
  std::string Kinds;  // empty: every kind
  bool KindsGiven = false;
  std::string From = "1";
  std::string To = std::to_string(kDefaultRangeEnd);
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::uint8_t ParseKinds(const TransferArguments& args, const std::vector<std::string>& words) {
  if (!args.KindsGiven) return static_cast<std::uint8_t>((1u << words.size()) - 1);
  std::vector<std::string> items;
  SplitText(args.Kinds, ",", items);
  std::uint8_t kinds = 0;
  for (const std::string& item : items) {
    if (item.empty()) continue;
    auto found = std::find(words.begin(), words.end(), Lower(item));
    if (found == words.end()) {
      std::string known;
      for (const std::string& word : words)
        known += (known.empty() ? "" : ", ") + word;
      throw UsageError{"unknown kind \"" + item + "\": use " + known};
    }
    kinds |= KindBit(static_cast<int>(found - words.begin()));
  }
  return kinds;
}

// The dialog's check: both ends whole numbers within 1 to 10000, To not less
// than From.
std::optional<PluRange> ParseRange(const TransferArguments& args) {
  std::optional<std::int64_t> from = ParseWholeNumber(args.From);
  std::optional<std::int64_t> to = ParseWholeNumber(args.To);
  if (!from || !to || *from < 1 || *to > kMaxPluNumber || *from > kMaxPluNumber || *to < 1)
    return std::nullopt;
  if (!IsValidPluRange(static_cast<int>(*from), static_cast<int>(*to))) return std::nullopt;
  return PluRange{static_cast<int>(*from), static_cast<int>(*to)};
}

// The file dialogs add the extension "PLU" to a name typed without one.
std::string WithPluExtension(const std::string& name) {
  return std::filesystem::path(name).has_extension() ? name : name + ".PLU";
}

void SetUpCommands(TransferCommands& commands, LinkSession& session, bool json) {
  commands.SetBusPreparer([&session] { session.PrepareBus(); });
  // A script cannot look at the report: it is told where the report is.
  commands.SetFileOpener([json](const std::string& path) {
    if (json)
      std::cout << "{\"event\":\"report\",\"path\":" << JsonQuote(path) << "}\n";
    else
      std::cout << path << "\n";
  });
  commands.SetWarningSink(
      [](const std::string& message) { std::cerr << "plumgr-cli: " << message << "\n"; });
}

int DownloadCommand(const GlobalOptions& options, const TransferArguments& args) {
  const std::uint8_t kinds = ParseKinds(args, kDownloadKindWords);
  const std::optional<PluRange> range = ParseRange(args);
  if (!range) {
    std::cerr << kInvalidPluRange << "\n";
    return kUsage;
  }
  LinkSession session(options);
  // The message naming the file has been printed.
  if (!OpenName(session.State(), WithPluExtension(args.Set))) return kUsage;
  TransferCommands commands(session.State(), session.Bus(), session.Progress());
  SetUpCommands(commands, session, options.Json);
  commands.Driver().DownloadKinds = kinds;
  commands.SetDownloadRange(*range);
  const bool ok = commands.RunDownload();
  session.WriteTrace();
  return ok ? kSuccess : kFailed;
}

int UploadCommand(const GlobalOptions& options, const TransferArguments& args) {
  const std::uint8_t kinds = ParseKinds(args, kUploadKindWords);
  const std::optional<PluRange> range = ParseRange(args);
  if (!range) {
    std::cerr << kInvalidPluRange << "\n";
    return kUsage;
  }
  const std::string set = WithPluExtension(args.Set);
  // What the register sends would be lost if the set could not be written
  // afterwards, so a missing folder is refused before the transfer.
  std::filesystem::path folder = std::filesystem::path(set).parent_path();
  if (folder.empty()) folder = ".";
  if (!std::filesystem::is_directory(folder))
    throw UsageError{"Cannot write \"" + set + "\": the folder does not exist"};
  LinkSession session(options);
  TransferCommands commands(session.State(), session.Bus(), session.Progress());
  SetUpCommands(commands, session, options.Json);
  commands.Driver().UploadKinds = kinds;
  commands.SetUploadRange(*range);
  const bool ok = commands.RunUpload();
  session.WriteTrace();
  if (!ok) return kFailed;
  // The message naming the file has been printed.
  if (!SaveAsName(session.State(), set)) return kUsage;
  return kSuccess;
}

void AddTransferOptions(CLI::App* command, TransferArguments& args, const std::string& kinds) {
  command->add_option("SET", args.Set, "the data file set (name.PLU)")->required();
  command->add_option("--kinds", args.Kinds, "comma list of " + kinds + " (default: all)")
      ->each([&args](const std::string&) { args.KindsGiven = true; });
  command->add_option("--from", args.From, "first PLU number (default 1)");
  command->add_option("--to", args.To, "last PLU number (default 10)");
}

const Registration kRegistration([](CLI::App& app, GlobalOptions& options, int* exit_code) {
  auto down = std::make_shared<TransferArguments>();
  CLI::App* download = app.add_subcommand(
      "download", "open SET as \"Open\" does and download it to the register (\"Download data\")");
  AddTransferOptions(download, *down,
                     "plu, department, recycling, parameter, vat, fastsale, header");
  download->callback([&options, down, exit_code] { *exit_code = DownloadCommand(options, *down); });

  auto up = std::make_shared<TransferArguments>();
  CLI::App* upload = app.add_subcommand(
      "upload",
      "upload from the register (\"Upload data\") and save it as SET as \"Save As\" does");
  AddTransferOptions(upload, *up, "plu, department, recycling, fastsale, parameter");
  upload->callback([&options, up, exit_code] { *exit_code = UploadCommand(options, *up); });
});

}  // namespace
}  // namespace plumgr::cli
