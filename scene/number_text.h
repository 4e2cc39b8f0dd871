// How numbers typed by a person are read, wherever text becomes a number
// (the command line, number fields, scene fields set by name).
//
// Whole numbers are decimal with an optional sign: nobody typing a particle
// count means octal, so "010" is ten and "08" is eight. Colours may also be
// written 0xRRGGBB, red first as people write them. Decimal numbers are
// read the same whatever locale the desktop set. Blanks around the number
// are ignored; anything else around it makes the text malformed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorbel {

enum class NumberStatus { Ok, Malformed, OutOfRange };

template <typename T>
struct ParsedNumber {
    NumberStatus status = NumberStatus::Malformed;
    T value{};
    bool ok() const { return status == NumberStatus::Ok; }
};

// A decimal whole number from `low` to `high` ("-12", "+7", "010").
ParsedNumber<std::int64_t> ParseWholeNumber(std::string_view text, std::int64_t low, std::int64_t high);

// A decimal number a float can hold ("1.5", "-.25", "3e-2"). A value too
// small for a float becomes the nearest float (a tiny one, or zero with the
// sign kept): it is still finite. Too large for a float is OutOfRange;
// "inf", "nan", hex and anything else malformed.
ParsedNumber<float> ParseFiniteFloat(std::string_view text);

// A colour reference (0x00BBGGRR, red in the low byte) from either its
// decimal value or 0xRRGGBB (one to six hex digits, red first).
ParsedNumber<std::uint32_t> ParseColourText(std::string_view text);

// "from LOW to HIGH", for messages about a refused value.
std::string RangeText(std::int64_t low, std::int64_t high);

}  // namespace quorbel
