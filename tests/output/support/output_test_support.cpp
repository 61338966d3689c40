#include "output_test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "data/code_page.h"

namespace plumgr::test {

std::uint16_t U16At(std::string_view data, size_t offset) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(data[offset]) |
                                    (static_cast<unsigned char>(data[offset + 1]) << 8));
}

std::uint32_t U32At(std::string_view data, size_t offset) {
  return U16At(data, offset) | (static_cast<std::uint32_t>(U16At(data, offset + 2)) << 16);
}

std::optional<std::vector<BiffRecord>> WalkRecords(std::string_view stream) {
  std::vector<BiffRecord> records;
  size_t at = 0;
  while (at + 4 <= stream.size()) {
    BiffRecord record;
    record.Id = U16At(stream, at);
    size_t size = U16At(stream, at + 2);
    if (at + 4 + size > stream.size()) return std::nullopt;
    record.Offset = at;
    record.Data = std::string(stream.substr(at + 4, size));
    records.push_back(std::move(record));
    at += 4 + size;
  }
  if (at != stream.size()) return std::nullopt;
  return records;
}

namespace {

// Reads characters of a string across record boundaries as a reader must.
class SstCursor {
 public:
  SstCursor(const std::vector<BiffRecord>& records, size_t first)
      : records_(records), index_(first) {}

  bool AtRecordEnd() const { return pos_ >= records_[index_].Data.size(); }
  bool NextRecord() {
    ++index_;
    pos_ = 0;
    return index_ < records_.size() && records_[index_].Id == 0x003C;
  }
  size_t StreamOffset() const { return records_[index_].Offset + 4 + pos_; }
  size_t Left() const { return records_[index_].Data.size() - pos_; }
  std::uint8_t U8() { return static_cast<unsigned char>(records_[index_].Data[pos_++]); }
  std::uint16_t U16() {
    std::uint16_t v = U16At(records_[index_].Data, pos_);
    pos_ += 2;
    return v;
  }
  void Skip(size_t n) { pos_ += n; }

 private:
  const std::vector<BiffRecord>& records_;
  size_t index_;
  size_t pos_ = 0;
};

}  // namespace

std::optional<std::vector<SstString>> ReadSst(const std::vector<BiffRecord>& records,
                                              size_t first) {
  if (first >= records.size() || records[first].Id != 0x00FC) return std::nullopt;
  std::uint32_t unique = U32At(records[first].Data, 4);
  SstCursor cursor(records, first);
  cursor.Skip(8);
  std::vector<SstString> strings;
  for (std::uint32_t i = 0; i < unique; ++i) {
    if (cursor.AtRecordEnd() && !cursor.NextRecord()) return std::nullopt;
    if (cursor.Left() < 3) return std::nullopt;  // a split header
    SstString s;
    s.StreamOffset = cursor.StreamOffset();
    std::uint16_t count = cursor.U16();
    bool wide = cursor.U8() & 1;
    while (s.Text.size() < count) {
      if (cursor.AtRecordEnd()) {
        if (!cursor.NextRecord()) return std::nullopt;
        wide = cursor.U8() & 1;
      }
      if (wide && cursor.Left() < 2) return std::nullopt;  // a split character
      s.Text.push_back(wide ? static_cast<char16_t>(cursor.U16()) : cursor.U8());
    }
    strings.push_back(std::move(s));
  }
  return strings;
}

