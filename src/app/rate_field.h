#pragma once
// The masked rate field of the parameter dialog and the VAT rate editor: two
// digits, the decimal separator, two digits ("05.50"), an untyped position
// counting as "0". The settings file holds rates in this form.

#include <optional>
#include <string>
#include <string_view>

namespace plumgr {

inline constexpr std::size_t kRateFieldWidth = 5;

// What the field shows for a stored rate: the value the parameter download
// would send, rounded to hundredths, when it fits the field (0 to 99.99), so the
// field never shows one rate while the register gets another; the zero rate
// otherwise (a text that is no number is sent as 0).
std::string RateFieldText(std::string_view stored, char decimal_separator);

// The field's text after typing, in the stored form. A text of the field's
// width keeps its positions (a blank or '_' is an untyped position); a shorter
// one such as "5,5" fills the integer digits from the right and the decimals
// from the left. Nothing when the text holds anything else.
std::optional<std::string> TypedRateText(std::string_view shown, char decimal_separator);

}  // namespace plumgr
