#pragma once
// Every window and component whose texts the interface language file may
// replace, with its built-in caption and hint. The views give their widgets
// these names (objectName) and texts, and the shipped language files name only
// what is listed here, so the three cannot drift apart.

#include <string>
#include <string_view>
#include <vector>

namespace plumgr {

struct KnownComponent {
  std::string Name;
  std::string Caption;  // empty: the component shows no text the file may replace
  std::string Hint;
};

struct KnownWindow {
  std::string Name;     // the language file's section
  std::string Caption;  // empty: the caption is set at run time
  std::vector<KnownComponent> Components;
};

// The windows in the order the program creates them.
const std::vector<KnownWindow>& KnownWindows();

// Exact names (the file itself matches sections and keys without regard to
// case; the shipped files and the views use these spellings).
const KnownWindow* FindKnownWindow(std::string_view window);
const KnownComponent* FindKnownComponent(std::string_view window, std::string_view component);

}  // namespace plumgr
