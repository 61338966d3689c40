#include "ui/recycling_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "data/definitions.h"
#include "ui/display_text.h"
#include "ui/editor_fields.h"
#include "ui/fixed_cells.h"
#include "ui/window_texts.h"

namespace plumgr::ui {
namespace {

constexpr int kNumberWidth = 60;
constexpr int kPriceWidth = 138;
constexpr int kRowHeight = 20;
constexpr int kVisibleRows = 16;

}  // namespace

RecyGridModel::RecyGridModel(RecyclingEditorModel& model, QObject* parent)
    : QAbstractTableModel(parent), model_(model) {}

int RecyGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kRecyclingUsedEntries;
}

int RecyGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant RecyGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row() + 1;
  if (index.column() == NumberColumn) return NumberCell(row, role);
  if (role == Qt::DisplayRole || role == Qt::EditRole) return DisplayText(model_.Price(row));
  return {};
}

QVariant RecyGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::DisplayRole)
    return TitleText(Texts().RecyTitles.Entries, static_cast<std::size_t>(section));
  return FixedCellLook(role);
}

Qt::ItemFlags RecyGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid() || index.column() == NumberColumn) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void RecyGridModel::Refresh() {
  emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
  RowsChanged(1, kRecyclingUsedEntries);
}

void RecyGridModel::RowsChanged(int first, int last) {
  emit dataChanged(index(first - 1, 0), index(last - 1, ColumnCount - 1));
}

// The price cells' editor: the key filter of the model, and the validation
// of the cell before any key, click or focus change takes the edit away.
class RecyPriceDelegate final : public QStyledItemDelegate {
 public:
  explicit RecyPriceDelegate(RecyGridView& view) : QStyledItemDelegate(&view), view_(view) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex& index) const override {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    const int row = index.row() + 1;
    view_.editor_ = editor;
    view_.editor_row_ = row;
    before_ = view_.model_.Price(row);
    // The model holds the text as typed; it is put in normal form on leaving.
    connect(editor, &QLineEdit::textEdited, editor,
            [this, row](const QString& text) { view_.model_.SetPrice(row, text.toStdString()); });
    return editor;
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    static_cast<QLineEdit*>(editor)->setText(DisplayText(view_.model_.Price(index.row() + 1)));
  }
  void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    auto* editor = qobject_cast<QLineEdit*>(object);
    if (editor == nullptr || editor != view_.editor_) return false;
    if (event->type() == QEvent::KeyPress) return EditorKey(editor, static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::FocusOut) {
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      // A message box or another window taking the focus is not leaving the cell.
      if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
      if (!view_.FinishEdit()) {
        QTimer::singleShot(0, editor, [editor] { editor->setFocus(Qt::OtherFocusReason); });
        return true;
      }
    }
    return false;
  }

 private:
  bool EditorKey(QLineEdit* editor, QKeyEvent* key) {
    const int row = view_.editor_row_;
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Down:
        if (view_.FinishEdit()) view_.MoveToRow(row + 1);
        return true;
      case Qt::Key_Up:
        if (view_.FinishEdit()) view_.MoveToRow(row - 1);
        return true;
      case Qt::Key_Escape:
        view_.model_.SetPrice(row, before_);
        view_.DropEdit();
        return true;
      default:
        break;
    }
    const QString text = key->text();
    if (text.isEmpty() || text[0].unicode() < 0x20 || key->modifiers() & Qt::ControlModifier)
      return false;
    const QChar typed = text[0];
    const bool accepted =
        typed.unicode() < 0x80 &&
        view_.model_.AcceptsKey(editor->text().toStdString(), static_cast<char>(typed.unicode()),
                                static_cast<std::size_t>(editor->selectedText().size()));
    if (accepted) return false;
    view_.ui_.Beep();
    return true;
  }

  RecyGridView& view_;
  mutable std::string before_;
};

