#pragma once
// Helpers shared by the hot-key tests: grids of the editor's sizes and files in a
// scratch directory.

#include <filesystem>
#include <string>
#include <vector>

#include "hotkey/key_grid.h"

namespace plumgr::test {

// A grid as the editor builds it: 6 x 10 keys for keyboard 120, 10 x 8 for 160.
void ShapeGrid(TMyGrid& grid, int keyboard_type);

// A directory of its own for one test, removed at the end.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

 private:
  std::filesystem::path dir_;
};

std::string ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::string& bytes);
// The tab-separated fields of one line.
std::vector<std::string> Fields(const std::string& line);

}  // namespace plumgr::test
