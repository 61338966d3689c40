#pragma once
// The one rounding rule of the system: to the nearest whole number, halves to the
// even neighbour. Prices, stocks and rates go to the register as scaled whole
// numbers and to the tables as fixed-point text; both use this, so what a cell
// shows is exactly what is sent.

#include <cstdint>
#include <string>

namespace plumgr {

// value x 10^decimals rounded to the nearest whole number, halves to even.
// The value is taken as the shortest decimal that reads back as the same double,
// so a typed 1.015 at two decimals is the tie 101.5 and gives 102, exactly as the
// decimal text says (a naive value * 100 would see 101.49999...). NaN gives 0;
// results beyond 64 bits saturate. `decimals` may be negative.
std::int64_t RoundHalfEven(double value, int decimals = 0);

// Fixed-point text with `decimals` digits after the separator ("%.2f", "%.3f"
// with the locale's separator), rounded by RoundHalfEven. Never "-0.00".
std::string FormatFixed(double value, int decimals, char decimal_separator);

// The same text for a whole number of hundredths, thousandths, ... (scaled).
std::string FormatScaled(std::int64_t scaled, int decimals, char decimal_separator);

}  // namespace plumgr
