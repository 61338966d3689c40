#pragma once
// Opens a file the program has written for the operator to read (the memory
// dump's listing): the desktop hands it to the default application, the
// command line prints its path.

#include <string>

namespace plumgr {

class FileOpener {
 public:
  virtual ~FileOpener() = default;
  // Must not wait for the application it starts.
  virtual void OpenFile(const std::string& path) = 0;
};

}  // namespace plumgr
