#include "sim/frame_log.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace plumgr::sim {

std::string UtcTimestamp() {
  auto now = std::chrono::system_clock::now();
  auto seconds = std::chrono::system_clock::to_time_t(now);
  auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                static_cast<int>(millis.count()));
  return text;
}

std::string JsonString(std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte >= 0x7f) {
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string FrameLogLine(const FrameLogEntry& entry, std::string_view time) {
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(512);
  for (int i = 0; i < 256; ++i) {
    hex += kHex[entry.Data[i] >> 4];
    hex += kHex[entry.Data[i] & 15];
  }
  std::string line = "{\"time\":" + JsonString(time) + ",\"type\":" + std::to_string(entry.Type) +
                     ",\"number\":" + std::to_string(entry.Number) +
                     ",\"length\":256,\"checksum_ok\":" + (entry.ChecksumOk ? "true" : "false") +
                     ",\"speed\":" + std::to_string(entry.Speed) +
                     ",\"reply\":" + JsonString(entry.Reply);
  if (!entry.Fault.empty()) line += ",\"fault\":" + JsonString(entry.Fault);
  return line + ",\"data\":\"" + hex + "\"}";
}

std::string EventLogLine(std::string_view event, std::string_view extra, std::string_view time) {
  std::string line = "{\"time\":" + JsonString(time) + ",\"event\":" + JsonString(event);
  if (!extra.empty()) {
    line += ',';
    line += extra;
  }
  return line + "}";
}

}  // namespace plumgr::sim