RecyGridView::RecyGridView(RecyclingEditorModel& model, UiPort& ui, QWidget* parent)
    : QTableView(parent), model_(model), ui_(ui), grid_(new RecyGridModel(model, this)) {
  setObjectName("RecyGrid");
  setModel(grid_);
  setItemDelegate(new RecyPriceDelegate(*this));
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setTabKeyNavigation(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(kRowHeight);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->resizeSection(RecyGridModel::NumberColumn, kNumberWidth);
  horizontalHeader()->resizeSection(RecyGridModel::PriceColumn, kPriceWidth);
  horizontalHeader()->setStretchLastSection(true);
  const int width =
      kNumberWidth + kPriceWidth + verticalScrollBar()->sizeHint().width() + 2 * frameWidth();
  setFixedWidth(width);
  setMinimumHeight(horizontalHeader()->sizeHint().height() + kVisibleRows * kRowHeight +
                   2 * frameWidth());
}

bool RecyGridView::FinishEdit() {
  if (editor_ == nullptr) return true;
  if (!model_.Validate(editor_row_)) {
    ui_.Beep();
    return false;
  }
  grid_->RowsChanged(editor_row_, editor_row_);
  CloseOpenEditor(QAbstractItemDelegate::NoHint);
  return true;
}

void RecyGridView::DropEdit() {
  if (editor_ == nullptr) return;
  grid_->RowsChanged(editor_row_, editor_row_);
  CloseOpenEditor(QAbstractItemDelegate::RevertModelCache);
}

void RecyGridView::CloseOpenEditor(QAbstractItemDelegate::EndEditHint hint) {
  QWidget* editor = editor_;
  // Cleared first: the editor losing the focus as it closes is no leaving.
  editor_ = nullptr;
  closeEditor(editor, hint);
  setFocus(Qt::OtherFocusReason);
}

void RecyGridView::MoveToRow(int row) {
  if (row < 1 || row > kRecyclingUsedEntries) return;
  setCurrentIndex(grid_->index(row - 1, RecyGridModel::PriceColumn));
}

void RecyGridView::FocusCell() {
  if (editor_ != nullptr)
    editor_->setFocus(Qt::OtherFocusReason);
  else
    setFocus(Qt::OtherFocusReason);
}

void RecyGridView::EditRow(int row) {
  MoveToRow(row);
  setFocus(Qt::OtherFocusReason);
  edit(currentIndex());
}

void RecyGridView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && editor_ == nullptr) {
    int first = kRecyclingUsedEntries + 1;
    int last = 0;
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
      first = std::min(first, index.row() + 1);
      last = std::max(last, index.row() + 1);
    }
    if (last == 0 && currentIndex().isValid()) first = last = currentIndex().row() + 1;
    model_.Reset(first, last);
    if (last >= first) grid_->RowsChanged(first, last);
    event->accept();
    return;
  }
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && editor_ == nullptr &&
      currentIndex().isValid()) {
    MoveToRow(currentIndex().row() + 2);
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

void RecyGridView::mousePressEvent(QMouseEvent* event) {
  // Another cell is chosen only once the cell being edited is accepted.
  if (!FinishEdit()) {
    event->accept();
    return;
  }
  QTableView::mousePressEvent(event);
}

bool RecyGridView::focusNextPrevChild(bool next) {
  if (!FinishEdit()) return true;
  return QTableView::focusNextPrevChild(next);
}

RecyclingDialog::RecyclingDialog(char separator, UiPort& ui, QWidget* parent)
    : QDialog(parent), model_(separator), ui_(ui) {
  setObjectName("RecyForm");
  setWindowTitle(tr("Recycling"));
  grid_ = new RecyGridView(model_, ui_, this);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName("OKBtn");
  ok->setAutoDefault(false);
  QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
  cancel->setObjectName("CancelBtn");
  cancel->setAutoDefault(false);
  connect(buttons, &QDialogButtonBox::accepted, this, &RecyclingDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addWidget(buttons);
  RegisterLanguageWindow(this);
}

bool RecyclingDialog::Edit(const RecyclingTable& table, const Store& store) {
  store_ = store;
  model_.Load(table);
  grid_->GridModel().Refresh();
  grid_->clearSelection();
  grid_->MoveToRow(1);
  grid_->setFocus();
  return exec() == QDialog::Accepted;
}

void RecyclingDialog::accept() {
  if (!grid_->FinishEdit()) {
    grid_->FocusCell();
    return;
  }
  const EditorResult stored = store_ ? store_(model_) : EditorResult::Stored();
  if (!stored) {
    ShowRefusal(this, ui_, stored);
    if (model_.RefusedRow()) grid_->EditRow(*model_.RefusedRow());
    return;
  }
  QDialog::accept();
}

}  // namespace plumgr::ui
