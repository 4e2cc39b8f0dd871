// A recording's frame rate as a fraction, so that the television rates
// (30000/1001 and its kin) are exact rather than rounded.
#pragma once

#include <optional>
#include <string>

namespace quorbel {

struct FrameRate {
    int frames = 30;   // frames ...
    int seconds = 1;   // ... per this many seconds

    double perSecond() const { return static_cast<double>(frames) / seconds; }
    bool operator==(const FrameRate&) const = default;
};

// The fastest rate a recording may ask for. Each recorded frame is one step
// of the scene, so faster only makes sense for slow-motion work.
constexpr int kFastestFrameRate = 240;

// Reads "25", "30000/1001" or the usual decimal names of the television
// rates ("23.976", "29.97", "59.94"). For anything else, or a rate that is
// not above 0 and at most kFastestFrameRate, nothing, with the reason in
// `error` ("expected ...").
std::optional<FrameRate> ParseFrameRate(const std::string& text, std::string& error);
// "30" or "30000/1001".
std::string FrameRateText(const FrameRate& rate);

}  // namespace quorbel
