#pragma once
// Hands a file the program wrote (the repeat report, a memory listing) to the
// desktop's default application for it.

#include "app/file_opener.h"

namespace plumgr::ui {

class DesktopFileOpener final : public FileOpener {
 public:
  void OpenFile(const std::string& path) override;
};

}  // namespace plumgr::ui
