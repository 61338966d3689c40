#pragma once
// "About...": the product title, its version and build, and the company name
// from [Version] CompanyName of the settings file.

#include <QDialog>
#include <string>

namespace plumgr::ui {

class AboutBox final : public QDialog {
  Q_OBJECT
 public:
  AboutBox(const std::string& title, const std::string& company, QWidget* parent);
};

}  // namespace plumgr::ui
