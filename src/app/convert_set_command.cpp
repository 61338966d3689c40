#include "app/convert_set_command.h"

#include <filesystem>

#include "app/file_commands.h"
#include "app/import_model.h"
#include "data/data_file_text.h"
#include "data/set_code_page.h"

namespace plumgr {
namespace {

constexpr std::size_t kRefusalsShown = 15;

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return !a.empty() && !b.empty() && std::filesystem::equivalent(a, b, ec);
}

}  // namespace

std::string ConversionRefusalText(const std::vector<ConversionRefusal>& refused, CodePageId to,
                                  std::size_t shown) {
  std::string text;
  for (std::size_t i = 0; i < refused.size() && i < shown; ++i) {
    const ConversionRefusal& r = refused[i];
    text += std::filesystem::path(r.File).filename().string() + ", line " + std::to_string(r.Line);
    if (r.Field > 0) text += ", column " + std::to_string(r.Field);
    if (!r.Key.empty()) text += " (" + r.Key + ")";
    text += ": " + DescribeCharacter(r.Character) + " is not in " + std::string(CodePageName(to)) +
            "\n";
  }
  if (refused.size() > shown)
    text += "... and " + std::to_string(refused.size() - shown) + " more\n";
  return text;
}

bool ConvertSetCommand(MainWindowState& state, const CodePageChoice& choose) {
  if (!ConfirmSave(state)) return false;
  const std::optional<std::string> set = state.Ui().ChooseOpenFile(FileDialogOptions{});
  if (!set) return false;
  const CodePageId from = CodePageOfSet(*set, CodePageInForce()).Page;
  const std::optional<CodePageId> to = choose(from);
  if (!to || *to == from) return false;
  const SetConversionResult converted = ConvertSet(*set, from, *to);
  if (!converted.Refused.empty()) {
    state.Ui().ShowError(Counted(static_cast<int>(converted.Refused.size()), "character") +
                         " cannot be held in " + std::string(CodePageName(*to)) +
                         "; no file was converted:\n\n" +
                         ConversionRefusalText(converted.Refused, *to, kRefusalsShown));
    return false;
  }
  if (!converted.Ok) {
    state.Ui().ShowError(converted.Message);
    return false;
  }
  if (SameFile(*set, state.CurrentFileName())) OpenName(state, *set);
  state.Ui().ShowMessage(
      "Converted " + Counted(static_cast<int>(converted.Written.size()), "file") + " of " + *set +
      " from " + std::string(CodePageName(from)) + " to " + std::string(CodePageName(*to)) + ".");
  return true;
}

}  // namespace plumgr
