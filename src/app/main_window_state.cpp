#include "app/main_window_state.h"

#include "data/app_paths.h"
#include "data/settings_keys.h"
#include "data/settings_location.h"

namespace plumgr {

void MainWindowState::StartUp(const StartUpOptions& options) {
  separator_ = options.DecimalSeparator;
  Texts() = DefaultDisplayTexts(separator_);
  exe_dir_ = ExecutableDir();
  settings_path_ = SettingsFilePath(options.SettingsOverride);
  dump_dir_ = options.DumpDirOverride.empty() ? DefaultDumpDir() : options.DumpDirOverride;

  // One read of the settings file serves the whole start-up; a missing or
  // unreadable file gives every key its default.
  IniReadResult read = SettingsFile(settings_path_).Read();
  Settings settings(read.Document, separator_);
  company_name_ = settings.CompanyName();
  const ServiceModel model = ModelForService(settings.Service());
  if (!model.Warning.empty()) ui_.ShowMessage(model.Warning);
  SelectProfile(model.Model);
  ApplyCodePage(settings);

  port_index_ = settings.Port();
  baud_index_ = settings.BaudRate();
  ClearEcrPluTable(tables_);
  recycling_ = InitialRecyclingTable(separator_);
  fast_sale_ = InitialFastSaleTable();
  CreateEditModels();
  ApplyProfile();
  ResetAllRows(tables_, separator_);
  plu_edit_->TablesReplaced();
  dept_edit_->TablesReplaced();
}

void MainWindowState::ApplyCodePageSetting() {
  IniReadResult read = SettingsFile(settings_path_).Read();
  ApplyCodePage(Settings(read.Document, separator_));
}

void MainWindowState::ApplyCodePage(const Settings& settings) {
  const CodePageSetting page = settings.CodePage();
  if (!page.Warning.empty()) ui_.ShowMessage(page.Warning);
  SetCodePageInForce(page.Page);
}

void MainWindowState::CreateEditModels() {
  GridEditHooks hooks;
  hooks.SetModified = [this] { modified_ = true; };
  plu_edit_ = std::make_unique<GridEditModel>(tables_, GridId::Plu, ui_, separator_, hooks);
  dept_edit_ = std::make_unique<GridEditModel>(tables_, GridId::Dept, ui_, separator_, hooks);
}

void MainWindowState::ApplyProfile() {
  const EcrProfile& profile = CurrentProfile();
  caption_ = profile.Title;
  application_title_ = profile.Title;
  const int old_plu_rows = tables_.PLUGrid.DataRows();
  const int old_dept_rows = tables_.DeptmentGrid.DataRows();
  SizeTables(tables_, profile);
  // A model with more rows than before leaves its new rows with their defaults.
  ResetRows(tables_, GridId::Plu, old_plu_rows + 1, tables_.PLUGrid.DataRows(), separator_);
  ResetRows(tables_, GridId::Dept, old_dept_rows + 1, tables_.DeptmentGrid.DataRows(), separator_);
  recycling_visible_ = profile.RecyclingEnabled;
  hot_key_visible_ = profile.HotKeyEnabled;
  if (plu_edit_) plu_edit_->TablesReplaced();
  if (dept_edit_) dept_edit_->TablesReplaced();
}

void MainWindowState::SetFileCaption() {
  caption_ = CurrentProfile().Title + "~[" + current_file_name_ + "]";
}

}  // namespace plumgr
