#include "ui/import_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

#include "data/import_sheet.h"
#include "ui/display_text.h"
#include "ui/window_parts.h"
#include "ui/window_texts.h"

namespace plumgr::ui {
namespace {

QString Text(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

QString SheetColumnCaption(const ImportModel& model, int col) {
  QString caption = QString::fromStdString(ColumnLetters(static_cast<std::size_t>(col)));
  const std::u16string& header = model.Header()[static_cast<std::size_t>(col)];
  if (!header.empty()) caption += ": " + Text(header);
  return caption;
}

}  // namespace

ImportDialog::ImportDialog(QWidget* parent, ImportModel& model) : QDialog(parent), model_(model) {
  setObjectName("ImportDlg");
  setWindowTitle(tr("Import"));

  auto* file = new QLabel(QString::fromStdString(model.Path() + " (" + model.Format() + ", " +
                                                 Counted(model.DataRows(), "row") + ")"),
                          this);
  file->setObjectName("FileLabel");
  file->setWordWrap(true);

  auto* table_box = new QGroupBox(tr("&Table"), this);
  table_box->setObjectName("TableRG");
  auto* table_row = new QHBoxLayout(table_box);
  table_ = new QButtonGroup(this);
  const char* names[] = {"PluRB", "DeptRB"};
  const QString captions[] = {tr("PLU"), tr("Department")};
  for (int i = 0; i < 2; ++i) {
    auto* button = new QRadioButton(captions[i], table_box);
    button->setObjectName(names[i]);
    table_->addButton(button, i);
    table_row->addWidget(button);
  }
  table_->button(model.Grid() == GridId::Plu ? 0 : 1)->setChecked(true);
  connect(table_, &QButtonGroup::idClicked, this, [this](int id) {
    model_.SetGrid(id == 0 ? GridId::Plu : GridId::Dept);
    FillTargets();
    ShowPreview();
    ShowProblems();
  });

  auto* columns = new QWidget;
  auto* form = new QFormLayout(columns);
  for (int col = 0; col < model.ColumnCount(); ++col) {
    auto* combo = new QComboBox(columns);
    combo->setObjectName(QString("TargetCB%1").arg(col + 1));
    auto* label = new QLabel(SheetColumnCaption(model, col), columns);
    label->setBuddy(combo);
    form->addRow(label, combo);
    targets_.push_back(combo);
    connect(combo, &QComboBox::activated, this, [this, col, combo](int index) {
      model_.SetTarget(col, combo->itemData(index).toInt());
      ShowPreview();
      ShowProblems();
    });
  }
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName("ColumnsBox");
  scroll->setWidget(columns);
  scroll->setWidgetResizable(true);

  preview_ = new QTableWidget(this);
  preview_->setObjectName("PreviewGrid");
  preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  preview_->setRowCount(model.PreviewRows());
  preview_->setColumnCount(model.ColumnCount());
  for (int row = 0; row < model.PreviewRows(); ++row)
    for (int col = 0; col < model.ColumnCount(); ++col)
      preview_->setItem(row, col, new QTableWidgetItem(Text(model.PreviewCell(row, col))));

  problems_ = new QLabel(this);
  problems_->setObjectName("ProblemsLabel");
  problems_->setWordWrap(true);
  QPalette palette = problems_->palette();
  palette.setColor(QPalette::WindowText, Qt::darkRed);
  problems_->setPalette(palette);

  QDialogButtonBox* buttons = MakeOkCancel(this);
  ok_ = buttons->button(QDialogButtonBox::Ok);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(file);
  layout->addWidget(table_box);
  auto* columns_label =
      new QLabel(tr("&Columns of the file and the table columns they fill:"), this);
  columns_label->setObjectName("ColumnsLabel");
  columns_label->setBuddy(targets_.empty() ? nullptr : targets_.front());
  layout->addWidget(columns_label);
  layout->addWidget(scroll, 3);
  auto* preview_label = new QLabel(tr("&First rows:"), this);
  preview_label->setObjectName("PreviewLabel");
  preview_label->setBuddy(preview_);
  layout->addWidget(preview_label);
  layout->addWidget(preview_, 2);
  layout->addWidget(problems_);
  layout->addWidget(buttons);
  resize(680, 620);

  FillTargets();
  ShowPreview();
  ShowProblems();
  RegisterLanguageWindow(this);
}

void ImportDialog::FillTargets() {
  const ImportTitles& titles = model_.Titles();
  for (int col = 0; col < static_cast<int>(targets_.size()); ++col) {
    QComboBox* combo = targets_[static_cast<std::size_t>(col)];
    combo->clear();
    combo->addItem(tr("(not imported)"), kNotImported);
    for (std::size_t target = 0; target < titles.Names.size(); ++target)
      if (!titles.Names[target].empty())
        combo->addItem(Text(titles.Names[target].back()), static_cast<int>(target));
    combo->setCurrentIndex(combo->findData(model_.Columns().Target[static_cast<std::size_t>(col)]));
  }
}

void ImportDialog::ShowPreview() {
  const ImportTitles& titles = model_.Titles();
  QStringList headers;
  for (int col = 0; col < model_.ColumnCount(); ++col) {
    const int target = model_.Columns().Target[static_cast<std::size_t>(col)];
    QString header = SheetColumnCaption(model_, col);
    if (target != kNotImported)
      header += QString::fromUtf8(" \u2192 ") +
                Text(titles.Names[static_cast<std::size_t>(target)].back());
    headers << header;
  }
  preview_->setHorizontalHeaderLabels(headers);
  preview_->resizeColumnsToContents();
}

void ImportDialog::ShowProblems() {
  const std::vector<std::string> problems = model_.Problems();
  QStringList lines;
  for (const std::string& problem : problems)
    lines << QString::fromStdString(problem);
  problems_->setText(lines.join("\n"));
  problems_->setVisible(!problems.empty());
  ok_->setEnabled(problems.empty());
}

bool ShowImportDialog(QWidget* parent, ImportModel& model) {
  ImportDialog dialog(parent, model);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace plumgr::ui