std::optional<CompoundFile> ReadCompoundFile(std::string_view file, std::string* error) {
  auto fail = [error](std::string why) -> std::optional<CompoundFile> {
    *error = std::move(why);
    return std::nullopt;
  };
  if (file.size() < 512 || file.substr(0, 8) != "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")
    return fail("no compound document signature");
  if ((file.size() - 512) % 512 != 0) return fail("file size is not whole sectors");
  auto sector = [&](std::uint32_t n) { return file.substr(512 + size_t{n} * 512, 512); };
  size_t sector_count = (file.size() - 512) / 512;
  CompoundFile cf;
  std::uint32_t fat_count = U32At(file, 44);
  cf.DirectorySector = U32At(file, 48);
  for (std::uint32_t i = 0; i < 109; ++i) {
    std::uint32_t slot = U32At(file, 76 + 4 * i);
    if (i < fat_count) {
      if (slot >= sector_count) return fail("DIFAT slot outside the file");
      cf.FatSectors.push_back(slot);
    } else if (slot != 0xFFFFFFFF) {
      return fail("unused DIFAT slot is not free");
    }
  }
  for (std::uint32_t s : cf.FatSectors) {
    std::string_view data = sector(s);
    for (size_t i = 0; i < 512; i += 4)
      cf.Fat.push_back(U32At(data, i));
  }
  if (cf.DirectorySector >= sector_count) return fail("directory outside the file");
  std::string_view dir = sector(cf.DirectorySector);
  cf.StreamStart = U32At(dir, 128 + 116);
  cf.StreamSize = U32At(dir, 128 + 120);
  for (std::uint32_t s = cf.StreamStart; s != 0xFFFFFFFE;) {
    if (s >= cf.Fat.size() || s >= sector_count || cf.StreamChain.size() > sector_count)
      return fail("broken FAT chain");
    cf.StreamChain.push_back(s);
    cf.Stream += sector(s);
    s = cf.Fat[s];
  }
  if (cf.Stream.size() < cf.StreamSize) return fail("stream shorter than its size");
  cf.Stream.resize(cf.StreamSize);
  return cf;
}

StringGrid MakeTestPluTable(char sep, int rows) {
  StringGrid grid(10, rows + 1);
  for (int n = 1; n <= rows; ++n) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "12345678%05d", n);
    grid.SetCell(1, n, buffer);
    std::string name = "PLU-" + std::to_string(n);
    if (n % 7 == 0) name += kPolishBytes;
    grid.SetCell(2, n, name);
    std::snprintf(buffer, sizeof buffer, "%d%c%02d", n * 10, sep, 0);
    grid.SetCell(3, n, buffer);
    grid.SetCell(4, n, std::to_string(n % 8 + 1));
    grid.SetCell(5, n, std::string("0") + sep + "000");
    for (int c = 6; c <= 9; ++c)
      grid.SetCell(c, n, "0");
  }
  return grid;
}

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& extra_env, int timeout_ms) {
  QProcess process;
  QStringList arguments;
  for (const std::string& a : args)
    arguments << QString::fromStdString(a);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const std::string& e : extra_env) {
    size_t eq = e.find('=');
    env.insert(QString::fromStdString(e.substr(0, eq)), QString::fromStdString(e.substr(eq + 1)));
  }
  process.setProcessEnvironment(env);
  process.start(QString::fromStdString(program), arguments);
  ProgramRun run;
  run.Started = process.waitForStarted();
  if (!run.Started) return run;
  if (!process.waitForFinished(timeout_ms)) {
    process.kill();
    process.waitForFinished();
    run.Err = "timed out";
    return run;
  }
  run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.Out = process.readAllStandardOutput().toStdString();
  run.Err = process.readAllStandardError().toStdString();
  return run;
}

namespace {

constexpr const char* kXlrdScript = R"(
import json, sys, xlrd
sheet = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)
def text(cell):
    if cell.ctype == xlrd.XL_CELL_TEXT: return cell.value
    if cell.ctype == xlrd.XL_CELL_EMPTY: return ''
    return '#not text: %r' % (cell.value,)
print(json.dumps([[text(sheet.cell(r, c)) for c in range(sheet.ncols)] for r in range(sheet.nrows)]))
)";

constexpr const char* kXlsxScript = R"(
import json, re, sys, zipfile
import xml.etree.ElementTree as ET
ns = {'m': 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'}
z = zipfile.ZipFile(sys.argv[1])
shared = [''.join(t.text or '' for t in si.iter('{%s}t' % ns['m']))
          for si in ET.fromstring(z.read('xl/sharedStrings.xml')).findall('m:si', ns)]
rows = {}
for c in ET.fromstring(z.read('xl/worksheets/sheet1.xml')).iter('{%s}c' % ns['m']):
    letters, digits = re.match(r'([A-Z]+)(\d+)', c.get('r')).groups()
    col = 0
    for ch in letters: col = col * 26 + ord(ch) - 64
    v = c.find('m:v', ns)
    value = shared[int(v.text)] if c.get('t') == 's' else '#not text'
    rows.setdefault(int(digits) - 1, {})[col - 1] = value
nrows = max(rows) + 1 if rows else 0
ncols = max(max(r) for r in rows.values()) + 1 if rows else 0
print(json.dumps([[rows.get(r, {}).get(c, '') for c in range(ncols)] for r in range(nrows)]))
)";

