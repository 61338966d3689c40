// The INI editor on arbitrary bytes: parsing and writing back gives the same
// bytes, reads never fail, and a written value reads back as written.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/ini_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  plumgr::IniDocument doc = plumgr::IniDocument::Parse(bytes);
  if (doc.Serialize() != bytes) __builtin_trap();

  (void)doc.ReadString("Default", "Header1", "");
  (void)doc.ReadInteger("Comm", "Port", 2);
  (void)doc.ReadBool("Default", "Flag00", false);

  // The value comes from the input's last bytes, so it may hold quotes, blanks,
  // line breaks and NUL bytes.
  std::string value(bytes.substr(size > 12 ? size - 12 : 0));
  doc.WriteString("Default", "Header1", value);
  std::string expected = value;
  for (char& c : expected)
    if (c == '\r' || c == '\n') c = ' ';
  plumgr::IniDocument reread = plumgr::IniDocument::Parse(doc.Serialize());
  if (reread.ReadString("Default", "Header1", "missing") != expected) __builtin_trap();
  if (reread.WriteString("Default", "Header1", value)) __builtin_trap();
  return 0;
}
