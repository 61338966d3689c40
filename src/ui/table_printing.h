#pragma once
// "Print...": the PLU table as plain text on a printer the operator picks in the
// system's print dialog (a queue or a PDF file).

class QWidget;

namespace plumgr {
class MainWindowState;
}

namespace plumgr::ui {

void PrintItemClick(QWidget* parent, MainWindowState& state);

}  // namespace plumgr::ui
