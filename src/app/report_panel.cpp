#include "app/report_panel.h"

namespace plumgr {

void ReportPanel::SetText(std::string text) {
  text_ = std::move(text);
  if (changed_) changed_();
}

}  // namespace plumgr
