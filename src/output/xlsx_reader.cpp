#include "output/xlsx_reader.h"

#include <zip.h>

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <charconv>
#include <optional>

namespace plumgr {
namespace {

class Archive {
 public:
  explicit Archive(const std::string& path) {
    int error = 0;
    zip_ = zip_open(path.c_str(), ZIP_RDONLY, &error);
  }
  ~Archive() {
    if (zip_ != nullptr) zip_discard(zip_);
  }
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  bool IsOpen() const { return zip_ != nullptr; }

  // The whole member, or nothing when the archive does not hold it.
  std::optional<QByteArray> Member(const std::string& name) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(zip_, name.c_str(), 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0)
      return std::nullopt;
    zip_file_t* file = zip_fopen(zip_, name.c_str(), 0);
    if (file == nullptr) return std::nullopt;
    QByteArray bytes(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
    const zip_int64_t read = zip_fread(file, bytes.data(), stat.size);
    zip_fclose(file);
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size) return std::nullopt;
    return bytes;
  }

 private:
  zip_t* zip_ = nullptr;
};

QString Attribute(const QXmlStreamReader& xml, const char* name) {
  return xml.attributes().value(QLatin1String(name)).toString();
}

// The relationship id of the workbook's first sheet.
QString FirstSheetId(const QByteArray& workbook) {
  QXmlStreamReader xml(workbook);
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"sheet") continue;
    // r:id, the relationship that leads to the sheet's part.
    for (const QXmlStreamAttribute& attribute : xml.attributes())
      if (attribute.name() == u"id") return attribute.value().toString();
  }
  return {};
}

// The archive names of the first sheet and of the shared strings, from the
// workbook's relationships; targets are relative to "xl/" unless absolute.
struct WorkbookParts {
  std::string Sheet;
  std::string SharedStrings;
};

std::string PartName(const QString& target) {
  if (target.startsWith(u'/')) return target.mid(1).toStdString();
  return "xl/" + target.toStdString();
}

WorkbookParts FindParts(const QByteArray& relationships, const QString& sheet_id) {
  WorkbookParts parts;
  QXmlStreamReader xml(relationships);
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"Relationship") continue;
    const QString target = Attribute(xml, "Target");
    if (Attribute(xml, "Id") == sheet_id) parts.Sheet = PartName(target);
    if (Attribute(xml, "Type").endsWith(u"/sharedStrings")) parts.SharedStrings = PartName(target);
  }
  return parts;
}

std::u16string ToU16(const QString& text) {
  return text.toStdU16String();
}

// The text of each <si>: its <t> elements, the runs' included, without the
// phonetic hints of <rPh>.
std::vector<std::u16string> ReadSharedStrings(const QByteArray& bytes) {
  std::vector<std::u16string> strings;
  QXmlStreamReader xml(bytes);
  QString current;
  int phonetic_depth = 0;
  while (!xml.atEnd()) {
    switch (xml.readNext()) {
      case QXmlStreamReader::StartElement:
        if (xml.name() == u"si") current.clear();
        if (xml.name() == u"rPh") ++phonetic_depth;
        if (xml.name() == u"t" && phonetic_depth == 0) current += xml.readElementText();
        break;
      case QXmlStreamReader::EndElement:
        if (xml.name() == u"rPh") --phonetic_depth;
        if (xml.name() == u"si") strings.push_back(ToU16(current));
        break;
      default:
        break;
    }
  }
  return strings;
}

// "BC12" as column 54, row 11 (both from 0); nothing for a malformed reference.
bool ParseCellReference(QStringView reference, int* col, int* row) {
  int c = 0;
  qsizetype i = 0;
  while (i < reference.size() && reference[i] >= u'A' && reference[i] <= u'Z') {
    c = c * 26 + (reference[i].unicode() - u'A' + 1);
    if (c > 16384) return false;
    ++i;
  }
  if (i == 0 || i == reference.size()) return false;
  bool ok = false;
  const int r = reference.mid(i).toInt(&ok);
  if (!ok || r < 1 || r > 1048576) return false;
  *col = c - 1;
  *row = r - 1;
  return true;
}

std::u16string NumberCell(const QString& value) {
  const std::string text = value.trimmed().toStdString();
  double number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size()) return ToU16(value);
  return SpreadsheetNumberText(number);
}

struct CellRead {
  QString Type;
  QString Value;   // <v>
  QString Inline;  // <is>
};

