#pragma once
// "Data range" (the caller sets the caption): the first memory page in
// hexadecimal, the page count and ROM or RAM.

#include <QDialog>
#include <QValidator>
#include <functional>

#include "app/memory_range_model.h"

class QButtonGroup;
class QLineEdit;

namespace plumgr::ui {

// Lets through the characters the base field's key filter allows and discards
// the others, whether typed or pasted; `refused` hears of each discard.
class BaseAddressValidator : public QValidator {
  Q_OBJECT
 public:
  BaseAddressValidator(QObject* parent, std::function<void()> refused);

  State validate(QString& input, int& position) const override;

 private:
  std::function<void()> refused_;
};

class DataRangeDialog : public QDialog {
  Q_OBJECT
 public:
  DataRangeDialog(QWidget* parent, const MemoryRangeModel& model, UiPort& ui);

  // The fields as they stand, the caption kept.
  MemoryRangeModel Fields(const MemoryRangeModel& model) const;

 private:
  QLineEdit* base_ = nullptr;
  QLineEdit* count_ = nullptr;
  QButtonGroup* kind_ = nullptr;
};

}  // namespace plumgr::ui
