#include "scene/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace quorbel {

namespace {

constexpr std::uint32_t kLargestRgb = 0xFFFFFF;
// Past this a decimal exponent says nothing more about the size of a float,
// even with as many digits before it as any text can hold.
constexpr long kExponentClamp = 1'000'000'000'000;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool AllDigits(std::string_view text) { return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit); }

// Splits off a leading sign; true when it was a minus.
bool TakeSign(std::string_view& text) {
    if (text.empty() || (text.front() != '+' && text.front() != '-')) return false;
    bool negative = text.front() == '-';
    text.remove_prefix(1);
    return negative;
}

std::string_view TakeDigits(std::string_view& text) {
    std::size_t n = 0;
    while (n < text.size() && IsDigit(text[n])) ++n;
    std::string_view digits = text.substr(0, n);
    text.remove_prefix(n);
    return digits;
}

// Reads an optional decimal exponent ("e-5"), clamped.
bool TakeExponent(std::string_view& text, long& exponent) {
    exponent = 0;
    if (text.empty() || (text.front() != 'e' && text.front() != 'E')) return true;
    text.remove_prefix(1);
    const bool negative = TakeSign(text);
    std::string_view digits = TakeDigits(text);
    if (digits.empty()) return false;
    for (char c : digits) exponent = std::min(exponent * 10 + (c - '0'), kExponentClamp);
    if (negative) exponent = -exponent;
    return true;
}

// Checks that `text` (no sign) is digits, an optional fraction and an
// optional exponent, and works out the decimal order of magnitude of its
// first significant digit: 0 for 1 to 9.99, -1 for 0.1 to 0.999, and so on
// (0 for zero itself).
bool DecimalOrder(std::string_view text, long& order) {
    const std::string_view whole = TakeDigits(text);
    std::string_view fraction;
    if (!text.empty() && text.front() == '.') {
        text.remove_prefix(1);
        fraction = TakeDigits(text);
    }
    long exponent = 0;
    if (whole.empty() && fraction.empty()) return false;
    if (!TakeExponent(text, exponent) || !text.empty()) return false;
    const std::size_t firstWhole = whole.find_first_not_of('0');
    const std::size_t firstFraction = fraction.find_first_not_of('0');
    order = exponent;
    if (firstWhole != std::string_view::npos)
        order += static_cast<long>(whole.size() - 1 - firstWhole);
    else if (firstFraction != std::string_view::npos)
        order -= static_cast<long>(firstFraction + 1);
    return true;
}

ParsedNumber<std::uint32_t> ParseRgbHex(std::string_view hex) {
    ParsedNumber<std::uint32_t> parsed;
    std::uint32_t rgb = 0;
    auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), rgb, 16);
    if (hex.empty() || end != hex.data() + hex.size() || hex.front() == '+' || hex.front() == '-') return parsed;
    if (error != std::errc{} || rgb > kLargestRgb || hex.size() > 6) {
        parsed.status = NumberStatus::OutOfRange;
        return parsed;
    }
    const std::uint32_t red = rgb >> 16, green = (rgb >> 8) & 0xFFu, blue = rgb & 0xFFu;
    parsed.value = blue << 16 | green << 8 | red;
    parsed.status = NumberStatus::Ok;
    return parsed;
}

}  // namespace

ParsedNumber<std::int64_t> ParseWholeNumber(std::string_view text, std::int64_t low, std::int64_t high) {
    ParsedNumber<std::int64_t> parsed;
    text = Trimmed(text);
    const bool negative = TakeSign(text);
    if (!AllDigits(text)) return parsed;
    std::uint64_t magnitude = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, 10);
    (void)end;
    parsed.status = NumberStatus::OutOfRange;
    if (error != std::errc{} || magnitude > std::uint64_t{INT64_MAX} + 1) return parsed;
    if (!negative && magnitude > std::uint64_t{INT64_MAX}) return parsed;
    const std::int64_t value = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    if (value < low || value > high) return parsed;
    parsed.value = value;
    parsed.status = NumberStatus::Ok;
    return parsed;
}

ParsedNumber<float> ParseFiniteFloat(std::string_view text) {
    ParsedNumber<float> parsed;
    text = Trimmed(text);
    std::string_view unsignedText = text;
    const bool negative = TakeSign(unsignedText);
    long order = 0;
    if (!DecimalOrder(unsignedText, order)) return parsed;
    float value = 0.0f;
    // from_chars takes a minus but not a plus, and no locale's decimal comma.
    const char* first = negative ? text.data() : unsignedText.data();
    auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Too small for a float is the nearest float, zero; too large is refused.
        if (order >= 0) {
            parsed.status = NumberStatus::OutOfRange;
            return parsed;
        }
        value = negative ? -0.0f : 0.0f;
    } else if (error != std::errc{} || !std::isfinite(value)) {
        return parsed;
    }
    parsed.value = value;
    parsed.status = NumberStatus::Ok;
    return parsed;
}

ParsedNumber<std::uint32_t> ParseColourText(std::string_view text) {
    text = Trimmed(text);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return ParseRgbHex(text.substr(2));
    ParsedNumber<std::int64_t> whole = ParseWholeNumber(text, 0, UINT32_MAX);
    return {whole.status, static_cast<std::uint32_t>(whole.value)};
}

std::string RangeText(std::int64_t low, std::int64_t high) {
    return "from " + std::to_string(low) + " to " + std::to_string(high);
}

}  // namespace quorbel
