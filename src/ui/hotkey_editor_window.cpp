#include "ui/hotkey_editor_window.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "data/definitions.h"
#include "ui/hotkey_picker_dialog.h"
#include "ui/key_font_dialog.h"
#include "ui/key_grid_widget.h"
#include "ui/preview_window.h"
#include "ui/window_parts.h"
#include "ui/window_texts.h"

namespace plumgr::ui {
namespace {

constexpr int kPanelHeight = 38;

// One level sub-menu of the popup menu with its four commands.
struct LevelMenu {
  const char* Item;
  const char* Caption;
  const char* FontColor;
  const char* Backdrop;
  const char* Generate;
  const char* Separator;
  const char* Clear;
  LevelScope Scope;
};

constexpr LevelMenu kLevelMenus[] = {
    {"N1stlevel1", "1st level", "FontColor1", "BackColor1", "GenerateHotKeyTable1", "N2",
     "ClearHotKeyTable1", LevelScope::First},
    {"N2ndlevel1", "2nd level", "FontColor2", "BackColor2", "GenerateHotKeyTable2", "N3",
     "ClearHotKeyTable2", LevelScope::Second},
    {"All1", "All", "FontColor3", "BackdropColor1", "GenerateHotKeyTable3", "N4",
     "ClearHotKeyTable3", LevelScope::Both},
};

}  // namespace

HotkeyEditorWindow::HotkeyEditorWindow(MainWindowState& state, CommandRun run, QWidget* parent)
    : QWidget(parent, Qt::Window), run_(std::move(run)), ui_(this), model_(state, ui_, *this) {
  setObjectName("HotkeyFrm");
  setWindowTitle("Edit PLU Key");
  ui_.SetTitle(state.ApplicationTitle());
  grid_ = new KeyGridWidget(model_, this);
  font_dialog_ = new KeyFontDialog(this);
  color_dialog_ = new QColorDialog(this);
  color_dialog_->setObjectName("dlgColor1");
  color_dialog_->setOption(QColorDialog::DontUseNativeDialog);
  // The picker and the preview are windows of their own under the main window,
  // so that the editor's controls are the only ones under the editor's name.
  picker_ = new HotPluPickerDialog(parent);
  preview_ = new PreviewWindow(parent);
  BuildPopup();
  grid_->SetPopup([this](const QPoint& at) { popup_->popup(grid_->mapToGlobal(at)); });
  model_.Grid().OnRepaint = [this] {
    grid_->update();
    preview_->update();
  };

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(grid_);
  layout->addWidget(BuildPanel());
  auto* open = new QShortcut(QKeySequence::Open, this);
  connect(open, &QShortcut::activated, this, [this] { Run([this] { model_.OpenClick(); }); });
  auto* save = new QShortcut(QKeySequence::Save, this);
  connect(save, &QShortcut::activated, this, [this] { Run([this] { (void)model_.SaveClick(); }); });
  RegisterLanguageWindow(this);
}

HotkeyEditorWindow::~HotkeyEditorWindow() {
  model_.Grid().OnRepaint = nullptr;
}

void HotkeyEditorWindow::Run(const std::function<void()>& command) {
  (void)run_(command);
}

void HotkeyEditorWindow::AddButton(QWidget* panel, const char* name, const QString& caption,
                                   const std::function<void()>& command) {
  QPushButton* button = MakePanelButton(panel, name, caption);
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, [this, command] { Run(command); });
  panel->layout()->addWidget(button);
}

QWidget* HotkeyEditorWindow::BuildPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName("pnl1");
  panel->setFixedHeight(kPanelHeight);
  auto* buttons = new QHBoxLayout(panel);
  buttons->setContentsMargins(5, 6, 5, 7);
  buttons->setSpacing(2);
  AddButton(panel, "btn1", "Open", [this] { model_.OpenClick(); });
  AddButton(panel, "btn2", "Save", [this] { (void)model_.SaveClick(); });
  AddButton(panel, "btn3", "Save As", [this] { (void)model_.SaveAsClick(); });
  AddButton(panel, "btn4", "Preview", [this] { model_.PreviewClick(); });
  AddButton(panel, "btn5", "DownLoad", [this] { (void)model_.DownLoadClick(); });
  AddButton(panel, "UploadBtn", "UpLoad", [this] { model_.UploadClick(); });
  buttons->addStretch(1);
  return panel;
}

void HotkeyEditorWindow::BuildPopup() {
  popup_ = new QMenu(this);
  popup_->setObjectName("pm1");
  auto add = [this](QMenu* menu, const char* name, const char* caption,
                    const std::function<void()>& command) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, command] { Run(command); });
  };
  for (const LevelMenu& level : kLevelMenus) {
    QMenu* sub = popup_->addMenu(level.Caption);
    sub->setObjectName(level.Item);
    sub->menuAction()->setObjectName(level.Item);
    const LevelScope scope = level.Scope;
    add(sub, level.FontColor, "Font Color", [this, scope] { model_.FontColor(scope); });
    add(sub, level.Backdrop, "Backdrop Color", [this, scope] { model_.BackdropColor(scope); });
    add(sub, level.Generate, "Generate Hot Key Table",
        [this, scope] { model_.GenerateHotKeyTable(scope); });
    sub->addSeparator()->setObjectName(level.Separator);
    add(sub, level.Clear, "Clear Hot Key Table", [this, scope] { model_.ClearHotKeyTable(scope); });
  }
  popup_->addSeparator()->setObjectName("N1");
  add(popup_, "Cancel2ndlevel1", "Cancel 2nd level", [this] { model_.CancelSecondLevel(); });
  add(popup_, "Use2ndlevel1", "Use 2nd level", [this] { model_.UseSecondLevel(); });
}

void HotkeyEditorWindow::Open() {
  model_.TakeHotKeyLists();
  if (!isVisible()) {
    model_.Show();
    grid_->ShapeChanged();
    adjustSize();
    CentreOverOwner(this);
    show();
  }
  raise();
  activateWindow();
  grid_->setFocus();
}

bool HotkeyEditorWindow::ConfirmClose() {
  return !isVisible() || model_.ConfirmClose();
}

void HotkeyEditorWindow::closeEvent(QCloseEvent* event) {
  bool may_close = false;
  // While another command runs (a transfer's wait) the editor stays open.
  if (!run_([this, &may_close] { may_close = model_.ConfirmClose(); })) may_close = false;
  if (may_close)
    event->accept();
  else
    event->ignore();
}

std::optional<TFont> HotkeyEditorWindow::ChooseFont(const TFont& initial) {
  return font_dialog_->Choose(initial);
}

std::optional<TColor> HotkeyEditorWindow::ChooseColor() {
  if (color_dialog_->exec() != QDialog::Accepted) return std::nullopt;
  const QColor color = color_dialog_->currentColor();
  return RgbColor(static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
                  static_cast<std::uint8_t>(color.blue()));
}

bool HotkeyEditorWindow::PickKeys(HotPluPickerModel& picker) {
  return picker_->Pick(picker);
}

void HotkeyEditorWindow::ShowPreview(TMyGrid& grid) {
  preview_->ShowGrid(grid, CurrentProfile().KeyboardType);
}

}  // namespace plumgr::ui
