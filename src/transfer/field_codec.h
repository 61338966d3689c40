#pragma once
// The field codec: one value (a text, a number or a date-time) to a fixed-width
// field of bytes inside a package buffer, and a field back to a value. The kind
// of the field chooses the encoding. The position is passed by reference and
// moves past the field, so a record is encoded field after field.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "transfer/date_time.h"

namespace plumgr {

enum class FieldKind : int {
  PackedHex = 0,        // packed hexadecimal digits, decoded raw
  PackedDigits = 1,     // packed hexadecimal digits, blanks kept, decoded trimmed
  FixedPoint = 2,       // big-endian whole number of value x 10^decimals
  Text = 3,             // single-byte text, NUL-terminated when shorter than the field
  DateTime = 4,         // six BCD bytes yy MM dd hh mm ss
  Date = 5,             // four BCD bytes yyyy MM dd
  Time = 6,             // BCD bytes hh mm (ss); decoding only
  Double = 7,           // IEEE 754 double, big-endian, 8 bytes
  PackedDigitsAlt = 8,  // as PackedDigits, but encoded like PackedHex
};

// Decoding gives text for kinds 0, 1, 3 and 8, a floating value for kinds 2 and
// 7 and a date-time for kinds 4, 5 and 6.
using FieldValue = std::variant<std::string, double, DateTime>;

class TOrvanencode {
 public:
  struct Switches {
    // After each field the caller's position moves on by the field width.
    bool AdvancePosition = true;
    // Fixed-point decoding reads a set top bit as a negative number in
    // two's-complement form (otherwise as sign and magnitude).
    bool TwosComplement = true;
    // Fixed-point decoding treats every number as non-negative.
    bool Unsigned = false;
  };

  // Texts are read as numbers with the locale's decimal separator.
  explicit TOrvanencode(char decimal_separator) : TOrvanencode(decimal_separator, Switches{}) {}
  TOrvanencode(char decimal_separator, Switches switches)
      : separator_(decimal_separator), switches_(switches) {}

  const Switches& GetSwitches() const { return switches_; }

  // Writes the field at buffer[position] and moves the position on. False when
  // the value does not fit the kind (the field is then written as zeros; packed
  // digits keep the pairs packed before an invalid one), when the kind has no
  // encoding (Time: zeros), or when the field would not lie inside the buffer
  // (nothing is written). A Date or DateTime field whose value
  // is not a date-time is refused outright: nothing written, position kept.
  [[nodiscard]] bool EncodeField(FieldKind kind, const FieldValue& value,
                                 std::span<std::uint8_t> buffer, int& position, int width,
                                 int decimals = 0) const;

  // Reads the field at buffer[position] and moves the position on. Decoding never
  // fails: bytes beyond the buffer read as 0, and an unreadable date, time or
  // date-time gives the zero date-time.
  FieldValue DecodeField(FieldKind kind, std::span<const std::uint8_t> buffer, int& position,
                         int width, int decimals = 0) const;

  // Strips the leading "0" characters, then turns the leading run of "F" into
  // "0": the inverse of the packing rule for leading zeros.
  static std::string TrimDigits(std::string_view digits);

 private:
  bool Put(FieldKind kind, const FieldValue& value, std::span<std::uint8_t> field,
           int decimals) const;
  FieldValue Get(FieldKind kind, std::span<const std::uint8_t> field, int decimals) const;

  char separator_;
  Switches switches_;
};

}  // namespace plumgr
