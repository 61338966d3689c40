// Any bytes as a .Key file: loading never crashes, and what a load leaves saves
// and loads back to the same text. The table of the result encodes too.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "hotkey/hotkey_table.h"
#include "hotkey/key_grid.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (char separator : {'.', ','}) {
    plumgr::TMyGrid grid;
    grid.ColCount = 2;
    grid.RowCount = 2;
    grid.SetCount(4);
    (void)grid.LoadFromText(text, separator);
    (void)plumgr::EncodeHotKeyTable(grid);

    std::string saved = grid.SaveToText(separator);
    plumgr::TMyGrid again;
    again.ColCount = 2;
    again.RowCount = 2;
    again.SetCount(4);
    if (!again.LoadFromText(saved, separator)) std::abort();
    if (again.SaveToText(separator) != saved) std::abort();
  }
  return 0;
}
