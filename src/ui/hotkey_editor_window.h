#pragma once
// "Edit PLU Key" (HotkeyFrm): the hot-key designer's window over the editor
// model: the key grid, the button panel (Open, Save, Save As, Preview,
// DownLoad, UpLoad), the popup menu of level commands and the dialogs they
// open. It is modeless; its commands run one at a time with the main window's.

#include <QWidget>
#include <functional>
#include <optional>

#include "app/hotkey_editor_model.h"
#include "ui/qt_ui_port.h"

class QColorDialog;
class QMenu;

namespace plumgr::ui {

class HotPluPickerDialog;
class KeyFontDialog;
class KeyGridWidget;
class PreviewWindow;

// Runs a command unless another one is running (false then).
using CommandRun = std::function<bool(const std::function<void()>&)>;

class HotkeyEditorWindow final : public QWidget, private HotkeyEditorDialogs {
  Q_OBJECT
 public:
  // The window belongs to the main window (`parent`); the preview is centred on it.
  HotkeyEditorWindow(MainWindowState& state, CommandRun run, QWidget* parent);
  ~HotkeyEditorWindow() override;

  // "Hot Key": the hot-key lists from the PLU table. A hidden editor is shown
  // with its grid rebuilt and the default layout file loaded; a shown one
  // comes to the front as it is.
  void Open();
  // Before the program closes: true when it may, after asking about a layout
  // that was changed and not saved.
  bool ConfirmClose();

  HotkeyEditorModel& Model() { return model_; }
  KeyGridWidget& Grid() { return *grid_; }
  QMenu& Popup() { return *popup_; }
  HotPluPickerDialog& Picker() { return *picker_; }
  PreviewWindow& Preview() { return *preview_; }
  KeyFontDialog& FontDialog() { return *font_dialog_; }
  QColorDialog& ColorDialog() { return *color_dialog_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::optional<TFont> ChooseFont(const TFont& initial) override;
  std::optional<TColor> ChooseColor() override;
  bool PickKeys(HotPluPickerModel& picker) override;
  void ShowPreview(TMyGrid& grid) override;

  QWidget* BuildPanel();
  void BuildPopup();
  void AddButton(QWidget* panel, const char* name, const QString& caption,
                 const std::function<void()>& command);
  // Runs a model command through the main window's runner.
  void Run(const std::function<void()>& command);

  CommandRun run_;
  QtUiPort ui_;
  HotkeyEditorModel model_;
  KeyGridWidget* grid_ = nullptr;
  QMenu* popup_ = nullptr;
  KeyFontDialog* font_dialog_ = nullptr;
  QColorDialog* color_dialog_ = nullptr;
  HotPluPickerDialog* picker_ = nullptr;
  PreviewWindow* preview_ = nullptr;
};

}  // namespace plumgr::ui
