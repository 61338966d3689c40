#pragma once
// The hot-key editor ("Edit PLU Key", HotkeyFrm): one key grid shaped for the
// register's keyboard, its .Key files, the popup menu's level commands, the
// picker that puts PLUs and departments on keys, the preview and the encoded
// hot-key table with its dump file. The window binds to it and opens the
// dialogs it asks for.

#include <optional>
#include <string>
#include <vector>

#include "app/hotkey_picker_model.h"
#include "app/main_window_state.h"
#include "data/color_font.h"
#include "data/ui_port.h"
#include "hotkey/hotkey_table.h"
#include "hotkey/key_grid.h"

namespace plumgr {

inline constexpr const char* kHotkeyFileName = "Hotkey.Key";
inline constexpr const char* kKeyFileFilter = "File|*.Key";
inline constexpr const char* kKeyFileExtension = ".Key";
// The editor's cells, in pixels.
inline constexpr int kKeyCellWidth = 80;
inline constexpr int kKeyCellHeight = 60;

// Which level of the selected keys a popup command changes.
enum class LevelScope { First = 1, Second = 2, Both = 3 };

// The dialogs the editor opens; the window supplies them, tests script them.
class HotkeyEditorDialogs {
 public:
  virtual ~HotkeyEditorDialogs() = default;
  // The font dialog preset with `initial`: the chosen font (name, size,
  // character set, style and colour), or nothing when cancelled.
  virtual std::optional<TFont> ChooseFont(const TFont& initial) = 0;
  // The colour dialog: the chosen colour, or nothing when cancelled.
  virtual std::optional<TColor> ChooseColor() = 0;
  // The picker, modal, already loaded; true when it closed with Ok.
  virtual bool PickKeys(HotPluPickerModel& picker) = 0;
  // The preview window, modeless, drawing the grid.
  virtual void ShowPreview(TMyGrid& grid) = 0;
};

class HotkeyEditorModel {
 public:
  // Messages and file dialogs go through `ui`, centred on the editor.
  HotkeyEditorModel(MainWindowState& state, UiPort& ui, HotkeyEditorDialogs& dialogs);
  HotkeyEditorModel(const HotkeyEditorModel&) = delete;
  HotkeyEditorModel& operator=(const HotkeyEditorModel&) = delete;

  TMyGrid& Grid() { return grid_; }

  // "Hot Key": the barcode and name lists from the PLU table's rows.
  void TakeHotKeyLists();
  const std::vector<std::string>& BarcodeList() const { return barcodes_; }
  const std::vector<std::string>& NameList() const { return names_; }

  // Showing the window: the keyboard's grid with empty keys, then the default
  // layout file when it exists.
  void Show();
  // The default layout file: Hotkey.Key in the folder of the settings file,
  // which is the program's own folder unless that cannot hold it.
  const std::string& HotkeyFileName() const { return hotkey_file_name_; }

  // The range of selected cells; the keys inside it are marked Selected.
  void Select(const GridSelection& selection);

  // The buttons. Open loads a chosen file onto the keys; Save writes the
  // default file whatever was opened; Save As writes a chosen file, adding
  // ".Key" to a name without an extension. False when a file was not written.
  void OpenClick();
  bool SaveClick();
  bool SaveAsClick();
  void PreviewClick();
  // Encodes the layout into the hot-key table and writes its dump file.
  bool DownLoadClick();
  void UploadClick();

  // The popup menu, on the selected keys in ascending key order.
  void FontColor(LevelScope scope);
  void BackdropColor(LevelScope scope);
  void GenerateHotKeyTable(LevelScope scope);
  void ClearHotKeyTable(LevelScope scope);
  void UseSecondLevel();
  void CancelSecondLevel();

  // The layout differs from what was shown or last saved.
  bool Modified() const { return modified_; }
  // Closing the window: true when it may close. Unsaved changes are asked
  // about first (Yes saves them to the default file), since showing the
  // window again reloads that file.
  bool ConfirmClose();

  HotPluPickerModel& Picker() { return picker_; }
  // The table DownLoad encoded last.
  const HotKeyTable& Table() const { return table_; }
  // Where DownLoad writes the table.
  std::string DumpPath() const;

 private:
  // Loads a layout file onto the keys only when every line of it converts, so
  // a damaged file leaves the layout as it was; the message names the file.
  bool LoadLayout(const std::string& path);
  bool SaveLayout(const std::string& path);
  // The scope's items of every selected key.
  std::vector<TGridItem*> SelectedItems(LevelScope scope);
  void SetCenterLine(bool on);
  FileDialogOptions KeyFileDialog() const;

  MainWindowState& state_;
  UiPort& ui_;
  HotkeyEditorDialogs& dialogs_;
  TMyGrid grid_;
  HotPluPickerModel picker_;
  std::vector<std::string> barcodes_;
  std::vector<std::string> names_;
  std::string hotkey_file_name_;
  TFont font_choice_;  // the font dialog keeps the last choice
  HotKeyTable table_;
  bool modified_ = false;
};

}  // namespace plumgr
