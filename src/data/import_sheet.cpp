#include "data/import_sheet.h"

namespace plumgr {

std::string ColumnLetters(std::size_t col) {
  std::string letters;
  for (std::size_t n = col + 1; n > 0; n = (n - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  return letters;
}

}  // namespace plumgr
