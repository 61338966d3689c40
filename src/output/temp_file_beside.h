#pragma once
// A new file is written under a temporary name beside its target and renamed over
// it only when complete, so a failed export never leaves a half-written file.
// This is for writers that need a path of their own (libxlsxwriter); bytes held
// in memory go through ReplaceFile of data/file_io.h.

#include <string>
#include <string_view>

#include "data/file_io.h"

namespace plumgr {

class TempFileBeside {
 public:
  TempFileBeside() = default;
  TempFileBeside(const TempFileBeside&) = delete;
  TempFileBeside& operator=(const TempFileBeside&) = delete;
  ~TempFileBeside();  // removes the temporary file unless it was committed

  // Creates an empty temporary file in the target's directory.
  FileResult Create(const std::string& target);
  const std::string& Path() const { return temp_; }
  const std::string& Target() const { return target_; }

  // Writes all bytes to the temporary file.
  FileResult Write(std::string_view bytes);
  // Flushes the temporary file to disk and renames it over the target.
  FileResult Commit();

 private:
  FileResult Failure(int error) const;
  void Discard();
  void KeepTargetMode();

  std::string target_;
  std::string temp_;
  int fd_ = -1;
};

}  // namespace plumgr
