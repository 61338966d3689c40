#pragma once
// The fields the settings editors are built of: labels, the masked rate field,
// spins changed by their arrows only, and text fields that take only what the
// settings file and the register can hold. Refusing a key beeps.

#include <QValidator>
#include <cstddef>
#include <functional>
#include <string>

#include "app/editor_result.h"
#include "data/ui_port.h"

class QLabel;
class QLineEdit;
class QSpinBox;
class QWidget;

namespace plumgr::ui {

QLabel* MakeNamedLabel(QWidget* parent, const char* name, const QString& text,
                       QWidget* buddy = nullptr);

// Two digits, the decimal separator, two digits; an untyped position shows
// "0". Its text is RateFieldShown.
QLineEdit* MakeRateField(QWidget* parent, const QString& name, char decimal_separator);
// What a rate field shows, untyped positions as "0", in the form the core reads.
std::string RateFieldShown(const QLineEdit& field);

// A spin from `minimum` to `maximum` whose value changes by its arrows (and
// the Up and Down keys) only.
QSpinBox* MakeArrowSpin(QWidget* parent, const QString& name, int minimum, int maximum);

// Takes characters the code page holds (no control characters, which would
// break a line of the settings file) while the text stays within the limit;
// a text already longer than the limit may still be shortened.
class StoredTextValidator final : public QValidator {
  Q_OBJECT
 public:
  using Limit = std::function<std::size_t()>;
  StoredTextValidator(QLineEdit* field, Limit limit, UiPort& ui);
  State validate(QString& input, int& position) const override;

 private:
  QLineEdit* field_;
  Limit limit_;
  UiPort& ui_;
};

// A text field of the code page's characters within `limit`.
QLineEdit* MakeStoredTextField(QWidget* parent, const QString& name,
                               StoredTextValidator::Limit limit, UiPort& ui);
// The field's text as the settings file holds it (the validator admitted only
// characters that have bytes).
std::string StoredFieldText(const QLineEdit& field);

// A refused OK: the message (an error when no one field is at fault) and the
// focus on the field it names.
void ShowRefusal(QWidget* dialog, UiPort& ui, const EditorResult& refused);

}  // namespace plumgr::ui
