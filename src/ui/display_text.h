#pragma once
// Cells, names and texts are single-byte code-page strings as the files and the
// register hold them; widgets show Unicode. The conversion happens here, at the
// display boundary, and nowhere else in the views.

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "data/code_page.h"

namespace plumgr::ui {

// The bytes, in the code page of the register's text in force, as the text a
// widget shows.
QString DisplayText(const std::string& bytes);

// The bytes, in the code page of the register's text in force, of a text typed
// into a widget; nothing when a character has no byte in that code page (it is
// never stored as '?').
std::optional<std::string> StoredText(const QString& text);

// The program's own texts (the language file's captions, titles and progress
// texts), which are Windows-1250 whatever code page the register's text is in.
QString InterfaceText(const std::string& bytes);

// Entry `at` of a title table (column titles, kind names) as the program's own
// text; empty past the table's end.
QString TitleText(const std::vector<std::string>& titles, std::size_t at);

// The name of a code page ("Windows-1250", "CP852", "Mazovia").
QString CodePageText(CodePageId page);

}  // namespace plumgr::ui
