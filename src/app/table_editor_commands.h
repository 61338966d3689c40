#pragma once
// The OK of the recycling and fast-sale editors on the main window's state.
// Their tables are saved in the data file set (.RCY, .Sign), so a confirmed
// change marks the set as modified: the save prompt of New, Open and closing
// then keeps it from being lost.

#include "app/editor_result.h"
#include "app/fast_sale_editor_model.h"
#include "app/main_window_state.h"
#include "app/recycling_editor_model.h"

namespace plumgr {

EditorResult StoreRecyclingEdit(RecyclingEditorModel& editor, MainWindowState& state);
// The fast-sale OK refused because the buttons were replaced since the window
// showed them; the window then shows the buttons the set holds now.
inline constexpr const char* kFastSaleReplaced =
    "The fast sale buttons were replaced while this window was open (New, Open, Upload or the "
    "test data). The window now shows them as they are; enter your changes again.";

EditorResult StoreFastSaleEdit(const FastSaleEditorModel& editor, MainWindowState& state);

}  // namespace plumgr
