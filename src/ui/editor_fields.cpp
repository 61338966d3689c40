#include "ui/editor_fields.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <algorithm>

#include "ui/display_text.h"
#include "ui/qt_ui_port.h"

namespace plumgr::ui {

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

StoredTextValidator::StoredTextValidator(QObject* parent, UiPort& ui)
    : QValidator(parent), ui_(ui) {}

QValidator::State StoredTextValidator::validate(QString& input, int&) const {
  bool holds = StoredText(input).has_value();
  for (QChar c : input)
    holds = holds && c.unicode() >= 0x20 && c.unicode() != 0x7F;
  if (holds) return Acceptable;
  ui_.Beep();
  return Invalid;
}

StoredTextField::StoredTextField(QWidget* parent, const QString& name, Limit limit, UiPort& ui)
    : QLineEdit(parent), limit_(std::move(limit)), ui_(ui) {
  setObjectName(name);
  setValidator(new StoredTextValidator(this, ui));
  connect(this, &QLineEdit::textChanged, this, &StoredTextField::RefreshLimit);
  RefreshLimit();
}

void StoredTextField::RefreshLimit() {
  // Never below the text's length, so that nothing already there is cut.
  const auto limit = static_cast<int>(limit_());
  setMaxLength(std::max(limit, static_cast<int>(text().size())));
}

void StoredTextField::ShowStored(const std::string& bytes) {
  const QString shown = DisplayText(bytes);
  setMaxLength(std::max(static_cast<int>(limit_()), static_cast<int>(shown.size())));
  setText(shown);
}

std::string StoredTextField::Stored() const {
  return StoredText(text()).value_or(std::string());
}

void StoredTextField::keyPressEvent(QKeyEvent* event) {
  const bool adds = !event->text().isEmpty() && event->text()[0].unicode() >= 0x20 &&
                    !event->modifiers().testFlag(Qt::ControlModifier);
  if (adds && !hasSelectedText() && text().size() >= maxLength()) ui_.Beep();
  QLineEdit::keyPressEvent(event);
}

bool StoredOrRefused(QWidget* dialog, UiPort& ui, const EditorResult& stored) {
  if (stored) return true;
  ShowRefusal(dialog, ui, stored);
  return false;
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
