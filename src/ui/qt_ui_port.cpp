#include "ui/qt_ui_port.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <algorithm>

#include "data/helpers.h"

namespace plumgr::ui {
namespace {

QMessageBox::Icon IconOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Information:
      return QMessageBox::Information;
    case MessageKind::Error:
      return QMessageBox::Critical;
    case MessageKind::YesNoCancel:
      return QMessageBox::Warning;
    case MessageKind::YesNo:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageKind::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    default:
      return QMessageBox::Ok;
  }
}

Answer AnswerOf(int button) {
  switch (button) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Ok:
      return Answer::Ok;
    default:
      return Answer::Cancel;
  }
}

}  // namespace

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

std::string FromQString(const QString& text) {
  return text.toStdString();
}

QString QtNameFilters(const std::string& filter) {
  std::vector<std::string> parts;
  SplitText(filter, "|", parts);
  QStringList filters;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    const std::string& description = parts[i];
    const std::string pattern = parts[i + 1];
    // Qt reads the patterns from the parentheses at the end of the description.
    const std::string tail = "(" + pattern + ")";
    const bool has_tail =
        description.size() >= tail.size() &&
        description.compare(description.size() - tail.size(), tail.size(), tail) == 0;
    std::string patterns = pattern;
    std::replace(patterns.begin(), patterns.end(), ';', ' ');
    filters << ToQString(has_tail ? description : description + " (" + patterns + ")");
  }
  if (filters.isEmpty() && !filter.empty()) filters << ToQString(filter);
  return filters.join(";;");
}

void QtUiPort::ShowMessage(const std::string& text) {
  Ask(MessageKind::Information, text);
}

void QtUiPort::ShowError(const std::string& text) {
  Ask(MessageKind::Error, text);
}

Answer QtUiPort::AskYesNoCancel(const std::string& text) {
  return Ask(MessageKind::YesNoCancel, text);
}

Answer QtUiPort::AskYesNo(const std::string& text) {
  return Ask(MessageKind::YesNo, text);
}

Answer QtUiPort::Ask(MessageKind kind, const std::string& text) {
  if (answer_) {
    if (std::optional<Answer> answer = answer_(kind, text)) return *answer;
  }
  QMessageBox box(IconOf(kind), ToQString(title_), ToQString(text), ButtonsOf(kind), parent_);
  box.setObjectName("MessageBox");
  // The busy cursor of long work must not hide the box's buttons.
  const bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int button = box.exec();
  if (busy) QApplication::restoreOverrideCursor();
  // Closing the box by its title bar or Escape answers Cancel (No where there is none).
  if (kind == MessageKind::YesNo && button != QMessageBox::Yes) return Answer::No;
  return AnswerOf(button);
}

std::optional<std::string> QtUiPort::ChooseOpenFile(const FileDialogOptions& options) {
  return ChooseFile(options, false);
}

std::optional<std::string> QtUiPort::ChooseSaveFile(const FileDialogOptions& options) {
  return ChooseFile(options, true);
}

std::optional<std::string> QtUiPort::ChooseFile(const FileDialogOptions& options, bool save) {
  QFileDialog dialog(parent_);
  dialog.setObjectName(save ? "SaveDialog" : "OpenDialog");
  // Qt's own dialog, so that it behaves the same on every desktop and in tests.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilter(QtNameFilters(options.Filter));
  dialog.setDefaultSuffix(ToQString(options.DefaultExtension));
  dialog.setDirectory(QDir(ToQString(options.InitialDir)).absolutePath());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return FromQString(QDir::toNativeSeparators(dialog.selectedFiles().first()));
}

void QtUiPort::Beep() {
  ++beeps_;
  QApplication::beep();
}

void QtUiPort::SetBusy(bool busy) {
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

}  // namespace plumgr::ui
