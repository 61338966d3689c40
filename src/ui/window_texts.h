#pragma once
// The interface language file on the windows. A window registers itself once
// its widgets hold their built-in texts; the main window's first showing
// applies the file (ApplyLanguage) to every registered window by objectName,
// to the title tables and to the progress texts. The windows built on first
// use register after that and take the same texts at once, as if they had
// existed at the showing.
//
// What a component's texts are: the caption of a window is its title; of a
// label, button or check box its text; of a group box or menu its title; of a
// toolbar its window title; of a tab page its tab's text; of a menu or toolbar
// action its text ("-" for a separator) with its status tip as the hint; of any
// other widget nothing, and its tool tip is the hint. Edit fields hold data,
// never a built-in text, so they are not looked up. A toolbar button shows
// its action, which carries the texts.

#include "data/language_file.h"

class QWidget;

namespace plumgr::ui {

// The one call a window makes, at the end of its construction: its objectName
// is its section of the file.
void RegisterLanguageWindow(QWidget* window);

// Applies the file to every registered window, the title tables and the
// progress texts; windows registered from now on take it at once.
void ApplyLanguageToWindows(const LanguageFile& file);

// Windows registered from now on keep their built-in texts (a new main window
// starts again from them).
void ForgetLanguage();

// The texts of one window (not of the windows it owns) through the lookup.
void ApplyWindowTexts(QWidget* window, const TextLookup& lookup);

}  // namespace plumgr::ui
