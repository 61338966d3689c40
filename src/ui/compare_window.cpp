#include "ui/compare_window.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "data/definitions.h"
#include "ui/display_text.h"
#include "ui/window_texts.h"

namespace plumgr::ui {
namespace {

enum Column { kItem, kAction, kField, kOld, kNew, kColumnCount };

QTableWidget* MakeLineTable(QWidget* parent, const CompareWindowModel& model) {
  auto* table = new QTableWidget(static_cast<int>(model.Lines.size()), kColumnCount, parent);
  table->setObjectName("DiffGrid");
  QStringList titles;
  for (int col = 0; col < kColumnCount; ++col)
    titles << TitleText(Texts().CompareTitles.Entries, static_cast<std::size_t>(col));
  table->setHorizontalHeaderLabels(titles);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->verticalHeader()->setVisible(false);
  // Thousands of lines for a whole table: one text line each.
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
  table->horizontalHeader()->setStretchLastSection(true);
  for (int row = 0; row < table->rowCount(); ++row) {
    const CompareLine& line = model.Lines[static_cast<std::size_t>(row)];
    const std::string texts[kColumnCount] = {line.Item, line.Action, line.Field, line.Old,
                                             line.New};
    // The item, action and field are the program's words; the values are the
    // register's text.
    for (int col = 0; col < kColumnCount; ++col)
      table->setItem(
          row, col,
          new QTableWidgetItem(col >= kOld ? DisplayText(texts[col]) : InterfaceText(texts[col])));
  }
  table->resizeColumnsToContents();
  return table;
}

}  // namespace

bool ShowCompareWindow(QWidget* parent, const CompareWindowModel& model) {
  QDialog dialog(parent);
  dialog.setObjectName("CompareDlg");
  dialog.setWindowTitle(InterfaceText(model.Caption));
  auto* summary = new QLabel(InterfaceText(model.Summary), &dialog);
  summary->setObjectName("SummaryLabel");
  QTableWidget* table = MakeLineTable(&dialog, model);

  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* download =
      buttons->addButton(QObject::tr("&Download"), QDialogButtonBox::AcceptRole);
  download->setObjectName("DownloadBtn");
  QPushButton* close = buttons->addButton(QObject::tr("&Close"), QDialogButtonBox::RejectRole);
  close->setObjectName("CloseBtn");
  // Nothing is sent unless the operator asks for it: Enter closes.
  close->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(summary);
  layout->addWidget(table, 1);
  layout->addWidget(buttons);
  dialog.resize(640, 400);
  RegisterLanguageWindow(&dialog);
  table->setFocus();
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace plumgr::ui
