#include "transfer/register_snapshot_file.h"

#include <charconv>
#include <vector>

#include "data/text_lines.h"

namespace plumgr {
namespace {

constexpr std::string_view kHeader = "plumgr-register-image 1";

std::string Hex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(2 * bytes.size());
  for (std::uint8_t b : bytes) {
    text.push_back(kDigits[b >> 4]);
    text.push_back(kDigits[b & 0x0F]);
  }
  return text;
}

int Nibble(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::vector<std::uint8_t>> Bytes(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(hex.size() / 2);
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = Nibble(hex[i]);
    const int low = Nibble(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  return bytes;
}

std::optional<int> Number(std::string_view text) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  while (!line.empty()) {
    const std::size_t blank = line.find(' ');
    if (blank != 0) words.push_back(line.substr(0, blank));
    if (blank == std::string_view::npos) break;
    line.remove_prefix(blank + 1);
  }
  return words;
}

// One line of the file into the snapshot; the problem with it otherwise.
std::optional<std::string> ParseLine(const std::vector<std::string_view>& w,
                                     RegisterSnapshot& snapshot) {
  const std::string_view key = w[0];
  const auto number = [&w](std::size_t i) { return i < w.size() ? Number(w[i]) : std::nullopt; };
  const auto bytes = [&w](std::size_t i) {
    return i < w.size() ? Bytes(w[i]) : std::optional<std::vector<std::uint8_t>>{};
  };
  if (key == "price-decimals" && number(1)) {
    snapshot.PriceDecimals = *number(1);
  } else if (key == "kinds" && number(1)) {
    snapshot.DownloadKinds = static_cast<std::uint8_t>(*number(1));
  } else if (key == "plu-span" && number(1) && number(2)) {
    snapshot.PluSpans.push_back({*number(1), *number(2)});
  } else if (key == "plu-package" && number(1) && bytes(2) &&
             bytes(2)->size() == kPackageDataSize) {
    const std::vector<std::uint8_t> data = *bytes(2);
    std::copy(data.begin(), data.end(), snapshot.PluPackages[*number(1)].begin());
  } else if (key == "departments" && bytes(1)) {
    snapshot.Departments = *bytes(1);
  } else if (key == "recycling" && bytes(1)) {
    snapshot.Recycling = *bytes(1);
  } else if (key == "fast-sale" && bytes(1) && bytes(1)->size() == kPackageDataSize) {
    PackageBytes package{};
    const std::vector<std::uint8_t> data = *bytes(1);
    std::copy(data.begin(), data.end(), package.begin());
    snapshot.FastSale = package;
  } else if (key == "parameters" && bytes(1)) {
    snapshot.Parameters = *bytes(1);
  } else {
    return "cannot read \"" + std::string(key) + "\" here";
  }
  return std::nullopt;
}

}  // namespace

std::string RegisterSnapshotText(const RegisterSnapshot& snapshot) {
  std::string text = std::string(kHeader) + "\n";
  text += "price-decimals " + std::to_string(snapshot.PriceDecimals) + "\n";
  text += "kinds " + std::to_string(snapshot.DownloadKinds) + "\n";
  for (const PluRange& span : snapshot.PluSpans)
    text += "plu-span " + std::to_string(span.First) + " " + std::to_string(span.Last) + "\n";
  for (const auto& [n, data] : snapshot.PluPackages)
    text += "plu-package " + std::to_string(n) + " " + Hex(data) + "\n";
  if (!snapshot.Departments.empty()) text += "departments " + Hex(snapshot.Departments) + "\n";
  if (!snapshot.Recycling.empty()) text += "recycling " + Hex(snapshot.Recycling) + "\n";
  if (snapshot.FastSale) text += "fast-sale " + Hex(*snapshot.FastSale) + "\n";
  if (!snapshot.Parameters.empty()) text += "parameters " + Hex(snapshot.Parameters) + "\n";
  return text;
}

std::optional<std::string> ParseRegisterSnapshot(std::string_view text,
                                                 RegisterSnapshot& snapshot) {
  RegisterSnapshot read;
  int line_number = 0;
  bool header = false;
  LineCursor cursor(text);
  for (TextLine next; cursor.Next(next);) {
    ++line_number;
    const std::string_view line = next.Content;
    if (line.empty()) continue;
    if (!header) {
      if (line != kHeader) return "line 1: not a register image";
      header = true;
      continue;
    }
    const std::vector<std::string_view> words = Words(line);
    if (std::optional<std::string> problem = ParseLine(words, read))
      return "line " + std::to_string(line_number) + ": " + *problem;
  }
  if (!header) return "line 1: not a register image";
  read.PluSpans = JoinPluSpans(read.PluSpans);
  snapshot = std::move(read);
  return std::nullopt;
}

}  // namespace plumgr
