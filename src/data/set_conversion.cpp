#include "data/set_conversion.h"

#include "data/data_file_set.h"
#include "data/data_file_text.h"
#include "data/helpers.h"
#include "data/ini_document.h"
#include "data/settings_keys.h"

namespace plumgr {
namespace {

// Where a byte stands: line and tab-separated field, counted from 1.
class TextPosition {
 public:
  void Step(std::string_view bytes, std::size_t i) {
    const char c = bytes[i];
    if (c == '\n' && i > 0 && bytes[i - 1] == '\r') return;
    if (c == '\n' || c == '\r') {
      ++line_;
      field_ = 1;
      line_start_ = i + 1;
    } else if (c == '\t') {
      ++field_;
    }
  }
  int Line() const { return line_; }
  int Field() const { return field_; }
  std::size_t LineStart() const { return line_start_; }

 private:
  int line_ = 1;
  int field_ = 1;
  std::size_t line_start_ = 0;
};

// The key of the INI line that starts at `start`: the text before '=', trimmed.
std::string KeyOfLine(std::string_view bytes, std::size_t start) {
  const std::size_t end = bytes.find_first_of("=\r\n", start);
  return std::string(TrimSpacesAndTabs(
      bytes.substr(start, (end == std::string_view::npos ? bytes.size() : end) - start)));
}

struct ConvertedFile {
  SetFile File;
  std::string Path;
  std::string Bytes;
};

}  // namespace

std::string ConvertText(std::string_view bytes, const CodePageUpperHalf& from,
                        const CodePageUpperHalf& to, const std::string& file, bool settings_file,
                        std::vector<ConversionRefusal>& refused) {
  std::string out;
  out.reserve(bytes.size());
  TextPosition position;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto value = static_cast<unsigned char>(bytes[i]);
    if (value < 0x80) {
      out.push_back(bytes[i]);
      position.Step(bytes, i);
      continue;
    }
    const char16_t character = from[value - 0x80];
    if (std::optional<std::string> byte = EncodeCodePage(std::u16string_view(&character, 1), to)) {
      out += *byte;
      continue;
    }
    ConversionRefusal refusal{
        file, position.Line(), settings_file ? 0 : position.Field(), {}, character};
    if (settings_file) refusal.Key = KeyOfLine(bytes, position.LineStart());
    refused.push_back(std::move(refusal));
    out.push_back(bytes[i]);
  }
  return out;
}

SetConversionResult ConvertSet(const std::string& plu_file, CodePageId from, CodePageId to) {
  SetConversionResult result;
  std::vector<ConvertedFile> files;
  for (SetFile file :
       {kSetPluFile, kSetSignFile, kSetDeptFile, kSetRecyclingFile, kSetParameterFile}) {
    const std::string path = SetFilePath(plu_file, file);
    FileReadResult read = ReadFileBytes(path);
    if (read.Missing) continue;
    if (!read.Ok) return {false, std::move(read.Message), {}, {}};
    // A table file or .PAR an editor saved as UTF-8 is not in `from`; converting
    // its bytes would garble every letter.
    if ((file == kSetPluFile || file == kSetDeptFile || file == kSetParameterFile) &&
        IsUtf8Text(read.Bytes))
      return {false,
              "\"" + path + "\" is UTF-8 text, not " + std::string(CodePageName(from)) +
                  ": open the set and save it first, then convert it",
              {},
              {}};
    const bool settings_file = file == kSetParameterFile;
    std::string bytes = ConvertText(read.Bytes, UpperHalf(from), UpperHalf(to), path, settings_file,
                                    result.Refused);
    if (settings_file) {
      // Open keeps the settings file when the .PAR holds no settings; a CodePage
      // key written into it would count as settings and wipe all the others.
      IniDocument document = IniDocument::Parse(bytes);
      if (HoldsAnySettingsKey(document)) {
        Settings(document, '.').SetCodePage(to);
        bytes = document.Serialize();
      }
    }
    files.push_back({file, path, std::move(bytes)});
  }
  if (!result.Refused.empty()) {
    result.Ok = false;
    return result;
  }

  // As a save does: every file is written in full before any is replaced.
  std::vector<PendingFile> pending(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    const NewFileAccess access =
        files[i].File == kSetParameterFile ? NewFileAccess::OwnerOnly : NewFileAccess::Shared;
    if (FileResult prepared =
            PendingFile::Prepare(files[i].Path, files[i].Bytes, access, &pending[i]);
        !prepared)
      return {false, std::move(prepared.Message), {}, {}};
  }
  for (const PendingFile& file : pending)
    if (FileResult checked = file.CheckTarget(); !checked)
      return {false, std::move(checked.Message), {}, {}};
  for (std::size_t i = 0; i < pending.size(); ++i) {
    if (FileResult committed = pending[i].Commit(); !committed)
      return {false, std::move(committed.Message), {}, std::move(result.Written)};
    result.Written.push_back(files[i].Path);
  }
  return result;
}

}  // namespace plumgr
