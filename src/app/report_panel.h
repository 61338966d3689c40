#pragma once
// The report panel under the tables: read-only text that only the report
// upload writes. The text is kept as the register's bytes; the view converts
// it with the code page when it shows it.

#include <functional>
#include <string>

namespace plumgr {

class ReportPanel {
 public:
  const std::string& Text() const { return text_; }
  // Replaces the whole content and tells the view.
  void SetText(std::string text);
  // Called after every replacement; the view repaints from Text().
  void SetChanged(std::function<void()> changed) { changed_ = std::move(changed); }

 private:
  std::string text_;
  std::function<void()> changed_;
};

}  // namespace plumgr
