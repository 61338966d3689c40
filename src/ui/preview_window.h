#pragma once
// "Preview" (PreviewFrm): the key sheet of the editor's grid drawn to scale on
// the screen, and printed through the system's print dialog, to a printer or a
// PDF file, with the sheet's millimetres measured from the paper's edge.

#include <QPrinter>
#include <QWidget>

#include "hotkey/sheet_painter.h"

namespace plumgr::ui {

class PreviewWindow final : public QWidget {
  Q_OBJECT
 public:
  explicit PreviewWindow(QWidget* parent = nullptr);

  // "Preview": the sheet of the grid at the keyboard's geometry, the window
  // sized for it and centred on its parent, shown modeless.
  void ShowGrid(TMyGrid& grid, int keyboard_type);
  TmyPaintBox& Sheet() { return box_; }
  // "Print": the print dialog, then the sheet in landscape; a job that failed
  // is shown in a message box. True when the sheet was printed.
  bool PrintSheet();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TmyPaintBox box_;
  QPrinter printer_{QPrinter::HighResolution};
  QWidget* paint_box_;
};

}  // namespace plumgr::ui
