#pragma once
// Typing as an operator does: one key event per character, as a keyboard
// layout with these letters sends them, so the fields' filters see each one.

#include <QString>

class QWidget;

namespace plumgr::test {

// Sends the characters to target, or to the widget with the focus.
void Type(const QString& text, QWidget* target = nullptr);

// Replaces a field's text by typing: select all, delete, type.
void Retype(QWidget* field, const QString& text);

}  // namespace plumgr::test
