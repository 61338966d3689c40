#include "app/model_selection.h"

#include "data/settings_keys.h"
#include "data/settings_location.h"

namespace plumgr {

SelectEcrModel::SelectEcrModel() {
  for (const EcrProfile& profile : EcrProfileTable())
    titles_.push_back(profile.Title);
  ticked_.assign(titles_.size(), false);
  Tick(CurrentProfile().Model);
}

bool SelectEcrModel::Ticked(int line) const {
  return line >= 0 && line < static_cast<int>(ticked_.size()) && ticked_[line];
}

void SelectEcrModel::Tick(int line) {
  if (line < 0 || line >= static_cast<int>(ticked_.size())) return;
  ticked_.assign(ticked_.size(), false);
  ticked_[line] = true;
}

void SelectEcrModel::Highlight(int line) {
  if (line >= -1 && line < static_cast<int>(titles_.size())) highlighted_ = line;
}

bool SelectEcrCommand(MainWindowState& state, const SelectEcrDialog& dialog) {
  SelectEcrModel model;
  if (!dialog(model)) return false;
  SelectProfile(model.Highlighted());
  state.ApplyProfile();
  FileResult written = SettingsFile(state.SettingsPath())
                           .WriteInteger(kSectionOther, "Service", CurrentProfile().Model);
  if (!written) state.Ui().ShowError(written.Message);
  return true;
}

}  // namespace plumgr
