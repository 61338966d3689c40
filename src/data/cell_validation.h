#pragma once
// The rule applied when a table cell is left. An accepted cell is rewritten in
// its column's normal form; a refused one is left as typed, so the operator can
// correct it. Only repeated names and barcodes show a message (through the UiPort);
// the beep and the return to edit mode are the edit model's part.

#include <optional>
#include <string>

#include "data/tables.h"
#include "data/ui_port.h"

namespace plumgr {

// Applies the column rule to the cell at (col, row), a data cell of `grid`:
//  1. text longer than the column's limit: refused;
//  2. empty text: the column default, accepted;
//  3. otherwise the column rule, then the normal form. A value whose normal form
//     would not fit the column's text limit is refused too, so an accepted cell
//     always passes this check again.
// Column 0 and cells outside the table are accepted unchanged.
[[nodiscard]] bool ValidateCell(Tables& tables, GridId grid, int col, int row,
                                char decimal_separator, UiPort& ui);

// The normal form of a text under a column's rule without repeat checks, or
// nothing when the rule refuses it. Used by ValidateCell; handy for importers.
[[nodiscard]] std::optional<std::string> NormalizeCellText(GridId grid, int col,
                                                           const std::string& text,
                                                           char decimal_separator);

}  // namespace plumgr
