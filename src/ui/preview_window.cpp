#include "ui/preview_window.h"

#include <QAbstractPrintDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/table_printing.h"
#include "ui/window_parts.h"
#include "ui/window_texts.h"

namespace plumgr::ui {
namespace {

// The paint box "myPaintBox1": the sheet on white paper at the screen's resolution.
class SheetView final : public QWidget {
 public:
  SheetView(TmyPaintBox& box, QWidget* parent) : QWidget(parent), box_(box) {
    setObjectName("myPaintBox1");
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    box_.Context.Palette = palette();
    if (box_.myGrid() != nullptr) box_.DrawSheets(painter, 1, 0);
  }

 private:
  TmyPaintBox& box_;
};

}  // namespace

PreviewWindow::PreviewWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("PreviewFrm");
  setWindowTitle("Preview");
  TakeLocaleNotation(box_.Context);
  paint_box_ = new SheetView(box_, this);
  auto* panel = new QWidget(this);
  panel->setObjectName("pnl1");
  panel->setFixedHeight(41);
  QPushButton* print = MakePanelButton(panel, "btn1", "Print");
  QPushButton* cancel = MakePanelButton(panel, "btn2", "Cancel");
  connect(print, &QPushButton::clicked, this, [this] { (void)PrintSheet(); });
  connect(cancel, &QPushButton::clicked, this, &QWidget::close);
  auto* buttons = new QHBoxLayout(panel);
  buttons->setContentsMargins(6, 8, 6, 8);
  buttons->setSpacing(3);
  buttons->addWidget(print);
  buttons->addWidget(cancel);
  buttons->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(paint_box_, 1);
  layout->addWidget(panel);

  printer_.setDocName("Hot-key sheet");
  // The sheet's positions are millimetres from the paper's edge, as the key
  // sheets are cut; the printable area does not move them.
  printer_.setFullPage(true);
  RegisterLanguageWindow(this);
}

void PreviewWindow::ShowGrid(TMyGrid& grid, int keyboard_type) {
  box_.SetMyGrid(&grid);
  ApplyPreviewGeometry(box_, keyboard_type);
  const PreviewGeometry sheet = PreviewGeometryFor(keyboard_type);
  resize(sheet.WindowWidth, sheet.WindowHeight);
  CentreOverOwner(this);
  show();
  raise();
  activateWindow();
  paint_box_->update();
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
  // Escape is Cancel, as in the dialogs.
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool PreviewWindow::PrintSheet() {
  bool chosen = false;
  box_.PrintDialog = [this, &chosen]() -> QPagedPaintDevice* {
    QPrintDialog dialog(&printer_, this);
    dialog.setObjectName("dlgPnt1");
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    chosen = true;
    return &printer_;
  };
  bool printed = box_.Print(true, 1);
  box_.PrintDialog = nullptr;
  if (!chosen) return false;
  if (printed && printer_.printerState() == QPrinter::Error) printed = false;
  if (!printed) ShowPrintError(this, printer_, "The sheet could not be printed");
  paint_box_->update();  // printing drew at the printer's resolution
  return printed;
}

}  // namespace plumgr::ui