std::u16string CellValue(const CellRead& cell, const std::vector<std::u16string>& shared) {
  if (cell.Type == u"s") {
    bool ok = false;
    const qulonglong index = cell.Value.trimmed().toULongLong(&ok);
    return ok && index < shared.size() ? shared[index] : std::u16string();
  }
  if (cell.Type == u"inlineStr") return ToU16(cell.Inline);
  if (cell.Type == u"b") return cell.Value.trimmed() == u"1" ? u"1" : u"0";
  if (cell.Type == u"str" || cell.Type == u"e") return ToU16(cell.Value);
  return NumberCell(cell.Value);
}

void PutCell(ImportSheet& sheet, int row, int col, std::u16string text) {
  if (text.empty()) return;
  if (sheet.Rows.size() <= static_cast<std::size_t>(row)) sheet.Rows.resize(row + 1);
  std::vector<std::u16string>& cells = sheet.Rows[static_cast<std::size_t>(row)];
  if (cells.size() <= static_cast<std::size_t>(col)) cells.resize(col + 1);
  cells[static_cast<std::size_t>(col)] = std::move(text);
}

// Reads one <c> element (the reader stands on its start) into `cell`.
void ReadCell(QXmlStreamReader& xml, QString type, CellRead& cell) {
  cell.Type = std::move(type);
  cell.Value.clear();
  cell.Inline.clear();
  while (xml.readNextStartElement()) {
    if (xml.name() == u"v") {
      cell.Value = xml.readElementText();
    } else if (xml.name() == u"is") {
      while (xml.readNext() != QXmlStreamReader::Invalid) {
        if (xml.isEndElement() && xml.name() == u"is") break;
        if (xml.isStartElement() && xml.name() == u"t") cell.Inline += xml.readElementText();
      }
    } else {
      xml.skipCurrentElement();
    }
  }
}

bool ReadSheet(const QByteArray& bytes, const std::vector<std::u16string>& shared,
               ImportSheet& sheet) {
  QXmlStreamReader xml(bytes);
  int row = -1;
  int next_col = 0;
  CellRead cell;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == u"row") {
      bool ok = false;
      const int number = Attribute(xml, "r").toInt(&ok);
      row = ok && number >= 1 ? number - 1 : row + 1;
      next_col = 0;
    } else if (xml.name() == u"c") {
      int col = next_col;
      int cell_row = row;
      const QXmlStreamAttributes attributes = xml.attributes();
      if (const QStringView reference = attributes.value(QLatin1String("r")); !reference.isEmpty())
        if (!ParseCellReference(reference, &col, &cell_row)) return false;
      ReadCell(xml, attributes.value(QLatin1String("t")).toString(), cell);
      PutCell(sheet, std::max(cell_row, 0), col, CellValue(cell, shared));
      next_col = col + 1;
    }
  }
  return !xml.hasError();
}

ImportFileResult Failure(ImportFileResult result, const std::string& path, const std::string& why) {
  result.Ok = false;
  result.Message = "\"" + path + "\" is no workbook this program can read: " + why;
  return result;
}

}  // namespace

ImportFileResult ReadXlsx(const std::string& path) {
  ImportFileResult result;
  result.Format = ".xlsx workbook";
  Archive archive(path);
  if (!archive.IsOpen()) return Failure(result, path, "not a ZIP archive");
  const std::optional<QByteArray> workbook = archive.Member("xl/workbook.xml");
  const std::optional<QByteArray> relationships = archive.Member("xl/_rels/workbook.xml.rels");
  if (!workbook || !relationships) return Failure(result, path, "it has no workbook part");
  WorkbookParts parts = FindParts(*relationships, FirstSheetId(*workbook));
  if (parts.Sheet.empty()) return Failure(result, path, "it has no worksheet");
  std::vector<std::u16string> shared;
  if (parts.SharedStrings.empty()) parts.SharedStrings = "xl/sharedStrings.xml";
  if (const std::optional<QByteArray> strings = archive.Member(parts.SharedStrings))
    shared = ReadSharedStrings(*strings);
  const std::optional<QByteArray> sheet = archive.Member(parts.Sheet);
  if (!sheet) return Failure(result, path, "its first worksheet is missing");
  if (!ReadSheet(*sheet, shared, result.Sheet))
    return Failure(result, path, "its first worksheet is not well-formed");
  return result;
}

}  // namespace plumgr
