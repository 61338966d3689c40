#pragma once
// The main window's state as a model object: the tables, the small tables, the
// open data file set, the port settings and the caption. The desktop window
// binds to it; the command line drives the same object.

#include <memory>
#include <string>
#include <vector>

#include "data/definitions.h"
#include "data/grid_edit_model.h"
#include "data/small_tables.h"
#include "data/tables.h"
#include "data/ui_port.h"

namespace plumgr {

class Settings;

struct StartUpOptions {
  std::string SettingsOverride;  // a settings file given on the command line
  std::string DumpDirOverride;   // a dump directory given on the command line
  char DecimalSeparator = '.';
};

class MainWindowState {
 public:
  explicit MainWindowState(UiPort& ui) : ui_(ui) {}
  MainWindowState(const MainWindowState&) = delete;
  MainWindowState& operator=(const MainWindowState&) = delete;

  // Start-up before any window: texts, ExeDir, the settings file, the register
  // model; then the create step: port settings, EcrPluTable, ApplyProfile and
  // the tables reset to their defaults.
  void StartUp(const StartUpOptions& options);

  // Caption and application title from the profile, table sizes, visibility of
  // "Recycling..." and "Hot Key". Rows that a larger model adds get their defaults.
  void ApplyProfile();

  // Makes the settings file's [Other] CodePage the code page in force (start-up,
  // and after Open replaced the settings file); a value that names none warns.
  void ApplyCodePageSetting();

  UiPort& Ui() { return ui_; }
  char DecimalSeparator() const { return separator_; }

  Tables& GetTables() { return tables_; }
  const Tables& GetTables() const { return tables_; }
  RecyclingTable& Recycling() { return recycling_; }
  FastSaleTable& FastSale() { return fast_sale_; }
  GridEditModel& PluEdit() { return *plu_edit_; }
  GridEditModel& DeptEdit() { return *dept_edit_; }
  // The table that has the input focus, or none (another control has it).
  void SetFocusedTable(GridEditModel* grid) { focused_ = grid; }
  GridEditModel* FocusedTable() const { return focused_; }

  const std::string& ExeDir() const { return exe_dir_; }
  const std::string& SettingsPath() const { return settings_path_; }
  const std::string& CompanyName() const { return company_name_; }

  const std::string& CurrentFileName() const { return current_file_name_; }
  void SetCurrentFileName(std::string name) { current_file_name_ = std::move(name); }
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }
  // The tables hold what an upload read and no save has written yet: the set
  // they are saved over keeps its previous files in a backup first.
  bool RegisterDataUnsaved() const { return register_data_unsaved_; }
  void SetRegisterDataUnsaved(bool unsaved) { register_data_unsaved_ = unsaved; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  const std::string& ApplicationTitle() const { return application_title_; }
  // The caption of an open set: the title, "~[", the .PLU file's full path, "]".
  void SetFileCaption();

  int PortIndex() const { return port_index_; }
  void SetPortIndex(int index) { port_index_ = index; }
  int BaudIndex() const { return baud_index_; }
  void SetBaudIndex(int index) { baud_index_ = index; }

  bool RecyclingItemVisible() const { return recycling_visible_; }
  bool HotKeyItemVisible() const { return hot_key_visible_; }

  std::vector<std::string>& RepeatReport() { return repeat_report_; }

  // Where the package dumps, TEMP.BIN and TEMP.LOG go (created on first use).
  const std::string& DumpDir() const { return dump_dir_; }
  void SetDumpDir(std::string dir) { dump_dir_ = std::move(dir); }

 private:
  void ApplyCodePage(const Settings& settings);
  void CreateEditModels();

  UiPort& ui_;
  char separator_ = '.';
  Tables tables_;
  RecyclingTable recycling_{};
  FastSaleTable fast_sale_{};
  std::unique_ptr<GridEditModel> plu_edit_;
  std::unique_ptr<GridEditModel> dept_edit_;
  GridEditModel* focused_ = nullptr;

  std::string exe_dir_;
  std::string settings_path_;
  std::string company_name_;
  std::string current_file_name_;
  bool modified_ = false;
  bool register_data_unsaved_ = false;
  std::string caption_;
  std::string application_title_;
  int port_index_ = 2;
  int baud_index_ = 0;
  bool recycling_visible_ = false;
  bool hot_key_visible_ = false;
  std::vector<std::string> repeat_report_;
  std::string dump_dir_;
};

}  // namespace plumgr
