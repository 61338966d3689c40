#include "ui/display_text.h"

#include "data/code_page.h"

namespace plumgr::ui {

QString DisplayText(const std::string& bytes) {
  return QString::fromStdU16String(DecodeCodePage(bytes, UpperHalfInForce()));
}

QString InterfaceText(const std::string& bytes) {
  return QString::fromStdU16String(DecodeCodePage(bytes, Windows1250()));
}

QString TitleText(const std::vector<std::string>& titles, std::size_t at) {
  return at < titles.size() ? InterfaceText(titles[at]) : QString();
}

QString CodePageText(CodePageId page) {
  const std::string_view name = CodePageName(page);
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

std::optional<std::string> StoredText(const QString& text) {
  return EncodeCodePage(text.toStdU16String(), UpperHalfInForce());
}

}  // namespace plumgr::ui
