#include "app/hotkey_editor_model.h"

#include <algorithm>
#include <filesystem>

#include "app/file_commands.h"
#include "data/definitions.h"
#include "data/file_io.h"
#include "data/table_columns.h"

namespace plumgr {
namespace {

std::string FolderOf(const std::string& path) {
  std::string folder = std::filesystem::path(path).parent_path().string();
  if (folder.empty()) folder = ".";
  if (folder.back() != '/') folder += '/';
  return folder;
}

void FillItem(TGridItem& item, std::string code, std::string caption, std::int32_t type) {
  item.Code = std::move(code);
  item.Caption = std::move(caption);
  item.BTNType = type;
}

}  // namespace

HotkeyEditorModel::HotkeyEditorModel(MainWindowState& state, UiPort& ui,
                                     HotkeyEditorDialogs& dialogs)
    : state_(state), ui_(ui), dialogs_(dialogs) {
  grid_.DefaultColWidth = kKeyCellWidth;
  grid_.DefaultRowHeight = kKeyCellHeight;
  grid_.Color = kClBtnFace;
  grid_.Displayfunction = false;
  grid_.Isdisplayimage = false;
  grid_.SetCount(80);
}

void HotkeyEditorModel::TakeHotKeyLists() {
  const StringGrid& plu = state_.GetTables().PLUGrid;
  const int rows = std::min(CurrentProfile().PluCount, plu.DataRows());
  barcodes_.clear();
  names_.clear();
  for (int r = 1; r <= rows; ++r) {
    barcodes_.push_back(plu.Cell(PluCol::Barcode, r));
    names_.push_back(plu.Cell(PluCol::Name, r));
  }
}

void HotkeyEditorModel::Show() {
  ShapeKeyGrid(grid_, CurrentProfile().KeyboardType);
  grid_.Selection = {0, 0, 0, 0};
  grid_.Col = 0;
  grid_.Row = 0;
  Select(grid_.Selection);
  hotkey_file_name_ = FolderOf(state_.SettingsPath()) + kHotkeyFileName;
  modified_ = false;
  std::error_code ec;
  if (std::filesystem::exists(hotkey_file_name_, ec)) (void)LoadLayout(hotkey_file_name_);
  grid_.Repaint();
}

void HotkeyEditorModel::Select(const GridSelection& selection) {
  grid_.Selection = selection;
  for (int i = 0; i < grid_.StoredCount(); ++i) {
    const int col = grid_.ColCount > 0 ? i % grid_.ColCount : 0;
    const int row = grid_.ColCount > 0 ? i / grid_.ColCount : 0;
    grid_.Items(i).Selected = selection.Contains(col, row);
  }
}

bool HotkeyEditorModel::LoadLayout(const std::string& path) {
  FileReadResult file = ReadFileBytes(path);
  if (!file.Ok) {
    ui_.ShowError(file.Message);
    return false;
  }
  const char separator = state_.DecimalSeparator();
  TMyGrid trial;
  trial.SetCount(grid_.StoredCount());
  KeyResult tried = trial.LoadFromText(file.Bytes, separator);
  if (!tried) {
    ui_.ShowError(path + ": " + tried.Message);
    return false;
  }
  (void)grid_.LoadFromText(file.Bytes, separator);  // converts as the trial did
  return true;
}

bool HotkeyEditorModel::SaveLayout(const std::string& path) {
  KeyResult saved = grid_.SaveToFile(path, state_.DecimalSeparator());
  if (!saved) {
    ui_.ShowError(saved.Message);
    return false;
  }
  modified_ = false;
  return true;
}

FileDialogOptions HotkeyEditorModel::KeyFileDialog() const {
  return {kKeyFileFilter, "", FolderOf(hotkey_file_name_)};
}

void HotkeyEditorModel::OpenClick() {
  std::optional<std::string> chosen = ui_.ChooseOpenFile(KeyFileDialog());
  if (chosen && LoadLayout(*chosen)) modified_ = true;
  grid_.Repaint();
}

bool HotkeyEditorModel::SaveClick() {
  return SaveLayout(hotkey_file_name_);
}

bool HotkeyEditorModel::SaveAsClick() {
  std::optional<std::string> chosen = ui_.ChooseSaveFile(KeyFileDialog());
  if (!chosen) return false;
  std::string path = *chosen;
  if (!std::filesystem::path(path).has_extension()) path += kKeyFileExtension;
  return SaveLayout(path);
}

void HotkeyEditorModel::PreviewClick() {
  dialogs_.ShowPreview(grid_);
}

std::string HotkeyEditorModel::DumpPath() const {
  return HotKeyDumpPath(state_.DumpDir());
}

bool HotkeyEditorModel::DownLoadClick() {
  HotKeyTableResult encoded = EncodeHotKeyTable(grid_);
  if (!encoded.Ok) {
    ui_.ShowError(encoded.Message);
    return false;
  }
  table_ = std::move(encoded.Table);
  KeyResult written = WriteHotKeyDump(table_, state_.DumpDir());
  if (!written) ui_.ShowError(written.Message);
  return written.Ok;
}

void HotkeyEditorModel::UploadClick() {
  grid_.Repaint();
}

std::vector<TGridItem*> HotkeyEditorModel::SelectedItems(LevelScope scope) {
  std::vector<TGridItem*> items;
  const int count = grid_.SelectItemCount();
  for (int i = 0; i < count; ++i) {
    TGridList& key = grid_.SelectItems(i);
    if (scope != LevelScope::Second) items.push_back(&key.fs1Btn());
    if (scope != LevelScope::First) items.push_back(&key.sc2Btn());
  }
  return items;
}

void HotkeyEditorModel::FontColor(LevelScope scope) {
  std::optional<TFont> font = dialogs_.ChooseFont(font_choice_);
  if (font) {
    font_choice_ = *font;
    for (TGridItem* item : SelectedItems(scope)) {
      item->Font = *font;
      modified_ = true;
    }
  }
  grid_.Repaint();
}

void HotkeyEditorModel::BackdropColor(LevelScope scope) {
  std::optional<TColor> color = dialogs_.ChooseColor();
  if (color) {
    for (TGridItem* item : SelectedItems(scope)) {
      item->Background = *color;
      modified_ = true;
    }
  }
  grid_.Repaint();
}

void HotkeyEditorModel::GenerateHotKeyTable(LevelScope scope) {
  // The lists are taken again, so that the picker offers the PLU table as it
  // is now, with the edits made since the editor was opened.
  TakeHotKeyLists();
  picker_.Load(barcodes_, names_, state_.GetTables().DeptmentGrid, CurrentProfile().PluCount,
               CurrentProfile().DeptCount);
  if (!dialogs_.PickKeys(picker_)) {
    grid_.Repaint();
    return;
  }
  const int n = grid_.SelectItemCount();
  const std::vector<int> candidates = picker_.Candidates();
  for (int i = 0; i < static_cast<int>(candidates.size()); ++i) {
    TGridItem* target = nullptr;
    if (scope == LevelScope::First && i < n) target = &grid_.SelectItems(i).fs1Btn();
    if (scope == LevelScope::Second && i < n) target = &grid_.SelectItems(i).sc2Btn();
    if (scope == LevelScope::Both && i < n) target = &grid_.SelectItems(i).fs1Btn();
    if (scope == LevelScope::Both && i >= n && i < 2 * n)
      target = &grid_.SelectItems(i - n).sc2Btn();
    if (target == nullptr) break;
    // The key gets what the picker showed in the row.
    const int row = candidates[static_cast<size_t>(i)];
    if (picker_.DeptPageChosen())
      FillItem(*target, std::to_string(row), picker_.Cell(PickerPage::Department, 1, row), 2);
    else
      FillItem(*target, picker_.Cell(PickerPage::Plu, 1, row),
               picker_.Cell(PickerPage::Plu, 2, row), 1);
    modified_ = true;
  }
  grid_.Repaint();
}

void HotkeyEditorModel::ClearHotKeyTable(LevelScope scope) {
  for (TGridItem* item : SelectedItems(scope)) {
    item->Code.clear();
    item->Caption.clear();
    modified_ = true;
  }
  grid_.Repaint();
}

void HotkeyEditorModel::SetCenterLine(bool on) {
  const int count = grid_.SelectItemCount();
  for (int i = 0; i < count; ++i) {
    grid_.SelectItems(i).CenterLine = on;
    modified_ = true;
  }
  grid_.Repaint();
}

void HotkeyEditorModel::UseSecondLevel() {
  SetCenterLine(true);
}

void HotkeyEditorModel::CancelSecondLevel() {
  SetCenterLine(false);
}

bool HotkeyEditorModel::ConfirmClose() {
  if (!modified_) return true;
  switch (ui_.AskYesNoCancel(kSavePrompt)) {
    case Answer::Cancel:
      return false;
    case Answer::No:
      return true;
    default:
      return SaveClick();
  }
}

}  // namespace plumgr
