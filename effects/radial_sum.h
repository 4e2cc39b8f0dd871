// The radial blur's overlay computed on the processor in one pass: what
// many magnified, fading copies of the grey capture add to an 8-bit frame
// buffer when each is blended (source alpha, one) on its own. Every layer is
// rounded as the blender rounds it, so the sum matches the layer-by-layer
// picture instead of drifting as a sum in higher precision would. The
// arithmetic is llvmpipe's, as measured: bilinear weights of 8 bits
// (rows filtered across first), the colour applied in float and rounded, and
// the blend's 8-bit products rounded as it rounds them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorbel {

constexpr int kRadialPictureSize = 128;

// One layer as the overlay draws it: the texture coordinates run from
// `inset` to 1 - `inset` across the view, and `alpha` is its opacity.
struct RadialLayer {
    float inset;
    std::uint8_t alpha;
};

struct RadialSumRequest {
    const std::uint8_t* picture = nullptr;  // 128 x 128 grey levels, bottom row first
    const RadialLayer* layers = nullptr;
    int layerCount = 0;
    float colour[3] = {1, 1, 1};               // the layers' colour, 0 to 1
    int viewWidth = 0, viewHeight = 0;         // the view the layers cover
    int left = 0, bottom = 0, width = 0, height = 0;  // the part of it wanted
};

// 8-bit helpers, exactly as the rasteriser computes them.
float ClampUnit(float value);          // to 0..1 (NaN to 0), as a vertex colour is
std::uint8_t UnitToByte(float value);  // clamped to 0..1, rounded to nearest
// To the nearest whole number, halves to even, for 0 <= value < 2^23: the
// float addition does the rounding (and, unlike a library call, vectorises).
inline float RoundHalfEven(float value) {
    constexpr float kShift = 8388608.0f;  // 2^23: no fraction bits left
    return (value + kShift) - kShift;
}
// A grey level times a colour channel: the level as a fraction (times
// 1/255), times the colour, back to a level.
inline int Tint(int grey, float colour) {
    return static_cast<int>(RoundHalfEven(static_cast<float>(grey) * (1.0f / 255.0f) * colour * 255.0f));
}
int FilterWeight(float texel, int& first);  // texel coordinate -> first texel, weight 0..256
// Both in 16-bit arithmetic, which cannot overflow for levels and weights,
// so that the loops over a row vectorise eight or sixteen pixels at a time.
inline std::uint16_t Lerp8(std::uint16_t p, std::uint16_t q, std::uint16_t weight) {
    const auto sum = static_cast<std::uint16_t>(p * (256 - weight) + q * weight + 128);
    return static_cast<std::uint16_t>(sum >> 8);
}
inline std::uint16_t Multiply8(std::uint16_t a, std::uint16_t b) {
    const auto t = static_cast<std::uint16_t>(a * b);
    return static_cast<std::uint16_t>(static_cast<std::uint16_t>(t + (t >> 8) + 128) >> 8);
}

class RadialSummer {
public:
    // Writes what the layers add to each pixel of the wanted part (saturated
    // at 255) as RGBA into `rgba`, width x height x 4 bytes, bottom row
    // first. False, with nothing written, when a layer's coordinates are too
    // large to follow (only hostile settings make them so) or the part lies
    // outside the view. Allocates only when the part is larger than before.
    bool Sum(const RadialSumRequest& request, std::uint8_t* rgba);

private:
    struct Axis {  // per column or per row of the part: first texel and weight
        std::vector<int> first;
        std::vector<std::uint16_t> weight;
    };
    bool PlaceAxis(float inset, int viewSize, int start, int count, Axis& axis) const;
    void FilterRows(const RadialSumRequest& request);
    void AddLayer(const RadialSumRequest& request, std::uint8_t alpha, int channels);
    void Grow(int width, int height);
    static bool PartInView(const RadialSumRequest& request);
    void ClampAllSums(int channels, std::size_t pixels);
    void WriteRgba(int channels, std::size_t pixels, std::uint8_t alpha, std::uint8_t* rgba) const;

    Axis columns_, rows_;
    std::vector<std::uint16_t> filteredRows_;  // 128 rows across the part
    std::vector<std::uint8_t> rowWanted_;
    std::vector<std::uint16_t> grey_;          // one row of filtered values
    std::vector<std::uint16_t> sums_[3];       // per channel, per pixel
};

}  // namespace quorbel
