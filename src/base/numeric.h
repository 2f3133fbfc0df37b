#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tsukikage {

// Numeric conversion of text as the original platform does it: leading and trailing blanks
// allowed, an optional sign, decimal digits with an optional fraction and exponent (E or D),
// grouping commas among the digits of the whole part after its first digit ("1,000"),
// or &H / &O prefixed hexadecimal and octal integers (up to 4 digits they are 16-bit values,
// so "&HFFFF" is -1; up to 8 digits 32-bit). Text that is no number raises error 13.
double ParseNumber(std::string_view text);

// Rounds to the nearest integer, a half to the even one (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double RoundHalfEven(double value);

// Conversions to the platform's integer types: round half to even, then range check
// (error 6 when out of range). The text forms raise 13 for text that is no number.
std::int16_t ToInteger(double value);
std::int32_t ToLong(double value);
std::uint8_t ToByte(double value);
std::int16_t ToInteger(std::string_view text);
std::int32_t ToLong(std::string_view text);
std::uint8_t ToByte(std::string_view text);

// Plain decimal text of a number, no leading blank ("5", "-12").
std::string DecimalText(long long value);

}  // namespace tsukikage
