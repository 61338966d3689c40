#include "ui/fast_sale_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include "data/definitions.h"
#include "ui/display_text.h"
#include "ui/editor_fields.h"
#include "ui/fixed_cells.h"
#include "ui/window_texts.h"

namespace plumgr::ui {
namespace {

constexpr int kColumnWidths[] = {100, 216, 54};

QString FastTitle(std::size_t at) {
  return TitleText(Texts().FastTitles.Entries, at);
}

}  // namespace

FastSaleGridModel::FastSaleGridModel(FastSaleEditorModel& model, QObject* parent)
    : QAbstractTableModel(parent), model_(model) {}

int FastSaleGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kFastSaleButtons;
}

int FastSaleGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant FastSaleGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row() + 1;
  switch (index.column()) {
    case NumberColumn:
      return NumberCell(row, role);
    case BarcodeColumn:
      if (role == Qt::DisplayRole || role == Qt::EditRole) return DisplayText(model_.Barcode(row));
      return {};
    case SignColumn:
      if (role == Qt::CheckStateRole) return model_.Sign(row) ? Qt::Checked : Qt::Unchecked;
      return {};
    default:
      return {};
  }
}

bool FastSaleGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid()) return false;
  const int row = index.row() + 1;
  if (index.column() == BarcodeColumn && role == Qt::EditRole) {
    // Free text; OK refuses what the register cannot hold.
    model_.SetBarcode(row, StoredText(value.toString()).value_or(value.toString().toStdString()));
  } else if (index.column() == SignColumn && role == Qt::CheckStateRole) {
    model_.SetSign(row, value.toInt() == Qt::Checked);
  } else {
    return false;
  }
  emit dataChanged(index, index);
  return true;
}

QVariant FastSaleGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  // The sign title is the check box over its cell.
  if (role == Qt::DisplayRole) return section == SignColumn ? QString() : FastTitle(section);
  return FixedCellLook(role);
}

Qt::ItemFlags FastSaleGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid() || index.column() == NumberColumn) return Qt::NoItemFlags;
  const Qt::ItemFlags cell = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  return index.column() == BarcodeColumn ? cell | Qt::ItemIsEditable
                                         : cell | Qt::ItemIsUserCheckable;
}

void FastSaleGridModel::Refresh() {
  emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
  emit dataChanged(index(0, 0), index(kFastSaleButtons - 1, ColumnCount - 1));
}

FastSaleWindow::FastSaleWindow(UiPort& ui, Store store, QWidget* parent)
    : QWidget(parent, Qt::Window), ui_(ui), store_(std::move(store)) {
  setObjectName("FastSaleButtonsfrm");
  setWindowTitle(tr("Fast Sale Buttons"));

  auto* panel = new QWidget(this);
  panel->setObjectName("pnl1");
  auto* ok = new QPushButton(tr("OK"), panel);
  ok->setObjectName("btn1");
  auto* close = new QPushButton(tr("Close"), panel);
  close->setObjectName("btn2");
  connect(ok, &QPushButton::clicked, this, &FastSaleWindow::Ok);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  auto* buttons = new QHBoxLayout(panel);
  buttons->addWidget(ok);
  buttons->addWidget(close);
  buttons->addStretch();

  grid_model_ = new FastSaleGridModel(model_, this);
  grid_ = new QTableView(this);
  grid_->setObjectName("StringGrid1");
  grid_->setModel(grid_model_);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                         QAbstractItemView::AnyKeyPressed);
  grid_->setTabKeyNavigation(false);
  grid_->verticalHeader()->hide();
  grid_->horizontalHeader()->setSectionsClickable(false);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  int width = 2 * grid_->frameWidth();
  for (int col = 0; col < FastSaleGridModel::ColumnCount; ++col) {
    grid_->horizontalHeader()->resizeSection(col, kColumnWidths[col]);
    width += kColumnWidths[col];
  }
  grid_->setFixedSize(width, grid_->horizontalHeader()->sizeHint().height() +
                                 kFastSaleButtons * grid_->verticalHeader()->defaultSectionSize() +
                                 2 * grid_->frameWidth());
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  title_box_ = new QCheckBox(grid_->horizontalHeader());
  title_box_->setObjectName("SignTitleChk");
  connect(title_box_, &QCheckBox::clicked, this, [this](bool on) {
    model_.SetAllSigns(on);
    grid_model_->Refresh();
  });
  connect(grid_->horizontalHeader(), &QHeaderView::geometriesChanged, this,
          &FastSaleWindow::PlaceTitleBox);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel);
  layout->addWidget(grid_);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  RegisterLanguageWindow(this);
}

void FastSaleWindow::PlaceTitleBox() {
  QHeaderView* header = grid_->horizontalHeader();
  const int left = header->sectionViewportPosition(FastSaleGridModel::SignColumn);
  const int width = header->sectionSize(FastSaleGridModel::SignColumn);
  title_box_->setGeometry(left + 2, 0, width - 4, header->height());
}

void FastSaleWindow::ShowButtons(const FastSaleTable& table) {
  model_.Show(table);
  // The title box keeps its state; its caption is the sign title.
  title_box_->setText(FastTitle(FastSaleGridModel::SignColumn));
  title_box_->setChecked(model_.AllSigns());
  grid_model_->Refresh();
  PlaceTitleBox();
  show();
  raise();
  activateWindow();
  grid_->setCurrentIndex(grid_model_->index(0, FastSaleGridModel::BarcodeColumn));
  grid_->setFocus();
}

void FastSaleWindow::Ok() {
  // A barcode typed into its cell counts, as the operator sees it there: the
  // cell's commit after Enter or a focus change is queued, and an editor still
  // open commits now.
  QCoreApplication::sendPostedEvents(grid_->itemDelegate(), QEvent::MetaCall);
  if (QWidget* editor = QApplication::focusWidget();
      editor != nullptr && editor->parentWidget() == grid_->viewport())
    QMetaObject::invokeMethod(grid_, "commitData", Q_ARG(QWidget*, editor));
  if (StoredOrRefused(this, ui_, store_(model_))) close();
}

void FastSaleWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace plumgr::ui
