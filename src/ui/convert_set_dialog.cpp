#include "ui/convert_set_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/display_text.h"
#include "ui/window_parts.h"
#include "ui/window_texts.h"

namespace plumgr::ui {
std::optional<CodePageId> ChooseConversionPage(QWidget* parent, CodePageId from) {
  QDialog dialog(parent);
  dialog.setObjectName("ConvertDlg");
  dialog.setWindowTitle(QObject::tr("Convert set"));
  auto* from_page = new QLabel(CodePageText(from), &dialog);
  from_page->setObjectName("FromPageLabel");
  auto* to = new QComboBox(&dialog);
  to->setObjectName("ToPageCB");
  for (CodePageId page : kCodePages)
    if (page != from) to->addItem(CodePageText(page), static_cast<int>(page));

  auto* form = new QFormLayout;
  form->addRow(MakeNamedLabel(&dialog, "FromLabel", QObject::tr("Code page of the set:")),
               from_page);
  form->addRow(MakeNamedLabel(&dialog, "ToLabel", QObject::tr("&Convert it to:"), to), to);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(form);
  layout->addWidget(MakeOkCancel(&dialog));
  layout->setSizeConstraint(QLayout::SetFixedSize);
  RegisterLanguageWindow(&dialog);
  to->setFocus();
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return static_cast<CodePageId>(to->currentData().toInt());
}

}  // namespace plumgr::ui
