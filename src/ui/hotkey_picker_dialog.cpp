#include "ui/hotkey_picker_dialog.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <tuple>

#include "ui/display_text.h"
#include "ui/window_parts.h"
#include "ui/window_texts.h"

namespace plumgr::ui {

// One page of the picker as a Qt table over the picker model.
class PickerTableModel final : public QAbstractTableModel {
 public:
  PickerTableModel(PickerPage page, QStringList titles, QObject* parent)
      : QAbstractTableModel(parent), page_(page), titles_(std::move(titles)) {}

  void Bind(HotPluPickerModel* model) {
    beginResetModel();
    model_ = model;
    endResetModel();
  }
  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() || model_ == nullptr ? 0 : model_->Rows(page_);
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : 3;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || model_ == nullptr) return {};
    return DisplayText(model_->Cell(page_, index.column(), index.row() + 1));
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return titles_.value(section);
  }

 private:
  PickerPage page_;
  QStringList titles_;
  HotPluPickerModel* model_ = nullptr;
};

namespace {

constexpr int kWidth = 363;
constexpr int kHeight = 482;
constexpr int kRowHeight = 20;

}  // namespace

HotPluPickerDialog::HotPluPickerDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("HotPluFrm");
  setWindowTitle("Select PLU");
  pages_ = new QTabWidget(this);
  pages_->setObjectName("pgc1");
  plu_model_ = new PickerTableModel(PickerPage::Plu, {"   No.", "   Barcode", "   Name"}, this);
  dept_model_ =
      new PickerTableModel(PickerPage::Department, {"   No.", "   Name", "   Price"}, this);
  const int plu_widths[3] = {50, 160, 110};
  const int dept_widths[3] = {50, 160, 64};
  plu_table_ = MakeTable("sgPLUSource", plu_model_, plu_widths);
  dept_table_ = MakeTable("StringGrid1", dept_model_, dept_widths);
  for (auto [name, caption, table] : {std::tuple{"ts1", "PLU Key", plu_table_},
                                      std::tuple{"ts2", "Department Key", dept_table_}}) {
    auto* page = new QWidget(pages_);
    page->setObjectName(name);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(table);
    pages_->addTab(page, caption);
  }

  auto* panel = new QWidget(this);
  panel->setObjectName("pnl1");
  panel->setFixedHeight(41);
  QPushButton* ok = MakePanelButton(panel, "btn1", "Ok");
  QPushButton* cancel = MakePanelButton(panel, "btn2", "Cancel");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout(panel);
  buttons->setContentsMargins(6, 8, 6, 8);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(pages_, 1);
  layout->addWidget(panel);
  resize(kWidth, kHeight);
  RegisterLanguageWindow(this);
}

HotPluPickerDialog::~HotPluPickerDialog() = default;

QTableView* HotPluPickerDialog::MakeTable(const char* name, PickerTableModel* model,
                                          const int (&widths)[3]) {
  auto* table = new QTableView(this);
  table->setObjectName(name);
  table->setModel(model);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::ContiguousSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->verticalHeader()->hide();
  table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table->verticalHeader()->setDefaultSectionSize(kRowHeight);
  table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (int col = 0; col < 3; ++col)
    table->setColumnWidth(col, widths[col]);
  table->horizontalHeader()->setStretchLastSection(true);
  // Each change of the selection is the page's picks: the rows of its range.
  const PickerPage page = model == plu_model_ ? PickerPage::Plu : PickerPage::Department;
  connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this, table, page] {
            if (model_ == nullptr) return;
            int first = std::numeric_limits<int>::max();
            int last = 0;
            for (const QModelIndex& index : table->selectionModel()->selectedRows()) {
              first = std::min(first, index.row() + 1);
              last = std::max(last, index.row() + 1);
            }
            model_->SelectRows(page, first, last);
          });
  // A double click picks the row under it and closes as Ok does.
  connect(table, &QTableView::doubleClicked, this, &QDialog::accept);
  return table;
}

void HotPluPickerDialog::Bind(HotPluPickerModel* model) {
  model_ = nullptr;  // the views' resets clear their selections, not the picks
  plu_model_->Bind(model);
  dept_model_->Bind(model);
  model_ = model;
}

bool HotPluPickerDialog::Pick(HotPluPickerModel& model) {
  Bind(&model);
  pages_->setCurrentIndex(model.ActivePage() == PickerPage::Plu ? 0 : 1);
  plu_table_->scrollToTop();
  dept_table_->scrollToTop();
  plu_table_->setFocus();
  const bool ok = exec() == QDialog::Accepted;
  if (ok) {
    model.SetActivePage(pages_->currentIndex() == 1 ? PickerPage::Department : PickerPage::Plu);
    model.Accept();
  }
  Bind(nullptr);
  return ok;
}

}  // namespace plumgr::ui
