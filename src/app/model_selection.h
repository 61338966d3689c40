#pragma once
// The "Select ECR" command: a list of the register models with one tick, OK and
// Close. The dialog is a view of SelectEcrModel; the command applies the choice.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_state.h"

namespace plumgr {

class SelectEcrModel {
 public:
  // Fills the list with the titles of the models and ticks the current one.
  SelectEcrModel();

  const std::vector<std::string>& Titles() const { return titles_; }
  bool Ticked(int line) const;
  // Ticking a line clears the ticks of every other line.
  void Tick(int line);
  // The line last clicked or moved to; -1 when none.
  int Highlighted() const { return highlighted_; }
  void Highlight(int line);

 private:
  std::vector<std::string> titles_;
  std::vector<bool> ticked_;
  int highlighted_ = -1;
};

// Shows the dialog modally; true for OK, false for Close.
using SelectEcrDialog = std::function<bool(SelectEcrModel& model)>;

// Runs the command: on OK selects the highlighted model (none keeps the model),
// applies the profile and writes [Other] Service. Close changes nothing. Returns
// whether OK was chosen.
bool SelectEcrCommand(MainWindowState& state, const SelectEcrDialog& dialog);

}  // namespace plumgr
