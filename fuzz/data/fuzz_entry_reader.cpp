// The fast-sale and recycling entry readers on arbitrary bytes; what they read
// must write and read back to the same entries.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/data_file_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);

  plumgr::RecyclingTable recycling = plumgr::InitialRecyclingTable(',');
  plumgr::ReadRecycling(text, recycling);
  plumgr::RecyclingTable recycling_again = plumgr::InitialRecyclingTable('.');
  plumgr::ReadRecycling(plumgr::FormatRecycling(recycling), recycling_again);
  for (int i = 0; i < plumgr::kRecyclingUsedEntries; ++i)
    if (recycling[i].Number != recycling_again[i].Number ||
        recycling[i].PackagePrice != recycling_again[i].PackagePrice)
      __builtin_trap();

  plumgr::FastSaleTable signs = plumgr::InitialFastSaleTable();
  plumgr::EntryReadResult result = plumgr::ReadFastSale(text, signs);
  if (!result.Ok && (result.Line < 1 || result.Message.empty())) __builtin_trap();
  plumgr::FastSaleTable signs_again = plumgr::InitialFastSaleTable();
  if (!plumgr::ReadFastSale(plumgr::FormatFastSale(signs), signs_again).Ok) __builtin_trap();
  for (int i = 0; i < plumgr::kFastSaleButtons; ++i)
    if (signs[i].Barcode != signs_again[i].Barcode || signs[i].SignFlag != signs_again[i].SignFlag)
      __builtin_trap();
  return 0;
}
