#include "effects/radial_sum.h"

#include "platform/vector_clones.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace quorbel {

namespace {

constexpr int kWrap = kRadialPictureSize - 1;  // the capture repeats
constexpr std::uint16_t kFull = 255;
// Beyond this the float coordinates no longer resolve a texel's fraction.
constexpr float kLargestCoordinate = 65536.0f;
constexpr int kLayersBetweenClamps = 256;

std::size_t Index(int row, int width, int column) {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + static_cast<std::size_t>(column);
}

bool SameColour(const float (&colour)[3]) { return colour[0] == colour[1] && colour[1] == colour[2]; }


QUORBEL_VECTOR_CLONES void LerpRows(std::uint16_t* out, const std::uint16_t* below, const std::uint16_t* above, int width,
                               std::uint16_t weight) {
    for (int x = 0; x < width; ++x) out[x] = Lerp8(below[x], above[x], weight);
}

// Sums run unclamped (at most 257 layers of 255 fit 16 bits) and are
// clamped to 255 every kLayersBetweenClamps layers and at the end.
QUORBEL_VECTOR_CLONES void AddToSums(std::uint16_t* sums, const std::uint16_t* grey, int width, std::uint16_t alpha) {
    for (int x = 0; x < width; ++x) sums[x] = static_cast<std::uint16_t>(sums[x] + Multiply8(grey[x], alpha));
}

QUORBEL_VECTOR_CLONES void AddTintedToSums(std::uint16_t* sums, const std::uint16_t* grey, int width, float colour,
                                      std::uint16_t alpha) {
    for (int x = 0; x < width; ++x) {
        const auto lit = static_cast<std::uint16_t>(Tint(grey[x], colour));
        sums[x] = static_cast<std::uint16_t>(sums[x] + Multiply8(lit, alpha));
    }
}

QUORBEL_VECTOR_CLONES void ClampSums(std::uint16_t* sums, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) sums[i] = sums[i] > kFull ? kFull : sums[i];
}

}  // namespace

float ClampUnit(float value) {
    if (!(value > 0.0f)) return 0.0f;  // also NaN
    return std::min(value, 1.0f);
}

std::uint8_t UnitToByte(float value) { return static_cast<std::uint8_t>(RoundHalfEven(ClampUnit(value) * 255.0f)); }

int FilterWeight(float texel, int& first) {
    const float start = std::floor(texel);
    first = static_cast<int>(start);
    return static_cast<int>(RoundHalfEven((texel - start) * 256.0f));
}

