#pragma once
// Writing what an upload read into its data file set.

#include <string>

#include "app/main_window_state.h"
#include "data/file_io.h"
#include "transfer/plu_packages.h"

namespace plumgr::cli {

// What the upload covered.
struct UploadedParts {
  unsigned Files = 0;        // the set's files to write (SetFile bits)
  bool PluUploaded = false;  // the PLU kind was among the kinds
  PluRange Range;
};

// Writes the files the upload names, and only those. When the PLU kind read
// part of the table into an existing set, the rows outside the range keep what
// the set's .PLU held, so a narrow range never empties the rest of the file.
FileResult SaveUploadedSet(MainWindowState& state, const std::string& plu_file,
                           const UploadedParts& parts);

}  // namespace plumgr::cli
