#pragma once
// New, Open, Save and Save As on the main window's state, with the save prompt.
// File names come through the UI port's file dialogs.

#include <string>

#include "app/main_window_state.h"
#include "data/file_io.h"

namespace plumgr {

inline constexpr const char* kSavePrompt = "File has not been saved,save it now?";

// Before New, Open, an upload and closing the program: true when the command
// may go on. Yes goes on only when the set was written, so a Save As that is
// cancelled or fails keeps the edits and stops the command.
bool ConfirmSave(MainWindowState& state);

// Every alcohol mark cleared, both tables at their defaults, untitled, not modified.
void ClearAll(MainWindowState& state);

// The data file set of the state's tables under a name, and back. Errors are
// returned, not shown.
FileResult SaveSetAs(MainWindowState& state, const std::string& name);
FileResult LoadSetFrom(MainWindowState& state, const std::string& name);

// The commands; each shows its own errors through the UI port. Save and Save As
// return whether the set was written.
void NewCommand(MainWindowState& state);
void OpenCommand(MainWindowState& state);
bool SaveCommand(MainWindowState& state);
bool SaveAsCommand(MainWindowState& state);

// Saves under a name as Save As does after its dialog: CurrentFileName, the set,
// the caption. The command line uses it with a name from its arguments.
bool SaveAsName(MainWindowState& state, const std::string& name);
// Opens a name as Open does after its dialog (no save prompt).
bool OpenName(MainWindowState& state, const std::string& name);

}  // namespace plumgr
