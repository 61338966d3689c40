#include "hotkey/support/key_test_support.h"

#include <fstream>
#include <random>
#include <sstream>

namespace plumgr::test {

void ShapeGrid(TMyGrid& grid, int keyboard_type) {
  ShapeKeyGrid(grid, keyboard_type);
}

ScratchDir::ScratchDir() {
  std::random_device random;
  dir_ = std::filesystem::temp_directory_path() /
         ("hotkey_test_" + std::to_string(random()) + std::to_string(random()));
  std::filesystem::create_directories(dir_);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return fields;
}

}  // namespace plumgr::test
