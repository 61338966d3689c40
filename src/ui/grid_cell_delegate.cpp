#include "ui/grid_cell_delegate.h"

#include "ui/display_text.h"

#include <QApplication>
#include <QPainter>

namespace plumgr::ui {
namespace {

constexpr int kTextMargin = 2;
const QColor kAlcoholBackground(224, 224, 224);

}  // namespace

GridCellDelegate::GridCellDelegate(GridTableModel& model, QWidget* view)
    : QStyledItemDelegate(view), model_(model), view_(view) {}

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const GridEditModel& edit = model_.Edit();
  const CellPos cell = GridTableModel::CellOf(index);
  if (IsAlcoholColumn(model_.Id(), cell.Col)) {
    PaintAlcohol(painter, option, edit.AlcoholMark(cell.Row));
    return;
  }
  if (edit.Editing() && cell == edit.Current()) {
    PaintEditor(painter, option);
    return;
  }
  QStyleOptionViewItem opt(option);
  // The core owns the selection: Qt's own is never used.
  opt.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
  if (edit.Selection().Contains(cell.Col, cell.Row) && !(cell == edit.Current()))
    opt.state |= QStyle::State_Selected;
  QStyledItemDelegate::paint(painter, opt, index);
  if (cell == edit.Current()) {
    QStyleOptionFocusRect focus;
    focus.rect = option.rect.adjusted(1, 1, -1, -1);
    focus.palette = option.palette;
    focus.state = QStyle::State_KeyboardFocusChange;
    QApplication::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, view_);
    painter->save();
    painter->setPen(QPen(option.palette.highlight().color(), 2));
    painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
    painter->restore();
  }
}

void GridCellDelegate::PaintAlcohol(QPainter* painter, const QStyleOptionViewItem& option,
                                    bool ticked) const {
  painter->fillRect(option.rect, kAlcoholBackground);
  QStyleOptionButton box;
  const QStyle* style = QApplication::style();
  const QRect glyph = style->subElementRect(QStyle::SE_CheckBoxIndicator, &box, view_);
  box.rect = QRect(QPoint(), glyph.size());
  box.rect.moveCenter(option.rect.center());
  box.state = QStyle::State_Enabled | (ticked ? QStyle::State_On : QStyle::State_Off);
  box.palette = option.palette;
  style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, view_);
}

void GridCellDelegate::PaintEditor(QPainter* painter, const QStyleOptionViewItem& option) const {
  const CellEditor& editor = model_.Edit().Editor();
  const QString text = DisplayText(editor.Text());
  const QRect frame = option.rect.adjusted(0, 0, -1, -1);
  const QRect inner = option.rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
  const QFontMetrics metrics(option.font);
  const int baseline = inner.top() + (inner.height() + metrics.ascent() - metrics.descent()) / 2;
  auto x_at = [&](std::size_t pos) {
    return inner.left() + metrics.horizontalAdvance(text.left(static_cast<qsizetype>(
                              std::min<std::size_t>(pos, static_cast<std::size_t>(text.size())))));
  };

  painter->save();
  painter->fillRect(option.rect, option.palette.base());
  painter->setPen(option.palette.text().color());
  painter->drawRect(frame);
  painter->setClipRect(inner);
  if (editor.HasSelection()) {
    const int left = x_at(editor.SelectionStart());
    const int right = x_at(editor.SelectionStart() + editor.SelectionLength());
    painter->fillRect(QRect(left, inner.top() + 1, right - left, inner.height() - 2),
                      option.palette.highlight());
  }
  painter->setFont(option.font);
  painter->drawText(QPoint(inner.left(), baseline), text);
  if (editor.HasSelection()) {
    // The selected characters again, in the highlighted text colour.
    const auto start = static_cast<qsizetype>(editor.SelectionStart());
    const auto length = static_cast<qsizetype>(editor.SelectionLength());
    painter->setPen(option.palette.highlightedText().color());
    painter->drawText(QPoint(x_at(editor.SelectionStart()), baseline), text.mid(start, length));
  } else if (view_->hasFocus()) {
    const int caret = x_at(editor.Caret());
    painter->drawLine(caret, inner.top() + 2, caret, inner.bottom() - 2);
  }
  painter->restore();
}

}  // namespace plumgr::ui
