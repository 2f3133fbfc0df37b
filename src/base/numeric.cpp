#include "base/numeric.h"

#include <locale.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

#include "base/runtime_error.h"

namespace tsukikage {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "&H..." / "&O..." after the blanks are gone. The width of the result follows the
// value: up to 16 bits it is an Integer, up to 32 bits a Long, both sign-extended.
double ParseRadix(std::string_view text) {
    const char kind = text.size() >= 2 ? text[1] : '\0';
    const int base = (kind == 'H' || kind == 'h') ? 16 : (kind == 'O' || kind == 'o') ? 8 : 0;
    if (base == 0 || text.size() == 2) Raise(err::kTypeMismatch);
    std::uint64_t value = 0;
    bool too_big = false;
    for (char c : text.substr(2)) {
        const int d = HexDigit(c);
        if (d < 0 || d >= base) Raise(err::kTypeMismatch);
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        if (value > 0xFFFFFFFFu) {
            too_big = true;  // keep checking the digits: bad text is 13 before overflow
            value = 0;
        }
    }
    if (too_big) Raise(err::kOverflow);
    if (value <= 0xFFFF) return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// The digits checked and normalised by ParseNumber, read in the C locale whatever locale the
// program runs in (a decimal comma would cut "1.5" short). Out of range is reported the way
// the standard's from_chars does it: a value too large or too small for a double, where a
// subnormal still counts as a value.
struct Digits {
    double value;
    bool out_of_range;
};

Digits ReadDigits(const std::string& clean) {
    static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", locale_t{});
    char* end = nullptr;
    errno = 0;
    const double value = strtod_l(clean.c_str(), &end, c_locale);
    const bool range_error = errno == ERANGE && (std::isinf(value) || value == 0.0);
    if (end != clean.c_str() + clean.size()) Raise(err::kTypeMismatch);
    return {value, range_error};
}

}  // namespace

double ParseNumber(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (text.empty()) Raise(err::kTypeMismatch);
    if (text.front() == '&') return ParseRadix(text);

    // Check the form ourselves (strtod alone would take "inf", "nan" and hex floats) and hand
    // it a normalised copy: no '+', 'e' for the exponent letter.
    std::string clean;
    clean.reserve(text.size());
    std::size_t i = 0;
    if (text[i] == '+' || text[i] == '-') {
        if (text[i] == '-') clean += '-';
        ++i;
    }
    std::size_t int_digits = 0;          // integer digits after leading zeros
    std::size_t leading_frac_zeros = 0;  // fraction zeros before the first significant digit
    bool any_digit = false;
    bool nonzero = false;
    // The platform's conversion takes the Japanese locale's grouping separator anywhere
    // after the first digit of the whole part ("1,000", "12,34" and "1," alike); never
    // before it, nor in the fraction or the exponent.
    for (; i < text.size() && (IsDigit(text[i]) || (any_digit && text[i] == ',')); ++i) {
        if (text[i] == ',') continue;
        any_digit = true;
        if (text[i] != '0') nonzero = true;
        if (nonzero) ++int_digits;
        clean += text[i];
    }
    if (i < text.size() && text[i] == '.') {
        clean += '.';
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            any_digit = true;
            if (text[i] != '0') nonzero = true;
            if (!nonzero) ++leading_frac_zeros;
            clean += text[i];
        }
    }
    if (!any_digit) Raise(err::kTypeMismatch);
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        clean += 'e';
        ++i;
        bool negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            negative = text[i] == '-';
            clean += text[i];
            ++i;
        }
        if (i == text.size() || !IsDigit(text[i])) Raise(err::kTypeMismatch);
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            if (exponent < 1'000'000'000) exponent = exponent * 10 + (text[i] - '0');
            clean += text[i];
        }
        if (negative) exponent = -exponent;
    }
    if (i != text.size()) Raise(err::kTypeMismatch);
    if (!nonzero) return 0.0;

    const auto [value, out_of_range] = ReadDigits(clean);
    if (out_of_range || !std::isfinite(value)) {
        // Too large overflows; too small is zero. Decide by where the first significant
        // digit sits.
        const long long magnitude = int_digits > 0
                                        ? static_cast<long long>(int_digits) - 1 + exponent
                                        : exponent - static_cast<long long>(leading_frac_zeros) - 1;
        if (magnitude >= 0) Raise(err::kOverflow);
        return 0.0;
    }
    return value;
}

double RoundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    const double low = std::floor(value);
    const double fraction = value - low;  // exact for doubles
    if (fraction < 0.5) return low;
    if (fraction > 0.5) return low + 1.0;
    return std::fmod(low, 2.0) == 0.0 ? low : low + 1.0;
}

std::int16_t ToInteger(double value) {
    const double r = RoundHalfEven(value);
    if (!(r >= -32768.0 && r <= 32767.0)) Raise(err::kOverflow);
    return static_cast<std::int16_t>(r);
}

std::int32_t ToLong(double value) {
    const double r = RoundHalfEven(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) Raise(err::kOverflow);
    return static_cast<std::int32_t>(r);
}

std::uint8_t ToByte(double value) {
    const double r = RoundHalfEven(value);
    if (!(r >= 0.0 && r <= 255.0)) Raise(err::kOverflow);
    return static_cast<std::uint8_t>(r);
}

std::int16_t ToInteger(std::string_view text) {
    return ToInteger(ParseNumber(text));
}
std::int32_t ToLong(std::string_view text) {
    return ToLong(ParseNumber(text));
}
std::uint8_t ToByte(std::string_view text) {
    return ToByte(ParseNumber(text));
}

std::string DecimalText(long long value) {
    return std::to_string(value);
}

}  // namespace tsukikage
