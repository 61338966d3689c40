#include "sim/state_file.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iterator>
#include <span>
#include <sstream>
#include <vector>

namespace plumgr::sim {
namespace {

constexpr std::string_view kMagic = "ecrsim-state 1";
constexpr std::size_t kChunk = 64;  // bytes a line for the blocks and the report

std::string Hex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (std::uint8_t byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

bool AllZero(std::span<const std::uint8_t> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

void WriteBlock(std::ostringstream& out, std::string_view keyword,
                std::span<const std::uint8_t> block) {
  for (std::size_t offset = 0; offset < block.size(); offset += kChunk) {
    auto chunk = block.subspan(offset, std::min(kChunk, block.size() - offset));
    if (!AllZero(chunk)) out << keyword << ' ' << offset << ' ' << Hex(chunk) << '\n';
  }
}

std::optional<std::vector<std::uint8_t>> ParseHex(std::string_view text) {
  if (text.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes(text.size() / 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    auto [end, error] = std::from_chars(text.data() + 2 * i, text.data() + 2 * i + 2, bytes[i], 16);
    if (error != std::errc{} || end != text.data() + 2 * i + 2) return std::nullopt;
  }
  return bytes;
}

std::optional<long> ParseNumber(std::string_view text) {
  long value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  while (!line.empty()) {
    std::size_t blank = line.find(' ');
    if (blank != 0) fields.push_back(line.substr(0, blank));
    if (blank == std::string_view::npos) break;
    line.remove_prefix(blank + 1);
  }
  return fields;
}

// Reads one item into image; an error text when the line does not fit its form.
class LineReader {
 public:
  explicit LineReader(RegisterImage& image) : image_(image) {}

  std::optional<std::string> Read(const std::vector<std::string_view>& f) {
    std::string_view keyword = f[0];
    if (keyword == "price-decimals") return PriceDecimals(f);
    if (keyword == "reports-cleared") return ReportsCleared(f);
    if (keyword == "plu") return Plu(f);
    if (keyword == "sale") return Sale(f);
    if (keyword == "department")
      return Record(f, image_.Memory.Departments, kDepartmentRecordSize, kDepartmentCount);
    if (keyword == "recycling")
      return Record(f, image_.Memory.Recycling, kRecyclingRecordSize, kRecyclingCount);
    if (keyword == "parameters") return Block(f, image_.Memory.Parameters);
    if (keyword == "fast-sale") return Block(f, image_.Memory.FastSale);
    if (keyword == "report") return ReportPiece(f);
    if (keyword == "page") return Page(f);
    if (keyword == "font") return Font(f);
    return "unknown item \"" + std::string(keyword) + "\"";
  }

 private:
  static std::optional<std::string> Expect(const std::vector<std::string_view>& f,
                                           std::size_t count) {
    if (f.size() != count)
      return std::string(f[0]) + " takes " + std::to_string(count - 1) + " fields";
    return std::nullopt;
  }

  std::optional<std::vector<std::uint8_t>> Bytes(std::string_view text, std::size_t size,
                                                 std::string& error) {
    std::optional<std::vector<std::uint8_t>> bytes = ParseHex(text);
    if (!bytes || (size != 0 && bytes->size() != size)) {
      error = size != 0 ? "expected " + std::to_string(size) + " bytes in hexadecimal"
                        : "expected bytes in hexadecimal";
      return std::nullopt;
    }
    return bytes;
  }

  std::optional<std::string> PriceDecimals(const std::vector<std::string_view>& f) {
    if (auto error = Expect(f, 2)) return error;
    std::optional<long> value = ParseNumber(f[1]);
    if (!value || *value < 0 || *value > 255) return "price-decimals must be 0 to 255";
    image_.Status.PriceDecimals = static_cast<std::uint8_t>(*value);
    return std::nullopt;
  }

  std::optional<std::string> ReportsCleared(const std::vector<std::string_view>& f) {
    if (auto error = Expect(f, 2)) return error;
    if (f[1] != "yes" && f[1] != "no") return "reports-cleared must be yes or no";
    image_.Status.ReportsCleared = f[1] == "yes";
    return std::nullopt;
  }

  std::optional<std::string> Plu(const std::vector<std::string_view>& f) {
    if (auto error = Expect(f, 3)) return error;
    std::optional<long> index = ParseNumber(f[1]);
    if (!index || *index < 0 || *index >= kPluCapacity) return "PLU index must be 0 to 9999";
    std::string error;
    auto bytes = Bytes(f[2], kPluRecordSize, error);
    if (!bytes) return error;
    PluRecordBytes record;
    std::copy(bytes->begin(), bytes->end(), record.begin());
    if (!PluPresent(record)) return "a PLU record starting with FF is an empty slot";
    StorePlu(image_.Memory, static_cast<int>(*index), record);
    return std::nullopt;
  }

  std::optional<std::string> Sale(const std::vector<std::string_view>& f) {
    if (auto error = Expect(f, 2)) return error;
    std::string error;
    auto bytes = Bytes(f[1], kSalesRecordSize, error);
    if (!bytes) return error;
    SalesRecordBytes record;
    std::copy(bytes->begin(), bytes->end(), record.begin());
    image_.Memory.Sales.push_back(record);
    return std::nullopt;
  }

  template <std::size_t N>
  std::optional<std::string> Record(const std::vector<std::string_view>& f,
                                    std::array<std::uint8_t, N>& block, std::size_t size,
                                    int count) {
    if (auto error = Expect(f, 3)) return error;
    std::optional<long> number = ParseNumber(f[1]);
    if (!number || *number < 1 || *number > count)
      return std::string(f[0]) + " number must be 1 to " + std::to_string(count);
    std::string error;
    auto bytes = Bytes(f[2], size, error);
    if (!bytes) return error;
    std::copy(bytes->begin(), bytes->end(),
              block.begin() + static_cast<std::ptrdiff_t>((*number - 1) * size));
    return std::nullopt;
  }

  template <std::size_t N>
  std::optional<std::string> Block(const std::vector<std::string_view>& f,
                                   std::array<std::uint8_t, N>& block) {
    if (auto error = Expect(f, 3)) return error;
    std::optional<long> offset = ParseNumber(f[1]);
    std::string error;
    auto bytes = Bytes(f[2], 0, error);
    if (!bytes) return error;
    if (!offset || *offset < 0 || static_cast<std::size_t>(*offset) + bytes->size() > N)
      return std::string(f[0]) + " bytes must lie inside its " + std::to_string(N) + " bytes";
    std::copy(bytes->begin(), bytes->end(), block.begin() + *offset);
    return std::nullopt;
  }

  std::optional<std::string> ReportPiece(const std::vector<std::string_view>& f) {
    if (auto error = Expect(f, 2)) return error;
    std::string error;
    auto bytes = Bytes(f[1], 0, error);
    if (!bytes) return error;
    if (std::find(bytes->begin(), bytes->end(), 0) != bytes->end())
      return "a report holds no NUL byte";
    image_.Memory.Report.append(bytes->begin(), bytes->end());
    return std::nullopt;
  }

  std::optional<std::string> Page(const std::vector<std::string_view>& f) {
    if (auto error = Expect(f, 4)) return error;
    MemoryPageKey key;
    if (f[1] == "rom")
      key.Kind = MemoryBank::Rom;
    else if (f[1] == "ram")
      key.Kind = MemoryBank::Ram;
    else
      return "page memory must be rom or ram";
    std::optional<long> number = ParseNumber(f[2]);
    if (!number || *number < 0 || *number > 0xFFFF) return "page number must be 0 to 65535";
    key.Page = static_cast<std::uint16_t>(*number);
    std::string error;
    auto bytes = Bytes(f[3], kPackageDataSize, error);
    if (!bytes) return error;
    std::copy(bytes->begin(), bytes->end(), image_.Memory.Pages[key].begin());
    return std::nullopt;
  }

  std::optional<std::string> Font(const std::vector<std::string_view>& f) {
    if (auto error = Expect(f, 3)) return error;
    std::optional<long> number = ParseNumber(f[1]);
    if (!number || *number < 0 || *number > 0xFFFF) return "font package number must be 0 to 65535";
    std::string error;
    auto bytes = Bytes(f[2], kPackageDataSize, error);
    if (!bytes) return error;
    std::copy(bytes->begin(), bytes->end(),
              image_.Memory.Fonts[static_cast<std::uint16_t>(*number)].begin());
    return std::nullopt;
  }

  RegisterImage& image_;
};

}  // namespace

std::string StateText(const RegisterImage& image) {
  const RegisterMemory& memory = image.Memory;
  std::ostringstream out;
  out << kMagic << '\n';
  out << "price-decimals " << int{image.Status.PriceDecimals} << '\n';
  out << "reports-cleared " << (image.Status.ReportsCleared ? "yes" : "no") << '\n';
  for (int i = 0; i < kPluCapacity; ++i)
    if (PluPresent(memory.Plus[static_cast<std::size_t>(i)]))
      out << "plu " << i << ' ' << Hex(memory.Plus[static_cast<std::size_t>(i)]) << '\n';
  for (const SalesRecordBytes& sale : memory.Sales)
    out << "sale " << Hex(sale) << '\n';
  std::span<const std::uint8_t> departments(memory.Departments);
  for (int d = 0; d < kDepartmentCount; ++d) {
    auto record = departments.subspan(d * kDepartmentRecordSize, kDepartmentRecordSize);
    if (!AllZero(record)) out << "department " << d + 1 << ' ' << Hex(record) << '\n';
  }
  std::span<const std::uint8_t> recycling(memory.Recycling);
  for (int r = 0; r < kRecyclingCount; ++r) {
    auto record = recycling.subspan(r * kRecyclingRecordSize, kRecyclingRecordSize);
    if (!AllZero(record)) out << "recycling " << r + 1 << ' ' << Hex(record) << '\n';
  }
  WriteBlock(out, "parameters", memory.Parameters);
  WriteBlock(out, "fast-sale", memory.FastSale);
  std::span<const std::uint8_t> report(reinterpret_cast<const std::uint8_t*>(memory.Report.data()),
                                       memory.Report.size());
  for (std::size_t offset = 0; offset < report.size(); offset += kChunk)
    out << "report " << Hex(report.subspan(offset, std::min(kChunk, report.size() - offset)))
        << '\n';
  for (const auto& [key, page] : memory.Pages)
    out << "page " << (key.Kind == MemoryBank::Ram ? "ram " : "rom ") << key.Page << ' '
        << Hex(page) << '\n';
  for (const auto& [number, piece] : memory.Fonts)
    out << "font " << number << ' ' << Hex(piece) << '\n';
  return out.str();
}

std::optional<std::string> ParseStateText(std::string_view text, RegisterImage& image) {
  RegisterImage read;
  read.Status = image.Status;
  LineReader reader(read);
  int number = 0;
  bool header = false;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!header) {
      if (line != kMagic) return "line 1: not an ecrsim state file (expected \"ecrsim-state 1\")";
      header = true;
      continue;
    }
    std::vector<std::string_view> fields = Fields(line);
    if (fields.empty() || fields[0].starts_with('#')) continue;
    if (std::optional<std::string> error = reader.Read(fields))
      return "line " + std::to_string(number) + ": " + *error;
  }
  if (!header) return "not an ecrsim state file (it is empty)";
  image.Status.PriceDecimals = read.Status.PriceDecimals;
  image.Status.ReportsCleared = read.Status.ReportsCleared;
  image.Memory = std::move(read.Memory);
  return std::nullopt;
}

std::optional<std::string> SaveStateFile(const std::string& path, const RegisterImage& image) {
  std::string temporary = path + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return "cannot write " + temporary + ": " + std::strerror(errno);
    out << StateText(image);
    out.close();
    if (!out) {
      std::remove(temporary.c_str());
      return "cannot write " + temporary;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::string error = "cannot replace " + path + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return error;
  }
  return std::nullopt;
}

std::optional<std::string> LoadStateFile(const std::string& path, RegisterImage& image) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot read " + path + ": " + std::strerror(errno);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return "cannot read " + path;
  if (std::optional<std::string> error = ParseStateText(text, image)) return path + ": " + *error;
  return std::nullopt;
}

}  // namespace plumgr::sim
