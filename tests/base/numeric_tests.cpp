#include "base/numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/runtime_error.h"
#include "fakes/test_support.h"

namespace tsukikage {
namespace {

using test_support::ErrorOf;

TEST(ParseNumber, AcceptsTheDecimalForms) {
    EXPECT_EQ(ParseNumber(" 12 "), 12);
    EXPECT_EQ(ParseNumber("\t7\t"), 7);
    EXPECT_EQ(ParseNumber("+5"), 5);
    EXPECT_EQ(ParseNumber("-5"), -5);
    EXPECT_EQ(ParseNumber("1.5"), 1.5);
    EXPECT_EQ(ParseNumber(".5"), 0.5);
    EXPECT_EQ(ParseNumber("5."), 5);
    EXPECT_EQ(ParseNumber("1e3"), 1000);
    EXPECT_EQ(ParseNumber("1D3"), 1000);
    EXPECT_EQ(ParseNumber("25E-1"), 2.5);
    EXPECT_EQ(ParseNumber("1d+2"), 100);
    EXPECT_EQ(ParseNumber("007"), 7);
    EXPECT_EQ(ParseNumber("-0"), 0);
}

TEST(ParseNumber, AcceptsHexAndOctalWithTheirWidth) {
    EXPECT_EQ(ParseNumber("&H10"), 16);
    EXPECT_EQ(ParseNumber("&hff"), 255);
    EXPECT_EQ(ParseNumber("&O17"), 15);
    EXPECT_EQ(ParseNumber("&o17"), 15);
    EXPECT_EQ(ParseNumber("&H7FFF"), 32767);
    EXPECT_EQ(ParseNumber("&HFFFF"), -1);  // 16-bit
    EXPECT_EQ(ParseNumber("&H8000"), -32768);
    EXPECT_EQ(ParseNumber("&H10000"), 65536);
    EXPECT_EQ(ParseNumber("&HFFFFFFFF"), -1);  // 32-bit
    EXPECT_EQ(ParseNumber("&H80000000"), -2147483648.0);
    EXPECT_EQ(ParseNumber("&O177777"), -1);
    EXPECT_EQ(ErrorOf([] { ParseNumber("&H100000000"); }), err::kOverflow);
    EXPECT_EQ(ErrorOf([] { ParseNumber("&HFFFFFFFFFFFFFFFFFFFFFF"); }), err::kOverflow);
}

TEST(ParseNumber, TextThatIsNoNumberRaisesTypeMismatch) {
    for (const char* text :
         {"", "   ", "abc", "1 2", "5x", ".", "-", "+", "1e", "1e+", "e5", "&H", "&HG", "&O8",
          "&X1", "inf", "nan", "infinity", "0x10", "--1", "- 1", "1..2",
          // Grouping commas before the first digit, in the fraction, the exponent or a hex form.
          ",", ",1", "-,5", ".,5", "1.0,0", "1e1,0", "&H1,0", "1 ,0"}) {
        EXPECT_EQ(ErrorOf([&] { ParseNumber(text); }), err::kTypeMismatch) << '"' << text << '"';
    }
}

TEST(ParseNumber, TakesGroupingCommasInTheWholePart) {
    const struct {
        const char* text;
        double value;
    } cases[] = {{"1,000", 1000}, {" -12,345,678 ", -12345678}, {"1,0,0", 100},  {"1,,000", 1000},
                 {"1,", 1},       {"1,000.5", 1000.5},          {"1,5e2", 1500}, {"0,001", 1},
                 {"+2,5", 25}};
    for (const auto& c : cases) EXPECT_EQ(ParseNumber(c.text), c.value) << c.text;
    EXPECT_EQ(ToInteger("32,767"), 32767);
    EXPECT_EQ(ErrorOf([] { ToInteger("32,768"); }), err::kOverflow);
}

TEST(ParseNumber, HugeAndTinyExponents) {
    EXPECT_EQ(ErrorOf([] { ParseNumber("1e309"); }), err::kOverflow);
    EXPECT_EQ(ErrorOf([] { ParseNumber("-1e99999999999999999999"); }), err::kOverflow);
    EXPECT_EQ(ErrorOf([] { ParseNumber(std::string(400, '9')); }), err::kOverflow);
    EXPECT_EQ(ParseNumber("1e-400"), 0);
    EXPECT_EQ(ParseNumber("0.000001e-99999999999999999999"), 0);
    EXPECT_EQ(ParseNumber("0e999999"), 0);
    EXPECT_EQ(ParseNumber("1e308"), 1e308);
}

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(2.5001), 3);
    EXPECT_EQ(RoundHalfEven(-0.7), -1);
    EXPECT_EQ(RoundHalfEven(1e300), 1e300);
}

TEST(IntegerConversions, RangeChecksAfterRounding) {
    EXPECT_EQ(ToInteger(32767.4), 32767);
    EXPECT_EQ(ToInteger(-32768.5), -32768);
    EXPECT_EQ(ErrorOf([] { ToInteger(32767.5); }), err::kOverflow);
    EXPECT_EQ(ErrorOf([] { ToInteger(-32769.0); }), err::kOverflow);
    EXPECT_EQ(ToLong(2147483647.0), 2147483647);
    EXPECT_EQ(ToLong(-2147483648.0), -2147483647 - 1);
    EXPECT_EQ(ErrorOf([] { ToLong(2147483647.5); }), err::kOverflow);
    EXPECT_EQ(ToByte(-0.5), 0);
    EXPECT_EQ(ToByte(255.4), 255);
    EXPECT_EQ(ErrorOf([] { ToByte(-1.0); }), err::kOverflow);
    EXPECT_EQ(ErrorOf([] { ToByte(256.0); }), err::kOverflow);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ErrorOf([&] { ToInteger(nan); }), err::kOverflow);
    EXPECT_EQ(ErrorOf([&] { ToLong(-inf); }), err::kOverflow);
    EXPECT_EQ(ErrorOf([&] { ToByte(inf); }), err::kOverflow);
    EXPECT_EQ(ErrorOf([] { ToLong(1e300); }), err::kOverflow);
}

TEST(IntegerConversions, FromText) {
    EXPECT_EQ(ToInteger(" 42 "), 42);
    EXPECT_EQ(ToInteger("2.5"), 2);
    EXPECT_EQ(ToInteger("&HFFFF"), -1);
    EXPECT_EQ(ToLong("&HFFFFFFFF"), -1);
    EXPECT_EQ(ToByte("&HFF"), 255);
    EXPECT_EQ(ErrorOf([] { ToInteger("&H10000"); }), err::kOverflow);
    EXPECT_EQ(ErrorOf([] { ToInteger("40000"); }), err::kOverflow);
    EXPECT_EQ(ErrorOf([] { ToByte("-1"); }), err::kOverflow);
    EXPECT_EQ(ErrorOf([] { ToLong("x"); }), err::kTypeMismatch);
}

TEST(DecimalText, HasNoLeadingBlank) {
    EXPECT_EQ(DecimalText(5), "5");
    EXPECT_EQ(DecimalText(-12), "-12");
}

}  // namespace
}  // namespace tsukikage
