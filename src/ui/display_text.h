#pragma once
// Cells, names and texts are single-byte code-page strings as the files and the
// register hold them; widgets show Unicode. The conversion happens here, at the
// display boundary, and nowhere else in the views.

#include <QString>
#include <string>

namespace plumgr::ui {

// The bytes, in the code page of the register's text in force, as the text a
// widget shows.
QString DisplayText(const std::string& bytes);

}  // namespace plumgr::ui
