#include "ui/about_box.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/display_text.h"
#include "ui/window_texts.h"

#ifndef PLUMGR_VERSION
#define PLUMGR_VERSION "0"
#endif

namespace plumgr::ui {
namespace {

QLabel* AddLabel(QVBoxLayout* layout, const char* name, const QString& text) {
  auto* label = new QLabel(text);
  label->setObjectName(name);
  layout->addWidget(label);
  return label;
}

}  // namespace

AboutBox::AboutBox(const std::string& title, const std::string& company, QWidget* parent)
    : QDialog(parent) {
  setObjectName("AboutBox");
  setWindowTitle("About...");
  auto* layout = new QVBoxLayout(this);
  QLabel* product = AddLabel(layout, "ProductName", InterfaceText(title));
  QFont bold = product->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.4);
  product->setFont(bold);
  AddLabel(layout, "Version", QString("Version %1").arg(PLUMGR_VERSION));
  AddLabel(layout, "BuildLabel", QString("Built with Qt %1").arg(QT_VERSION_STR));
  // [Version] CompanyName is read from the settings file, which is
  // Windows-1250 like every file of the program.
  AddLabel(layout, "Copyright", InterfaceText(company));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("OKButton");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  RegisterLanguageWindow(this);
}

}  // namespace plumgr::ui
