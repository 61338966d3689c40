#include "sim/register_layouts.h"

#include <algorithm>

namespace plumgr::sim {

std::uint64_t ReadUnsigned(std::span<const std::uint8_t> bytes, Field field) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < field.Width; ++i) {
    std::size_t at = field.Kind == FieldKind::UnsignedLittle ? field.Width - 1 - i : i;
    value = value << 8 | bytes[field.Offset + at];
  }
  return value;
}

std::int64_t ReadSigned(std::span<const std::uint8_t> bytes, Field field) {
  std::uint64_t value = ReadUnsigned(bytes, field);
  std::size_t bits = 8 * field.Width;
  if (bits < 64 && (value >> (bits - 1)) != 0) value |= ~std::uint64_t{0} << bits;
  return static_cast<std::int64_t>(value);
}

void WriteNumber(std::span<std::uint8_t> bytes, Field field, std::uint64_t value) {
  for (std::size_t i = 0; i < field.Width; ++i) {
    std::size_t at = field.Kind == FieldKind::UnsignedLittle ? i : field.Width - 1 - i;
    bytes[field.Offset + at] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

std::string ReadText(std::span<const std::uint8_t> bytes, Field field) {
  std::string text;
  for (std::size_t i = 0; i < field.Width && bytes[field.Offset + i] != 0; ++i)
    text += static_cast<char>(bytes[field.Offset + i]);
  return text;
}

void WriteText(std::span<std::uint8_t> bytes, Field field, const std::string& text) {
  std::size_t size = std::min(text.size(), field.Width);
  for (std::size_t i = 0; i < size; ++i)
    bytes[field.Offset + i] = static_cast<std::uint8_t>(text[i]);
  if (size < field.Width) bytes[field.Offset + size] = 0;
}

std::string ReadDigits(std::span<const std::uint8_t> bytes, Field field) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (std::size_t i = 0; i < field.Width; ++i) {
    std::uint8_t byte = bytes[field.Offset + i];
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

void WriteDecimal(std::span<std::uint8_t> bytes, Field field, std::uint64_t value) {
  for (std::size_t i = 0; i < field.Width; ++i) {
    std::uint8_t low = static_cast<std::uint8_t>(value % 10);
    value /= 10;
    std::uint8_t high = static_cast<std::uint8_t>(value % 10);
    value /= 10;
    bytes[field.Offset + field.Width - 1 - i] = static_cast<std::uint8_t>(high << 4 | low);
  }
}

PluEntry ReadPlu(std::span<const std::uint8_t, kPluRecordSize> record) {
  PluEntry entry;
  entry.Barcode = ReadDigits(record, plu_field::kBarcode);
  entry.Name = ReadText(record, plu_field::kName);
  entry.Price = ReadSigned(record, plu_field::kPrice);
  entry.Department = static_cast<int>(ReadUnsigned(record, plu_field::kDepartment)) + 1;
  entry.Stock = ReadSigned(record, plu_field::kStock);
  entry.Flag = static_cast<int>(ReadUnsigned(record, plu_field::kFlag));
  entry.Alcohol = static_cast<int>(ReadUnsigned(record, plu_field::kAlcohol));
  return entry;
}

SaleEntry ReadSale(std::span<const std::uint8_t, kSalesRecordSize> record) {
  SaleEntry entry;
  entry.Barcode = ReadDigits(record, sale_field::kBarcode);
  entry.Quantity = ReadSigned(record, sale_field::kQuantity);
  entry.Amount = ReadUnsigned(record, sale_field::kAmount);
  return entry;
}

}  // namespace plumgr::sim
