#include "video/yuv_planar.h"

#include "platform/vector_clones.h"

namespace quorbel {

namespace {

constexpr int kShift = 16;

// Weights scaled to the range's span, in 1/65536ths, and where chroma
// centres and ends.
struct Weights {
    int yr, yg, yb, yOffset;
    int ur, ug, ub;
    int vr, vg, vb;
    int chromaCentre, largest;
};

constexpr int Fixed(double value) { return static_cast<int>(value * (1 << kShift) + (value < 0 ? -0.5 : 0.5)); }

// From the red and blue luma weights of a standard and the range's spans,
// given for 8 bits and multiplied up for 10.
constexpr Weights MakeWeights(double kr, double kb, double lumaSpan, double lumaFloor, double chromaSpan,
                              bool tenBits) {
    const double kg = 1.0 - kr - kb;
    const double scale = tenBits ? 4.0 : 1.0;
    const int largest = tenBits ? 1023 : 255;
    if (tenBits && lumaSpan == 255) lumaSpan = chromaSpan = 255.75;  // full range: 0..1023
    const double y = scale * lumaSpan / 255.0;
    const double u = scale * chromaSpan / 255.0 / (2.0 * (1.0 - kb));
    const double v = scale * chromaSpan / 255.0 / (2.0 * (1.0 - kr));
    return {Fixed(kr * y), Fixed(kg * y), Fixed(kb * y), Fixed(scale * lumaFloor + 0.5),
            Fixed(-kr * u), Fixed(-kg * u), Fixed((1.0 - kb) * u),
            Fixed((1.0 - kr) * v), Fixed(-kg * v), Fixed(-kb * v),
            tenBits ? 512 : 128, largest};
}

constexpr double kKr601 = 0.299, kKb601 = 0.114, kKr709 = 0.2126, kKb709 = 0.0722;
constexpr Weights Standard(double kr, double kb, bool fullRange, bool tenBits) {
    return fullRange ? MakeWeights(kr, kb, 255, 0, 255, tenBits) : MakeWeights(kr, kb, 219, 16, 224, tenBits);
}
constexpr Weights kWeights[2][2][2] = {  // [tenBits][bt709][fullRange]
    {{Standard(kKr601, kKb601, false, false), Standard(kKr601, kKb601, true, false)},
     {Standard(kKr709, kKb709, false, false), Standard(kKr709, kKb709, true, false)}},
    {{Standard(kKr601, kKb601, false, true), Standard(kKr601, kKb601, true, true)},
     {Standard(kKr709, kKb709, false, true), Standard(kKr709, kKb709, true, true)}},
};

template <typename Sample>
inline Sample Luma(int r, int g, int b, const Weights& w) {
    return static_cast<Sample>((w.yr * r + w.yg * g + w.yb * b + w.yOffset) >> kShift);
}

// Chroma from the sums of 1 << countShift pixels' channels. Full-range
// pure blue or red rounds to one past the largest sample.
template <typename Sample>
inline Sample Chroma(int r, int g, int b, int wr, int wg, int wb, int countShift, const Weights& w) {
    const int shift = kShift + countShift;
    const int value = ((wr * r + wg * g + wb * b + (1 << (shift - 1))) >> shift) + w.chromaCentre;
    return static_cast<Sample>(value < w.largest ? value : w.largest);
}

// The fourth byte on the sample's scale: 10 bits repeat the top two.
template <typename Sample>
inline Sample Alpha(int a) {
    return static_cast<Sample>(sizeof(Sample) == 1 ? a : (a << 2) | (a >> 6));
}

// One row of 4:2:2: luma per pixel, chroma per pair side by side.
template <typename Sample>
[[gnu::always_inline]] inline void Row422Of(const std::uint8_t* __restrict row, int pairs, const Weights w,
                                           Sample* __restrict y, Sample* __restrict u, Sample* __restrict v) {
    for (int x = 0; x < pairs; ++x) {
        const std::uint8_t* p = row + 8 * x;
        y[2 * x] = Luma<Sample>(p[2], p[1], p[0], w);
        y[2 * x + 1] = Luma<Sample>(p[6], p[5], p[4], w);
        const int r = p[2] + p[6], g = p[1] + p[5], b = p[0] + p[4];
        u[x] = Chroma<Sample>(r, g, b, w.ur, w.ug, w.ub, 1, w);
        v[x] = Chroma<Sample>(r, g, b, w.vr, w.vg, w.vb, 1, w);
    }
}

// Two rows of 4:2:0: luma per pixel, chroma per square of four.
template <typename Sample>
[[gnu::always_inline]] inline void RowPair420Of(const std::uint8_t* __restrict top,
                                               const std::uint8_t* __restrict bottom, int pairs, const Weights w,
                                               Sample* __restrict yTop, Sample* __restrict yBottom,
                                               Sample* __restrict u, Sample* __restrict v) {
    for (int x = 0; x < pairs; ++x) {
        const std::uint8_t* p = top + 8 * x;
        const std::uint8_t* q = bottom + 8 * x;
        yTop[2 * x] = Luma<Sample>(p[2], p[1], p[0], w);
        yTop[2 * x + 1] = Luma<Sample>(p[6], p[5], p[4], w);
        yBottom[2 * x] = Luma<Sample>(q[2], q[1], q[0], w);
        yBottom[2 * x + 1] = Luma<Sample>(q[6], q[5], q[4], w);
        const int r = p[2] + p[6] + q[2] + q[6], g = p[1] + p[5] + q[1] + q[5], b = p[0] + p[4] + q[0] + q[4];
        u[x] = Chroma<Sample>(r, g, b, w.ur, w.ug, w.ub, 2, w);
        v[x] = Chroma<Sample>(r, g, b, w.vr, w.vg, w.vb, 2, w);
    }
}

// One row of 4:4:4, with the alpha plane when `a` is given.
template <typename Sample>
[[gnu::always_inline]] inline void Row444Of(const std::uint8_t* __restrict row, int width, const Weights w,
                                           Sample* __restrict y, Sample* __restrict u, Sample* __restrict v,
                                           Sample* __restrict a) {
    for (int x = 0; x < width; ++x) {
        const std::uint8_t* p = row + 4 * x;
        y[x] = Luma<Sample>(p[2], p[1], p[0], w);
        u[x] = Chroma<Sample>(p[2], p[1], p[0], w.ur, w.ug, w.ub, 0, w);
        v[x] = Chroma<Sample>(p[2], p[1], p[0], w.vr, w.vg, w.vb, 0, w);
    }
    if (a)
        for (int x = 0; x < width; ++x) a[x] = Alpha<Sample>(row[4 * x + 3]);
}

// The row loops, written so the compiler vectorises them.
using Byte = std::uint8_t;
using Word = std::uint16_t;

QUORBEL_VECTOR_CLONES void Row422(const Byte* row, int pairs, const Weights& w, Byte* y, Byte* u, Byte* v) {
    Row422Of(row, pairs, w, y, u, v);
}
QUORBEL_VECTOR_CLONES void Row422(const Byte* row, int pairs, const Weights& w, Word* y, Word* u, Word* v) {
    Row422Of(row, pairs, w, y, u, v);
}
QUORBEL_VECTOR_CLONES void RowPair420(const Byte* top, const Byte* bottom, int pairs, const Weights& w, Byte* yTop,
                                      Byte* yBottom, Byte* u, Byte* v) {
    RowPair420Of(top, bottom, pairs, w, yTop, yBottom, u, v);
}
QUORBEL_VECTOR_CLONES void RowPair420(const Byte* top, const Byte* bottom, int pairs, const Weights& w, Word* yTop,
                                      Word* yBottom, Word* u, Word* v) {
    RowPair420Of(top, bottom, pairs, w, yTop, yBottom, u, v);
}
QUORBEL_VECTOR_CLONES void Row444(const Byte* row, int width, const Weights& w, Byte* y, Byte* u, Byte* v, Byte* a) {
    Row444Of(row, width, w, y, u, v, a);
}
QUORBEL_VECTOR_CLONES void Row444(const Byte* row, int width, const Weights& w, Word* y, Word* u, Word* v, Word* a) {
    Row444Of(row, width, w, y, u, v, a);
}

template <typename Sample>
void Convert(const std::uint8_t* bottomUp, int width, int height, const PlanarLayout& layout,
             std::uint8_t* const* planes, const int* strides) {
    const Weights& w = kWeights[layout.tenBits][layout.bt709][layout.fullRange];
    const long rowBytes = 4L * width;
    auto source = [&](int y) { return bottomUp + (height - 1 - y) * rowBytes; };
    auto plane = [&](int index, int row) {
        return reinterpret_cast<Sample*>(planes[index] + static_cast<long>(row) * strides[index]);
    };
    const int pairs = width / 2;
    if (layout.fullChroma) {
        for (int y = 0; y < height; ++y)
            Row444(source(y), width, w, plane(0, y), plane(1, y), plane(2, y), layout.alpha ? plane(3, y) : nullptr);
    } else if (layout.halfChromaRows) {
        for (int c = 0; c < height / 2; ++c)
            RowPair420(source(2 * c), source(2 * c + 1), pairs, w, plane(0, 2 * c), plane(0, 2 * c + 1), plane(1, c),
                       plane(2, c));
    } else {
        for (int y = 0; y < height; ++y) Row422(source(y), pairs, w, plane(0, y), plane(1, y), plane(2, y));
    }
}

}  // namespace

bool PlanarConversionFits(int width, int height) {
    return width > 0 && height > 0 && width % 2 == 0 && height % 2 == 0;
}

void BgrxToPlanarYuv(const std::uint8_t* bottomUp, int width, int height, PlanarLayout layout,
                     std::uint8_t* const* planes, const int* strides) {
    if (layout.tenBits) Convert<Word>(bottomUp, width, height, layout, planes, strides);
    else Convert<Byte>(bottomUp, width, height, layout, planes, strides);
}

}  // namespace quorbel