std::optional<CellRows> RunPythonReader(const std::optional<std::string>& python,
                                        const char* script, const std::string& path,
                                        std::string* error) {
  if (!python) {
    *error = "no python3 that can read the file";
    return std::nullopt;
  }
  ProgramRun run = RunProgram(*python, {"-c", script, path});
  if (!run.Started || run.ExitCode != 0) {
    *error = "python3 failed: " + run.Err;
    return std::nullopt;
  }
  QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(run.Out));
  if (!doc.isArray()) {
    *error = "python3 printed no JSON array";
    return std::nullopt;
  }
  CellRows rows;
  for (const QJsonValue& row : doc.array()) {
    rows.emplace_back();
    for (const QJsonValue& cell : row.toArray())
      rows.back().push_back(cell.toString().toStdString());
  }
  return rows;
}

}  // namespace

std::optional<std::string> ProgramOnPath(const std::string& name) {
  QString found = QStandardPaths::findExecutable(QString::fromStdString(name));
  if (found.isEmpty()) return std::nullopt;
  return found.toStdString();
}

std::optional<std::string> PythonThatImports(const std::string& module) {
  // PATH's python3 may be an interpreter of its own that does not see Debian's
  // python3-* packages, which install for /usr/bin/python3 only.
  std::vector<std::string> candidates;
  if (std::optional<std::string> on_path = ProgramOnPath("python3")) candidates.push_back(*on_path);
  candidates.push_back("/usr/bin/python3");
  for (const std::string& python : candidates) {
    ProgramRun run = RunProgram(python, {"-c", "import " + module});
    if (run.Started && run.ExitCode == 0) return python;
  }
  return std::nullopt;
}

std::optional<CellRows> ReadXlsWithXlrd(const std::string& path, std::string* error) {
  static const std::optional<std::string> python = PythonThatImports("xlrd");
  return RunPythonReader(python, kXlrdScript, path, error);
}

std::optional<CellRows> ReadXlsxWithPython(const std::string& path, std::string* error) {
  static const std::optional<std::string> python = PythonThatImports("zipfile");
  return RunPythonReader(python, kXlsxScript, path, error);
}

CellRows ParseCsv(std::string_view text) {
  CellRows rows;
  std::vector<std::string> row;
  std::string field;
  bool quoted = false;
  bool row_started = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field.push_back('"');
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field.push_back(c);
      }
      continue;
    }
    row_started = true;
    if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      row.push_back(std::move(field));
      field.clear();
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      row.push_back(std::move(field));
      field.clear();
      rows.push_back(std::move(row));
      row.clear();
      row_started = false;
    } else {
      field.push_back(c);
    }
  }
  if (row_started) {
    row.push_back(std::move(field));
    rows.push_back(std::move(row));
  }
  return rows;
}

CellRows ExpectedPluSheet(const StringGrid& plu, const std::vector<std::string>& titles) {
  CellRows rows(plu.RowCount(), std::vector<std::string>(plu.ColCount()));
  for (int r = 0; r < plu.RowCount(); ++r) {
    for (int c = 0; c < plu.ColCount(); ++c) {
      std::string bytes = r == 0 ? titles.at(c) : c == 0 ? std::to_string(r) : plu.Cell(c, r);
      rows[r][c] = Utf16ToUtf8(DecodeCodePage(bytes, Windows1250()));
    }
  }
  return rows;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string MakeTempDir() {
  QTemporaryDir dir;
  dir.setAutoRemove(false);
  return dir.path().toStdString();
}

}  // namespace plumgr::test
