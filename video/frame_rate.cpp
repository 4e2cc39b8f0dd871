#include "video/frame_rate.h"

#include <cstdlib>
#include <numeric>

namespace quorbel {

namespace {

// Decimal names people use for the NTSC-derived rates; any other decimal
// would be a rounded rate the file cannot hold exactly.
struct DecimalRate {
    const char* text;
    FrameRate rate;
};
constexpr DecimalRate kDecimalRates[] = {
    {"23.976", {24000, 1001}}, {"23.98", {24000, 1001}}, {"29.97", {30000, 1001}},
    {"59.94", {60000, 1001}},  {"47.952", {48000, 1001}}, {"119.88", {120000, 1001}},
};

std::optional<long> WholeNumber(const std::string& text) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::strtol(text.c_str(), nullptr, 10);
}

std::optional<FrameRate> Fraction(const std::string& text) {
    const auto slash = text.find('/');
    const auto frames = WholeNumber(text.substr(0, slash));
    const auto seconds = slash == std::string::npos ? std::optional<long>(1) : WholeNumber(text.substr(slash + 1));
    if (!frames || !seconds || *frames <= 0 || *seconds <= 0) return std::nullopt;
    const long common = std::gcd(*frames, *seconds);
    return FrameRate{static_cast<int>(*frames / common), static_cast<int>(*seconds / common)};
}

}  // namespace

std::optional<FrameRate> ParseFrameRate(const std::string& text, std::string& error) {
    std::optional<FrameRate> rate;
    for (const DecimalRate& decimal : kDecimalRates)
        if (text == decimal.text) rate = decimal.rate;
    if (!rate) rate = Fraction(text);
    if (!rate) {
        error = "expected a whole number such as 25, 30 or 60, a fraction such as 30000/1001, or one of 23.976, "
                "29.97, 59.94";
        return std::nullopt;
    }
    if (rate->perSecond() > kFastestFrameRate) {
        error = "at most " + std::to_string(kFastestFrameRate) + " frames per second";
        return std::nullopt;
    }
    return rate;
}

std::string FrameRateText(const FrameRate& rate) {
    const std::string frames = std::to_string(rate.frames);
    return rate.seconds == 1 ? frames : frames + "/" + std::to_string(rate.seconds);
}

}  // namespace quorbel
