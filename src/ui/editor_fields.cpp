#include "ui/editor_fields.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include "ui/display_text.h"
#include "ui/qt_ui_port.h"

namespace plumgr::ui {

QLabel* MakeNamedLabel(QWidget* parent, const char* name, const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  if (buddy != nullptr) label->setBuddy(buddy);
  return label;
}

QLineEdit* MakeRateField(QWidget* parent, const QString& name, char separator) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(name);
  // "0" marks an optional digit; after ";" comes the character an untyped
  // position shows.
  const QString shown_separator(QChar::fromLatin1(separator));
  field->setInputMask("00\\" + shown_separator + "00;0");
  field->setText("00" + shown_separator + "00");
  field->setMaximumWidth(field->fontMetrics().horizontalAdvance("000000") + 16);
  return field;
}

std::string RateFieldShown(const QLineEdit& field) {
  // The field's text() drops every character equal to the blank "0", typed
  // ones included; what it shows is the whole rate.
  return field.displayText().toStdString();
}

QSpinBox* MakeArrowSpin(QWidget* parent, const QString& name, int minimum, int maximum) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(name);
  spin->setRange(minimum, maximum);
  // Typing is refused by the spin's own text field; the arrows still step.
  if (auto* text = spin->findChild<QLineEdit*>()) text->setReadOnly(true);
  return spin;
}

StoredTextValidator::StoredTextValidator(QLineEdit* field, Limit limit, UiPort& ui)
    : QValidator(field), field_(field), limit_(std::move(limit)), ui_(ui) {}

QValidator::State StoredTextValidator::validate(QString& input, int&) const {
  bool holds = StoredText(input).has_value();
  for (QChar c : input)
    holds = holds && c.unicode() >= 0x20 && c.unicode() != 0x7F;
  const auto length = static_cast<std::size_t>(input.size());
  const bool fits = length <= limit_() || input.size() <= field_->text().size();
  if (holds && fits) return Acceptable;
  ui_.Beep();
  return Invalid;
}

QLineEdit* MakeStoredTextField(QWidget* parent, const QString& name,
                               StoredTextValidator::Limit limit, UiPort& ui) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(name);
  field->setValidator(new StoredTextValidator(field, std::move(limit), ui));
  return field;
}

std::string StoredFieldText(const QLineEdit& field) {
  return StoredText(field.text()).value_or(std::string());
}

void ShowRefusal(QWidget* dialog, UiPort& ui, const EditorResult& refused) {
  if (!refused.Message.empty()) {
    if (refused.Field.empty())
      ui.ShowError(refused.Message);
    else
      ui.ShowMessage(refused.Message);
  }
  if (refused.Field.empty()) return;
  auto* field = dialog->findChild<QWidget*>(QString::fromStdString(refused.Field));
  if (field == nullptr) return;
  field->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
}

}  // namespace plumgr::ui
