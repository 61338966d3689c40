#pragma once
// The fields the settings editors are built of: labels, the masked rate field,
// spins changed by their arrows only, and text fields that take only what the
// settings file and the register can hold. Refusing a key beeps.

#include <QLineEdit>
#include <QValidator>
#include <cstddef>
#include <functional>
#include <string>

#include "app/editor_result.h"
#include "data/ui_port.h"
#include "ui/window_parts.h"

class QLabel;
class QSpinBox;
class QWidget;

namespace plumgr::ui {

// Two digits, the decimal separator, two digits; an untyped position shows
// "0". Its text is RateFieldShown.
QLineEdit* MakeRateField(QWidget* parent, const QString& name, char decimal_separator);
// What a rate field shows, untyped positions as "0", in the form the core reads.
std::string RateFieldShown(const QLineEdit& field);

// A spin from `minimum` to `maximum` whose value changes by its arrows (and
// the Up and Down keys) only.
QSpinBox* MakeArrowSpin(QWidget* parent, const QString& name, int minimum, int maximum);

// Takes only characters the code page holds, and no control characters
// (they would break a line of the settings file).
class StoredTextValidator final : public QValidator {
  Q_OBJECT
 public:
  StoredTextValidator(QObject* parent, UiPort& ui);
  State validate(QString& input, int& position) const override;

 private:
  UiPort& ui_;
};

// A text field of the code page's characters within a limit that may change
// (a header line's halves while it is bold). Typing cannot go beyond it; a
// text already longer stays and may be shortened. A refused key beeps.
class StoredTextField final : public QLineEdit {
  Q_OBJECT
 public:
  using Limit = std::function<std::size_t()>;
  StoredTextField(QWidget* parent, const QString& name, Limit limit, UiPort& ui);
  // The limit applies anew (after it changed).
  void RefreshLimit();
  // Shows the settings file's bytes, however long; and takes them back.
  void ShowStored(const std::string& bytes);
  std::string Stored() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Limit limit_;
  UiPort& ui_;
};

// A refused OK: the message (an error when no one field is at fault) and the
// focus on the field it names.
void ShowRefusal(QWidget* dialog, UiPort& ui, const EditorResult& refused);

// What an editor's OK did: true when it stored, else its refusal is shown.
bool StoredOrRefused(QWidget* dialog, UiPort& ui, const EditorResult& stored);

}  // namespace plumgr::ui
