#pragma once
// What every benchmark may share: a scratch folder of its own, the median of
// its runs, and a full PLU table to time work on.

#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "data/string_grid.h"

namespace plumgr::bench {

// A new folder under TMPDIR (or /tmp), removed with everything in it at the end.
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      std::exit(1);
    }
    path_ = pattern;
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // A file in the folder.
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

// A PLU table of `rows` used rows as a shop keeps them: Polish names, each
// distinct, 13-digit barcodes, prices, departments 1 to 16, stock, every cell
// one the cell rules accept (with '.' as the decimal separator).
inline StringGrid FullPluGrid(int rows = 3000) {
  const char* names[] = {"Chleb \xBFytni",
                         "Mas\xB3o ekstra",
                         "\x8Cled\x9F w oleju",
                         "\xAFurek",
                         "G\xEA\x9C w\xEA"
                         "dzona",
                         "\xA3oso\x9C"};
  StringGrid grid(10, rows + 1);
  for (int n = 1; n <= rows; ++n) {
    grid.SetCell(1, n, std::to_string(5900000000000LL + n));
    grid.SetCell(2, n, std::string(names[n % 6]) + " " + std::to_string(n));
    grid.SetCell(3, n, std::to_string(n % 400) + ".99");
    grid.SetCell(4, n, std::to_string(n % 16 + 1));
    grid.SetCell(5, n, std::to_string(n % 50) + ".000");
    for (int c = 6; c <= 9; ++c)
      grid.SetCell(c, n, "0");
  }
  return grid;
}

}  // namespace plumgr::bench