// Texture coordinates run from `inset` at one edge of the view to 1 - inset
// at the other, sampled at pixel centres.
bool RadialSummer::PlaceAxis(float inset, int viewSize, int start, int count, Axis& axis) const {
    const float across = (1.0f - 2.0f * inset) / static_cast<float>(viewSize);
    for (int i = 0; i < count; ++i) {
        const float coordinate = inset + across * (static_cast<float>(start + i) + 0.5f);
        const float texel = coordinate * kRadialPictureSize - 0.5f;
        if (!(std::fabs(texel) < kLargestCoordinate)) return false;
        int first = 0;
        axis.weight[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(FilterWeight(texel, first));
        axis.first[static_cast<std::size_t>(i)] = first & kWrap;
    }
    return true;
}

// Each picture row this layer reads, filtered across at every column of the
// part: the rasteriser filters along rows first, then between two rows.
void RadialSummer::FilterRows(const RadialSumRequest& request) {
    std::fill(rowWanted_.begin(), rowWanted_.end(), 0);
    for (int y = 0; y < request.height; ++y) {
        const int row = rows_.first[static_cast<std::size_t>(y)];
        rowWanted_[static_cast<std::size_t>(row)] = 1;
        rowWanted_[static_cast<std::size_t>((row + 1) & kWrap)] = 1;
    }
    for (int row = 0; row < kRadialPictureSize; ++row) {
        if (!rowWanted_[static_cast<std::size_t>(row)]) continue;
        const std::uint8_t* texels = request.picture + Index(row, kRadialPictureSize, 0);
        std::uint16_t* out = &filteredRows_[Index(row, request.width, 0)];
        for (int x = 0; x < request.width; ++x) {
            const int first = columns_.first[static_cast<std::size_t>(x)];
            out[x] = Lerp8(texels[first], texels[(first + 1) & kWrap], columns_.weight[static_cast<std::size_t>(x)]);
        }
    }
}

void RadialSummer::AddLayer(const RadialSumRequest& request, std::uint8_t alpha, int channels) {
    const int width = request.width;
    std::uint16_t* grey = grey_.data();
    for (int y = 0; y < request.height; ++y) {
        const int row = rows_.first[static_cast<std::size_t>(y)];
        const std::uint16_t weight = rows_.weight[static_cast<std::size_t>(y)];
        const std::uint16_t* below = &filteredRows_[Index(row, width, 0)];
        const std::uint16_t* above = &filteredRows_[Index((row + 1) & kWrap, width, 0)];
        LerpRows(grey, below, above, width, weight);
        for (int channel = 0; channel < channels; ++channel) {
            const float colour = ClampUnit(request.colour[channel]);
            std::uint16_t* sums = &sums_[channel][Index(y, width, 0)];
            if (colour == 1.0f) AddToSums(sums, grey, width, alpha);
            else AddTintedToSums(sums, grey, width, colour, alpha);
        }
    }
}

void RadialSummer::Grow(int width, int height) {
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (columns_.first.size() < static_cast<std::size_t>(width)) {
        columns_.first.resize(static_cast<std::size_t>(width));
        columns_.weight.resize(static_cast<std::size_t>(width));
        grey_.resize(static_cast<std::size_t>(width));
        filteredRows_.resize(static_cast<std::size_t>(width) * kRadialPictureSize);
    }
    if (rows_.first.size() < static_cast<std::size_t>(height)) {
        rows_.first.resize(static_cast<std::size_t>(height));
        rows_.weight.resize(static_cast<std::size_t>(height));
    }
    rowWanted_.resize(kRadialPictureSize);
    for (auto& sums : sums_)
        if (sums.size() < pixels) sums.resize(pixels);
}

bool RadialSummer::Sum(const RadialSumRequest& request, std::uint8_t* rgba) {
    if (!request.picture || !PartInView(request)) return false;
    Grow(request.width, request.height);
    const std::size_t pixels = static_cast<std::size_t>(request.width) * static_cast<std::size_t>(request.height);
    const int channels = SameColour(request.colour) ? 1 : 3;
    for (int channel = 0; channel < channels; ++channel) std::fill_n(sums_[channel].begin(), pixels, 0);
    int alphaSum = 0;
    int added = 0;
    for (int i = 0; i < request.layerCount; ++i) {
        const RadialLayer& layer = request.layers[i];
        if (!PlaceAxis(layer.inset, request.viewWidth, request.left, request.width, columns_) ||
            !PlaceAxis(layer.inset, request.viewHeight, request.bottom, request.height, rows_))
            return false;
        if (layer.alpha == 0) continue;  // adds nothing anywhere
        FilterRows(request);
        AddLayer(request, layer.alpha, channels);
        if (++added % kLayersBetweenClamps == 0) ClampAllSums(channels, pixels);
        // The capture is opaque, so each layer's alpha adds alpha x alpha.
        alphaSum = std::min<int>(alphaSum + Multiply8(layer.alpha, layer.alpha), kFull);
    }
    ClampAllSums(channels, pixels);
    WriteRgba(channels, pixels, static_cast<std::uint8_t>(alphaSum), rgba);
    return true;
}

bool RadialSummer::PartInView(const RadialSumRequest& request) {
    return request.left >= 0 && request.bottom >= 0 && request.width > 0 && request.height > 0 &&
           request.left + request.width <= request.viewWidth && request.bottom + request.height <= request.viewHeight;
}

void RadialSummer::ClampAllSums(int channels, std::size_t pixels) {
    for (int channel = 0; channel < channels; ++channel) ClampSums(sums_[channel].data(), pixels);
}

void RadialSummer::WriteRgba(int channels, std::size_t pixels, std::uint8_t alpha, std::uint8_t* rgba) const {
    for (std::size_t p = 0; p < pixels; ++p) {
        for (int channel = 0; channel < 3; ++channel)
            rgba[4 * p + static_cast<std::size_t>(channel)] =
                static_cast<std::uint8_t>(sums_[channels == 3 ? channel : 0][p]);
        rgba[4 * p + 3] = alpha;
    }
}

}  // namespace quorbel
