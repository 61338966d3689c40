#pragma once
// "Convert set": the code page a set is in and the one to rewrite it into.

#include <optional>

#include "data/code_page.h"

class QWidget;

namespace plumgr::ui {

// The code page chosen for the set, other than `from`; nothing on Cancel.
std::optional<CodePageId> ChooseConversionPage(QWidget* parent, CodePageId from);

}  // namespace plumgr::ui
