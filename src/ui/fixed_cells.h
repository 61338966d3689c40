#pragma once
// The look of a table's fixed cells, the same in every table of the program:
// the title row and the number column in navy, centred; the number column on
// the button face, as the main tables draw it.

#include <QVariant>

namespace plumgr::ui {

// A title's colour and alignment for `role`; nothing for the other roles.
QVariant FixedCellLook(int role);

// A cell of the number column: the number, on the button face.
QVariant NumberCell(int number, int role);

}  // namespace plumgr::ui
