// Numeric conversion of text: every input is a number or raises 13 (no number) or 6 (out of
// range), and the integer conversions agree with the value the text reads as.
#include <cmath>

#include "base/numeric.h"
#include "base/runtime_error.h"
#include "fuzz/fuzz_support.h"

namespace tsukikage::fuzz {
namespace {

template <typename Convert>
void CheckConversion(std::string_view text, bool parsed, double value, Convert convert, double low,
                     double high) {
    try {
        const double result = convert(text);
        if (!parsed) Fail("an integer from text that is no number");
        if (result < low || result > high) Fail("an integer outside its type's range");
        if (std::fabs(result - value) > 0.5) Fail("an integer far from the value read");
    } catch (const RuntimeError& error) {
        if (error.number() == err::kTypeMismatch && parsed) Fail("13 for text that is a number");
        if (error.number() == err::kOverflow && (!parsed || (value >= low && value <= high))) {
            Fail("6 for a value in range");
        }
        if (error.number() != err::kTypeMismatch && error.number() != err::kOverflow) {
            Fail("an error other than 13 or 6");
        }
    }
}

}  // namespace
}  // namespace tsukikage::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tsukikage;
    using namespace tsukikage::fuzz;
    const std::string_view text = AsText(data, size);
    bool parsed = false;
    double value = 0;
    try {
        value = ParseNumber(text);
        parsed = true;
        if (!std::isfinite(value)) Fail("a number that is not finite");
    } catch (const RuntimeError& error) {
        if (error.number() != err::kTypeMismatch && error.number() != err::kOverflow) {
            Fail("ParseNumber raised an error other than 13 or 6");
        }
        if (error.number() == err::kOverflow) return 0;  // too large for a Double
    }
    CheckConversion(
        text, parsed, value, [](std::string_view t) { return double(ToInteger(t)); }, -32768.0,
        32767.0);
    CheckConversion(
        text, parsed, value, [](std::string_view t) { return double(ToLong(t)); }, -2147483648.0,
        2147483647.0);
    CheckConversion(
        text, parsed, value, [](std::string_view t) { return double(ToByte(t)); }, 0.0, 255.0);
    return 0;
}
