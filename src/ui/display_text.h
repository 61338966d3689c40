#pragma once
// Cells, names and texts are single-byte code-page strings as the files and the
// register hold them; widgets show Unicode. The conversion happens here, at the
// display boundary, and nowhere else in the views.

#include <QString>
#include <string>

namespace plumgr::ui {

// The Windows-1250 bytes as the text a widget shows.
QString DisplayText(const std::string& bytes);

}  // namespace plumgr::ui
