#include "app/header_editor_model.h"

#include "data/ini_file.h"
#include "data/settings_location.h"

namespace plumgr {

FileResult HeaderEditorModel::Load() {
  IniReadResult read = SettingsFile(path_).Read();
  // The separator plays no part in the header keys.
  const Settings settings(read.Document, '.');
  for (int n = 1; n <= kHeaderCount; ++n) {
    lines_[n - 1] = settings.Header(n);
    bold_[n - 1] = settings.HeaderBold(n);
  }
  if (!read.Ok) return FileResult::Failure(read.Message);
  return FileResult::Success();
}

void HeaderEditorModel::SetLine(int n, std::string text) {
  if (n >= 1 && n <= kHeaderCount) lines_[n - 1] = std::move(text);
}

void HeaderEditorModel::SetBold(int n, bool bold) {
  if (n >= 1 && n <= kHeaderCount) bold_[n - 1] = bold;
}

std::size_t HeaderEditorModel::MaxLength(int n) const {
  const int width = width_ > 0 ? width_ : 0;
  return static_cast<std::size_t>(Bold(n) ? width / 2 : width);
}

EditorResult HeaderEditorModel::Save() {
  FileResult written = SettingsFile(path_).Update([&](IniDocument& document) {
    Settings settings(document, '.');
    for (int n = 1; n <= kHeaderCount; ++n) {
      settings.SetHeader(n, lines_[n - 1]);
      settings.SetHeaderBold(n, bold_[n - 1]);
    }
  });
  if (!written) return EditorResult::Refused(written.Message);
  return EditorResult::Stored();
}

}  // namespace plumgr
