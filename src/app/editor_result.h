#pragma once
// What an editor's OK comes to: stored, or refused with the text the operator
// is shown and the field to put the focus on (its objectName), so the dialog
// stays open for a correction. A settings file that cannot be written is
// refused too, with the file's message, and nothing is reported as saved.

#include <string>

namespace plumgr {

struct [[nodiscard]] EditorResult {
  bool Ok = true;
  std::string Message;
  std::string Field;  // empty when no one field is at fault

  static EditorResult Stored() { return {}; }
  static EditorResult Refused(std::string message, std::string field = {}) {
    return {false, std::move(message), std::move(field)};
  }
  explicit operator bool() const { return Ok; }
};

}  // namespace plumgr
