#include "video/yuv_planar.h"

namespace quorbel {

namespace {

constexpr int kShift = 16;

// Weights scaled to the range's span, in 1/65536ths.
struct Weights {
    int yr, yg, yb, yOffset;
    int ur, ug, ub;
    int vr, vg, vb;
};

constexpr int Fixed(double value) { return static_cast<int>(value * (1 << kShift) + (value < 0 ? -0.5 : 0.5)); }

// From the red and blue luma weights of a standard and the range's spans.
constexpr Weights MakeWeights(double kr, double kb, double lumaSpan, double lumaFloor, double chromaSpan) {
    const double kg = 1.0 - kr - kb;
    const double y = lumaSpan / 255.0;
    const double u = chromaSpan / 255.0 / (2.0 * (1.0 - kb));
    const double v = chromaSpan / 255.0 / (2.0 * (1.0 - kr));
    return {Fixed(kr * y), Fixed(kg * y), Fixed(kb * y), Fixed(lumaFloor + 0.5),
            Fixed(-kr * u), Fixed(-kg * u), Fixed((1.0 - kb) * u),
            Fixed((1.0 - kr) * v), Fixed(-kg * v), Fixed(-kb * v)};
}

constexpr double kKr601 = 0.299, kKb601 = 0.114, kKr709 = 0.2126, kKb709 = 0.0722;
constexpr Weights kWeights[2][2] = {  // [bt709][fullRange]
    {MakeWeights(kKr601, kKb601, 219, 16, 224), MakeWeights(kKr601, kKb601, 255, 0, 255)},
    {MakeWeights(kKr709, kKb709, 219, 16, 224), MakeWeights(kKr709, kKb709, 255, 0, 255)},
};

inline std::uint8_t Luma(int r, int g, int b, const Weights& w) {
    return static_cast<std::uint8_t>((w.yr * r + w.yg * g + w.yb * b + w.yOffset) >> kShift);
}

// Chroma from the sums of 1 << countShift pixels' channels. Full-range
// pure blue or red rounds to 256.
inline std::uint8_t Chroma(int r, int g, int b, int wr, int wg, int wb, int countShift) {
    const int shift = kShift + countShift;
    const int value = ((wr * r + wg * g + wb * b + (1 << (shift - 1))) >> shift) + 128;
    return static_cast<std::uint8_t>(value < 255 ? value : 255);
}

// Written so the compiler vectorises them; with AVX2 where the processor has
// it, which halves the time again. The clones' resolvers run before the
// thread checker's runtime is up and crash it, so its builds go without.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__SANITIZE_THREAD__)
#define QUORBEL_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define QUORBEL_VECTOR_CLONES
#endif

// One row of 4:2:2: luma per pixel, chroma per pair side by side.
QUORBEL_VECTOR_CLONES
void Row422(const std::uint8_t* __restrict row, int pairs, const Weights& w, std::uint8_t* __restrict y,
            std::uint8_t* __restrict u, std::uint8_t* __restrict v) {
    for (int x = 0; x < pairs; ++x) {
        const std::uint8_t* p = row + 8 * x;
        y[2 * x] = Luma(p[2], p[1], p[0], w);
        y[2 * x + 1] = Luma(p[6], p[5], p[4], w);
        const int r = p[2] + p[6], g = p[1] + p[5], b = p[0] + p[4];
        u[x] = Chroma(r, g, b, w.ur, w.ug, w.ub, 1);
        v[x] = Chroma(r, g, b, w.vr, w.vg, w.vb, 1);
    }
}

// Two rows of 4:2:0: luma per pixel, chroma per square of four.
QUORBEL_VECTOR_CLONES
void RowPair420(const std::uint8_t* __restrict top, const std::uint8_t* __restrict bottom, int pairs,
                const Weights& w, std::uint8_t* __restrict yTop, std::uint8_t* __restrict yBottom,
                std::uint8_t* __restrict u, std::uint8_t* __restrict v) {
    for (int x = 0; x < pairs; ++x) {
        const std::uint8_t* p = top + 8 * x;
        const std::uint8_t* q = bottom + 8 * x;
        yTop[2 * x] = Luma(p[2], p[1], p[0], w);
        yTop[2 * x + 1] = Luma(p[6], p[5], p[4], w);
        yBottom[2 * x] = Luma(q[2], q[1], q[0], w);
        yBottom[2 * x + 1] = Luma(q[6], q[5], q[4], w);
        const int r = p[2] + p[6] + q[2] + q[6], g = p[1] + p[5] + q[1] + q[5], b = p[0] + p[4] + q[0] + q[4];
        u[x] = Chroma(r, g, b, w.ur, w.ug, w.ub, 2);
        v[x] = Chroma(r, g, b, w.vr, w.vg, w.vb, 2);
    }
}

}  // namespace

bool PlanarConversionFits(int width, int height) {
    return width > 0 && height > 0 && width % 2 == 0 && height % 2 == 0;
}

void BgrxToPlanarYuv(const std::uint8_t* bottomUp, int width, int height, PlanarLayout layout,
                     std::uint8_t* const planes[3], const int strides[3]) {
    const Weights& w = kWeights[layout.bt709][layout.fullRange];
    const long rowBytes = 4L * width;
    auto source = [&](int y) { return bottomUp + (height - 1 - y) * rowBytes; };
    auto plane = [&](int index, int row) { return planes[index] + static_cast<long>(row) * strides[index]; };
    const int pairs = width / 2;
    if (layout.halfChromaRows) {
        for (int c = 0; c < height / 2; ++c)
            RowPair420(source(2 * c), source(2 * c + 1), pairs, w, plane(0, 2 * c), plane(0, 2 * c + 1), plane(1, c),
                       plane(2, c));
    } else {
        for (int y = 0; y < height; ++y) Row422(source(y), pairs, w, plane(0, y), plane(1, y), plane(2, y));
    }
}

}  // namespace quorbel
