// Numbers as people type them: decimal whole numbers (a leading zero is not
// octal), floats down to underflow, colours as 0xRRGGBB.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <string>

#include "scene/number_text.h"

namespace quorbel {
namespace {

constexpr auto Ok = NumberStatus::Ok;
constexpr auto Malformed = NumberStatus::Malformed;
constexpr auto OutOfRange = NumberStatus::OutOfRange;

TEST(WholeNumberText, DecimalWithOptionalSignOnly) {
    struct Case {
        const char* text;
        NumberStatus status;
        std::int64_t value;
    };
    const Case cases[] = {
        {"0", Ok, 0},
        {"010", Ok, 10},  // not octal eight
        {"08", Ok, 8},    // not a bad octal digit
        {"-007", Ok, -7},
        {"+42", Ok, 42},
        {"-0", Ok, 0},
        {" 12\t", Ok, 12},  // blanks around are forgiven
        {"2147483647", Ok, INT32_MAX},
        {"-2147483648", Ok, INT32_MIN},
        {"2147483648", OutOfRange, 0},
        {"-2147483649", OutOfRange, 0},
        {"99999999999999999999999", OutOfRange, 0},
        {"-99999999999999999999999", OutOfRange, 0},
        {"", Malformed, 0},
        {"+", Malformed, 0},
        {"-", Malformed, 0},
        {"0x10", Malformed, 0},
        {"1e3", Malformed, 0},
        {"2.0", Malformed, 0},
        {"1 2", Malformed, 0},
        {"+-1", Malformed, 0},
        {"--1", Malformed, 0},
        {"12abc", Malformed, 0},
        {"\xd9\xa3", Malformed, 0},  // a digit of another script
    };
    for (const Case& c : cases) {
        const auto parsed = ParseWholeNumber(c.text, INT32_MIN, INT32_MAX);
        EXPECT_EQ(parsed.status, c.status) << '"' << c.text << '"';
        if (c.status == Ok) {
            EXPECT_EQ(parsed.value, c.value) << '"' << c.text << '"';
        }
    }
}

TEST(WholeNumberText, WholeInt64RangeAndNarrowRanges) {
    EXPECT_EQ(ParseWholeNumber("-9223372036854775808", INT64_MIN, INT64_MAX).value, INT64_MIN);
    EXPECT_EQ(ParseWholeNumber("9223372036854775807", INT64_MIN, INT64_MAX).value, INT64_MAX);
    EXPECT_EQ(ParseWholeNumber("9223372036854775808", INT64_MIN, INT64_MAX).status, OutOfRange);
    EXPECT_EQ(ParseWholeNumber("0", 1, 10).status, OutOfRange);
    EXPECT_EQ(ParseWholeNumber("11", 1, 10).status, OutOfRange);
    EXPECT_EQ(ParseWholeNumber("10", 1, 10).value, 10);
}

TEST(FloatText, AnythingFiniteIncludingUnderflow) {
    struct Case {
        const char* text;
        NumberStatus status;
        float value;
    };
    const Case cases[] = {
        {"1.5", Ok, 1.5f},
        {"-.25", Ok, -0.25f},
        {"+2.", Ok, 2.0f},
        {"010.5", Ok, 10.5f},
        {"3e-2", Ok, 0.03f},
        {"1E+3", Ok, 1000.0f},
        {"1e-38", Ok, 1e-38f},            // below the smallest normal float
        {"1e-45", Ok, 1.4e-45f},           // the smallest float there is
        {"1e-50", Ok, 0.0f},               // underflows to zero: still finite
        {"0.000001e-99999999999", Ok, 0.0f},
        {"123e-400", Ok, 0.0f},
        {"3.4028234e38", Ok, 3.4028234e38f},
        {"3.5e38", OutOfRange, 0},
        {"-1e39", OutOfRange, 0},
        {"1000e999999", OutOfRange, 0},
        {"inf", Malformed, 0},
        {"-infinity", Malformed, 0},
        {"nan", Malformed, 0},
        {"0x1p3", Malformed, 0},
        {"1,5", Malformed, 0},
        {"", Malformed, 0},
        {".", Malformed, 0},
        {"e5", Malformed, 0},
        {"1e", Malformed, 0},
        {"1e+", Malformed, 0},
        {"1.0x", Malformed, 0},
        {"1..0", Malformed, 0},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseFiniteFloat(c.text);
        EXPECT_EQ(parsed.status, c.status) << '"' << c.text << '"';
        if (c.status == Ok) {
            EXPECT_EQ(parsed.value, c.value) << '"' << c.text << '"';
        }
    }
    EXPECT_TRUE(std::signbit(ParseFiniteFloat("-1e-60").value)) << "the sign survives underflow";
}

TEST(ColourText, HexIsRedFirstDecimalIsTheReference) {
    struct Case {
        const char* text;
        NumberStatus status;
        std::uint32_t reference;  // 0x00BBGGRR
    };
    const Case cases[] = {
        {"0xff0000", Ok, 0x0000ffu},  // red
        {"0x00FF00", Ok, 0x00ff00u},  // green
        {"0X0000ff", Ok, 0xff0000u},  // blue
        {"0xff8040", Ok, 0x4080ffu},
        {"0xff", Ok, 0xff0000u},      // fewer digits: the low ones are blue
        {"255", Ok, 0x0000ffu},       // decimal is the reference itself: red
        {"010", Ok, 10u},
        {"4294967295", Ok, 0xffffffffu},
        {"0x00ff8040", OutOfRange, 0},  // eight digits are not RRGGBB
        {"0x1000000", OutOfRange, 0},
        {"4294967296", OutOfRange, 0},
        {"-1", OutOfRange, 0},
        {"0x", Malformed, 0},
        {"0x-1", Malformed, 0},
        {"0xgg0000", Malformed, 0},
        {"#ff0000", Malformed, 0},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseColourText(c.text);
        EXPECT_EQ(parsed.status, c.status) << '"' << c.text << '"';
        if (c.status == Ok) {
            EXPECT_EQ(parsed.value, c.reference) << '"' << c.text << '"';
        }
    }
}

}  // namespace
}  // namespace quorbel
