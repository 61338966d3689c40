#include "ui/restore_window.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/display_text.h"
#include "ui/qt_ui_port.h"
#include "ui/window_parts.h"
#include "ui/window_texts.h"

namespace plumgr::ui {
namespace {

QLabel* ValueLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

QString KindsText(const std::vector<std::string>& kinds) {
  QStringList names;
  for (const std::string& kind : kinds)
    names << InterfaceText(kind);
  return names.join(", ");
}

}  // namespace

bool ShowRestoreWindow(QWidget* parent, const RestoreWindowModel& model) {
  QDialog dialog(parent);
  dialog.setObjectName("RestoreDlg");
  dialog.setWindowTitle(QObject::tr("Restore"));
  auto* form = new QFormLayout;
  form->addRow(
      MakeNamedLabel(&dialog, "FolderLabel", QObject::tr("Backup:")),
      ValueLabel(&dialog, "FolderText", QDir::toNativeSeparators(ToQString(model.Folder))));
  form->addRow(MakeNamedLabel(&dialog, "MadeLabel", QObject::tr("Made:")),
               ValueLabel(&dialog, "MadeText", ToQString(model.Made)));
  form->addRow(MakeNamedLabel(&dialog, "KindsLabel", QObject::tr("Sends back:")),
               ValueLabel(&dialog, "KindsText", KindsText(model.Kinds)));
  auto* warning = MakeNamedLabel(
      &dialog, "WarningLabel",
      QObject::tr("The register's data of these kinds is replaced by the backup's."));
  warning->setWordWrap(true);

  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* send = buttons->addButton(QObject::tr("&Send"), QDialogButtonBox::AcceptRole);
  send->setObjectName("SendBtn");
  send->setDefault(true);
  buttons->addButton(QDialogButtonBox::Cancel)->setObjectName("CancelBtn");
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(form);
  layout->addWidget(warning);
  layout->addWidget(buttons);
  RegisterLanguageWindow(&dialog);
  send->setFocus();
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace plumgr::ui
