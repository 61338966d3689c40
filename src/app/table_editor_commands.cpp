#include "app/table_editor_commands.h"

namespace plumgr {
namespace {

bool SameRecycling(const RecyclingTable& a, const RecyclingTable& b) {
  for (int i = 0; i < kRecyclingUsedEntries; ++i)
    if (a[i].Number != b[i].Number || a[i].PackagePrice != b[i].PackagePrice) return false;
  return true;
}

bool SameFastSale(const FastSaleTable& a, const FastSaleTable& b) {
  for (int i = 0; i < kFastSaleButtons; ++i)
    if (a[i].ButtonNumber != b[i].ButtonNumber || a[i].Barcode != b[i].Barcode ||
        a[i].SignFlag != b[i].SignFlag)
      return false;
  return true;
}

}  // namespace

EditorResult StoreRecyclingEdit(RecyclingEditorModel& editor, MainWindowState& state) {
  const RecyclingTable before = state.Recycling();
  EditorResult stored = editor.Store(state.Recycling());
  if (stored && !SameRecycling(before, state.Recycling())) state.SetModified(true);
  return stored;
}

EditorResult StoreFastSaleEdit(const FastSaleEditorModel& editor, MainWindowState& state) {
  const FastSaleTable before = state.FastSale();
  EditorResult stored = editor.Store(state.FastSale());
  if (stored && !SameFastSale(before, state.FastSale())) state.SetModified(true);
  return stored;
}

}  // namespace plumgr
