#pragma once
// The header editor ("Header", HeaderFrm): the five receipt header lines and
// their bold switches, Header1..Header5 and HeaderBold1..HeaderBold5 of
// [Default]. A bold line holds half as many characters, so ticking "Bold"
// halves the line's limit for further typing; text already there stays.

#include <array>
#include <cstddef>
#include <string>

#include "app/editor_result.h"
#include "data/file_io.h"
#include "data/settings_keys.h"

namespace plumgr {

class HeaderEditorModel {
 public:
  // header_width: CurrentProfile().HeaderWidth, the characters of a plain line.
  HeaderEditorModel(std::string settings_path, int header_width)
      : path_(std::move(settings_path)), width_(header_width) {}

  // Reads each line's text, then its bold switch (a missing file or key gives
  // an empty, plain line).
  FileResult Load();

  const std::string& Line(int n) const { return lines_.at(n - 1); }  // HeaderEd1..5
  bool Bold(int n) const { return bold_.at(n - 1); }                 // chk1..chk5
  void SetLine(int n, std::string text);
  void SetBold(int n, bool bold);

  // The text limit of HeaderEdn for further typing: the header width, or half
  // of it while the line is bold.
  std::size_t MaxLength(int n) const;
  // Whether typing may add characters to a line that holds `length` now.
  bool AcceptsMore(int n, std::size_t length) const { return length < MaxLength(n); }

  // OK: writes HeaderN and HeaderBoldN for N from 1 to 5.
  EditorResult Save();

 private:
  std::string path_;
  int width_;
  std::array<std::string, kHeaderCount> lines_;
  std::array<bool, kHeaderCount> bold_{};
};

}  // namespace plumgr
