#include "app/table_editor_commands.h"

namespace plumgr {

EditorResult StoreRecyclingEdit(RecyclingEditorModel& editor, MainWindowState& state) {
  const RecyclingTable before = state.Recycling();
  EditorResult stored = editor.Store(state.Recycling());
  if (stored && before != state.Recycling()) state.SetModified(true);
  return stored;
}

EditorResult StoreFastSaleEdit(const FastSaleEditorModel& editor, MainWindowState& state) {
  // The window stays open beside the main window, where New, Open, an upload or
  // the test data may replace the buttons: its edit of the old ones must not
  // overwrite them.
  if (editor.Shown() != state.FastSale()) return EditorResult::Refused(kFastSaleReplaced);
  const FastSaleTable before = state.FastSale();
  EditorResult stored = editor.Store(state.FastSale());
  if (stored && before != state.FastSale()) state.SetModified(true);
  return stored;
}

}  // namespace plumgr
