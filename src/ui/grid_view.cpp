#include "ui/grid_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTimer>
#include <optional>

#include "data/code_page.h"
#include "ui/grid_cell_delegate.h"

namespace plumgr::ui {
namespace {

std::optional<GridKey> GridKeyOf(int key) {
  switch (key) {
    case Qt::Key_Up:
      return GridKey::Up;
    case Qt::Key_Down:
      return GridKey::Down;
    case Qt::Key_Left:
      return GridKey::Left;
    case Qt::Key_Right:
      return GridKey::Right;
    case Qt::Key_Home:
      return GridKey::Home;
    case Qt::Key_End:
      return GridKey::End;
    case Qt::Key_PageUp:
      return GridKey::PageUp;
    case Qt::Key_PageDown:
      return GridKey::PageDown;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return GridKey::Enter;
    case Qt::Key_Delete:
      return GridKey::Delete;
    case Qt::Key_F2:
      return GridKey::F2;
    case Qt::Key_Escape:
      return GridKey::Escape;
    default:
      return std::nullopt;
  }
}

Extend ExtendOf(Qt::KeyboardModifiers modifiers) {
  return modifiers.testFlag(Qt::ShiftModifier) ? Extend::Yes : Extend::No;
}

// Ctrl or Alt alone make a command key, not a character; both together are
// how some keyboards type their national letters.
bool IsCommandChord(Qt::KeyboardModifiers modifiers) {
  return modifiers.testFlag(Qt::ControlModifier) != modifiers.testFlag(Qt::AltModifier);
}

}  // namespace

GridView::GridView(GridEditModel& edit, MainWindowState& state, QWidget* parent)
    : QTableView(parent), edit_(edit), state_(state), model_(new GridTableModel(edit, this)) {
  setModel(model_);
  setItemDelegate(new GridCellDelegate(*model_, this));
  setSelectionMode(QAbstractItemView::NoSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  setFocusPolicy(Qt::StrongFocus);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  verticalHeader()->setHighlightSections(false);
  verticalHeader()->setSectionsMovable(true);
  connect(verticalHeader(), &QHeaderView::sectionMoved, this,
          [this](int, int old_visual, int new_visual) { OnRowDragged(old_visual, new_visual); });
  edit_.SetViewHooks([this](const CellRect& rect) { model_->CellsChanged(rect); },
                     [this] { OnStateChanged(); });
}

void GridView::Refresh() {
  model_->Refresh();
  OnStateChanged();
}

void GridView::OnStateChanged() {
  const CellPos current = edit_.Current();
  const QModelIndex index = model_->IndexOf(current.Col, current.Row);
  if (index.isValid()) scrollTo(index);
  viewport()->update();
}

void GridView::keyPressEvent(QKeyEvent* event) {
  if (std::optional<GridKey> key = GridKeyOf(event->key());
      key && !event->modifiers().testFlag(Qt::ControlModifier) &&
      !event->modifiers().testFlag(Qt::AltModifier)) {
    if (edit_.KeyDown(*key, ExtendOf(event->modifiers())))
      event->accept();
    else
      QTableView::keyPressEvent(event);
    return;
  }
  if (event->key() == Qt::Key_Backspace) {
    edit_.KeyPress('\b');
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab ||
      IsCommandChord(event->modifiers()) || event->text().isEmpty()) {
    QTableView::keyPressEvent(event);
    return;
  }
  TypeText(event->text());
  event->accept();
}

void GridView::TypeText(const QString& text) {
  for (QChar ch : text) {
    if (ch.unicode() < 0x20 || ch.unicode() == 0x7F) continue;
    const std::u16string one(1, ch.unicode());
    const std::optional<std::string> byte = EncodeCodePage(one, UpperHalfInForce());
    // A character the register cannot print is refused, never stored as '?'.
    if (!byte || byte->size() != 1) {
      state_.Ui().Beep();
      continue;
    }
    edit_.KeyPress((*byte)[0]);
  }
}

bool GridView::CellAt(const QPoint& pos, CellPos* cell) const {
  const QModelIndex index = indexAt(pos);
  if (!index.isValid()) return false;
  *cell = GridTableModel::CellOf(index);
  return true;
}

void GridView::mousePressEvent(QMouseEvent* event) {
  if (!hasFocus()) setFocus(Qt::MouseFocusReason);
  CellPos cell;
  if (event->button() != Qt::LeftButton || !CellAt(event->position().toPoint(), &cell)) return;
  edit_.Click(cell.Col, cell.Row, ExtendOf(event->modifiers()));
  event->accept();
}

void GridView::mouseMoveEvent(QMouseEvent* event) {
  CellPos cell;
  if (!event->buttons().testFlag(Qt::LeftButton) || !CellAt(event->position().toPoint(), &cell))
    return;
  // Dragging over cells extends the rectangle; it never toggles an alcohol mark.
  if (!(cell == edit_.Current())) edit_.SelectCell(cell.Col, cell.Row, Extend::Yes);
}

void GridView::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event) {
  CellPos cell;
  if (event->button() != Qt::LeftButton || !CellAt(event->position().toPoint(), &cell)) return;
  edit_.DoubleClick(cell.Col, cell.Row);
  event->accept();
}

void GridView::focusInEvent(QFocusEvent* event) {
  state_.SetFocusedTable(&edit_);
  QTableView::focusInEvent(event);
  viewport()->update();
}

void GridView::focusOutEvent(QFocusEvent* event) {
  QTableView::focusOutEvent(event);
  viewport()->update();
  // A message box or another window taking the focus is not leaving the table.
  if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
    return;
  if (edit_.LeaveTable()) {
    if (state_.FocusedTable() == &edit_) state_.SetFocusedTable(nullptr);
    return;
  }
  // A refused cell takes the focus back, once the focus change has ended.
  QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
}

bool GridView::focusNextPrevChild(bool next) {
  // Validate before the focus moves, so that a refused cell keeps it.
  if (!edit_.LeaveTable()) return true;
  return QTableView::focusNextPrevChild(next);
}

void GridView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  const int row_height = std::max(verticalHeader()->defaultSectionSize(), 1);
  edit_.SetPageRows(viewport()->height() / row_height);
}

void GridView::OnRowDragged(int old_visual, int new_visual) {
  if (undoing_drag_) return;
  // The header only shows the drag; the core moves the row's cells, so the
  // header goes back to its own order.
  undoing_drag_ = true;
  verticalHeader()->moveSection(new_visual, old_visual);
  undoing_drag_ = false;
  edit_.MoveRow(old_visual + 1, new_visual + 1);
}

}  // namespace plumgr::ui
