// Draws the default texture pictures the program loads at start-up and
// writes them as 24-bit BMP files into Data/ and gfx/ of the given folder
// (default: the current one). Every picture is computed here; nothing is
// copied from anywhere.
//
//   make_default_pictures [OUTPUT_FOLDER]
//
// The tiled pictures (lines, weave, plasma, matrix) repeat seamlessly, since
// the tiles and the tunnel wrap them; the sprites (bubble, p2, P3, Fire)
// fade to black at their edges, since they are drawn with additive blending.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 256;
constexpr float kPi = 3.14159265358979f;

struct Colour {
    float r = 0, g = 0, b = 0;
};

Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Colour operator*(Colour a, float s) { return {a.r * s, a.g * s, a.b * s}; }
Colour Mix(Colour a, Colour b, float t) { return a * (1 - t) + b * t; }

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
float SmoothStep(float edge0, float edge1, float x) {
    float t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

// A picture, top row first, channels 0..1 (values above 1 are clipped when written).
struct Picture {
    int width = kSize;
    int height = kSize;
    std::vector<Colour> pixels = std::vector<Colour>(kSize * kSize);

    Colour& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    const Colour& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Fills a picture from a function of the pixel position.
Picture Draw(const std::function<Colour(int x, int y)>& shade) {
    Picture picture;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) picture.at(x, y) = shade(x, y);
    }
    return picture;
}

// Adds a soft glow: the picture blurred with wrap-around, scaled by `amount`.
void AddGlow(Picture& picture, int radius, float amount) {
    Picture blurred = picture;
    auto pass = [&](const Picture& from, Picture& to, int dx, int dy) {
        for (int y = 0; y < from.height; ++y) {
            for (int x = 0; x < from.width; ++x) {
                Colour sum;
                for (int k = -radius; k <= radius; ++k) {
                    int sx = (x + dx * k + from.width) % from.width;
                    int sy = (y + dy * k + from.height) % from.height;
                    sum = sum + from.at(sx, sy);
                }
                to.at(x, y) = sum * (1.0f / static_cast<float>(2 * radius + 1));
            }
        }
    };
    Picture horizontal = picture;
    pass(picture, horizontal, 1, 0);
    pass(horizontal, blurred, 0, 1);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        picture.pixels[i] = picture.pixels[i] + blurred.pixels[i] * amount;
    }
}

// ---- writing ---------------------------------------------------------------

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::uint8_t ToByte(float v) { return static_cast<std::uint8_t>(std::lround(Clamp01(v) * 255.0f)); }

// Writes an uncompressed 24-bit BMP with a 40-byte info header, rows
// bottom first and padded to four bytes as the format wants.
bool WriteBmp24(const std::filesystem::path& file, const Picture& picture) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(picture.width) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(picture.height);
    std::vector<std::uint8_t> bytes;
    bytes.push_back('B');
    bytes.push_back('M');
    Put32(bytes, 54 + imageSize);
    Put32(bytes, 0);
    Put32(bytes, 54);
    Put32(bytes, 40);
    Put32(bytes, static_cast<std::uint32_t>(picture.width));
    Put32(bytes, static_cast<std::uint32_t>(picture.height));
    Put16(bytes, 1);
    Put16(bytes, 24);
    Put32(bytes, 0);
    Put32(bytes, imageSize);
    Put32(bytes, 2835);  // 72 dots per inch
    Put32(bytes, 2835);
    Put32(bytes, 0);
    Put32(bytes, 0);
    for (int y = picture.height - 1; y >= 0; --y) {
        std::size_t rowStart = bytes.size();
        for (int x = 0; x < picture.width; ++x) {
            const Colour& c = picture.at(x, y);
            bytes.insert(bytes.end(), {ToByte(c.b), ToByte(c.g), ToByte(c.r)});
        }
        bytes.resize(rowStart + stride, 0);
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// ---- noise -----------------------------------------------------------------

float Hash(int x, int y, int seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

// Value noise on a lattice of `cells` x `cells` over the picture; it wraps
// around, so pictures made from it tile.
float PeriodicNoise(float x, float y, int cells, int seed) {
    float fx = x / kSize * cells, fy = y / kSize * cells;
    int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    float tx = SmoothStep(0, 1, fx - ix), ty = SmoothStep(0, 1, fy - iy);
    auto at = [&](int cx, int cy) {
        return Hash((cx % cells + cells) % cells, (cy % cells + cells) % cells, seed);
    };
    float top = at(ix, iy) * (1 - tx) + at(ix + 1, iy) * tx;
    float bottom = at(ix, iy + 1) * (1 - tx) + at(ix + 1, iy + 1) * tx;
    return top * (1 - ty) + bottom * ty;
}

float Turbulence(float x, float y, int seed) {
    float sum = 0, weight = 0.5f;
    for (int cells = 4; cells <= 64; cells *= 2, weight *= 0.5f)
        sum += PeriodicNoise(x, y, cells, seed) * weight;
    return sum / 0.9375f;
}

// ---- the tiled pictures ----------------------------------------------------

// Distance from `v` to the nearest multiple of `period`.
float DistanceToGrid(float v, float period) {
    float m = std::fmod(v, period);
    return std::min(m, period - m);
}

Picture Lines() {
    Picture picture = Draw([](int x, int y) {
        float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
        auto line = [](float d, float width) { return std::exp(-(d * d) / (2 * width * width)); };
        Colour background{0.02f, 0.02f, 0.08f};
        Colour cyan{0.2f, 0.9f, 1.0f}, violet{0.6f, 0.3f, 1.0f}, blue{0.1f, 0.3f, 0.8f};
        return background + cyan * line(DistanceToGrid(fy, 64), 1.2f) +
               violet * line(DistanceToGrid(fx, 64), 1.2f) +
               blue * (0.5f * line(DistanceToGrid(fy + 32, 64), 0.7f)) +
               blue * (0.5f * line(DistanceToGrid(fx + 32, 64), 0.7f)) +
               cyan * (0.25f * line(DistanceToGrid(fx + fy, 128) / std::sqrt(2.0f), 0.8f));
    });
    AddGlow(picture, 4, 0.8f);
    return picture;
}

// Over-and-under strands, 32 pixels wide: a warm warp and a deep teal weft,
// each shaded as a round thread that dips where it passes underneath.
Picture Weave() {
    constexpr float kBand = 32;
    return Draw([&](int x, int y) {
        float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
        int column = x / static_cast<int>(kBand), row = y / static_cast<int>(kBand);
        float across = std::fmod(fx, kBand) / kBand, down = std::fmod(fy, kBand) / kBand;
        auto strand = [](float side, float along, float fibres) {
            float inside = SmoothStep(0.06f, 0.14f, side) * SmoothStep(0.94f, 0.86f, side);
            float round = std::sin(kPi * side);
            float dip = 0.55f + 0.45f * std::sin(kPi * along);
            float texture = 0.88f + 0.12f * std::sin(2 * kPi * (side * 5 + fibres));
            return inside * round * dip * texture;
        };
        float warp = strand(across, down, down * 3);    // runs up and down
        float weft = strand(down, across, across * 3);  // runs left and right
        Colour gold{1.0f, 0.72f, 0.25f}, teal{0.1f, 0.6f, 0.65f}, gap{0.03f, 0.02f, 0.02f};
        bool warpOnTop = (column + row) % 2 == 0;
        float top = warpOnTop ? warp : weft;
        Colour topColour = warpOnTop ? gold : teal;
        Colour under = (warpOnTop ? teal : gold) * ((warpOnTop ? weft : warp) * 0.45f);
        Colour base = gap + under;
        return Mix(base, topColour * (0.25f + 0.85f * top), SmoothStep(0.0f, 0.08f, top));
    });
}

Picture Plasma() {
    return Draw([](int x, int y) {
        auto wave = [&](int a, int b, float phase) {
            return std::sin(2 * kPi * static_cast<float>(a * x + b * y) / kSize + phase);
        };
        float v = wave(2, 0, 0) + wave(0, 3, 1.3f) + wave(1, 1, 2.1f) + wave(3, -2, 0.4f) +
                  1.5f * (Turbulence(static_cast<float>(x), static_cast<float>(y), 7) - 0.5f);
        float t = v * 0.6f;
        return Colour{0.5f + 0.5f * std::sin(kPi * t), 0.5f + 0.5f * std::sin(kPi * t + 2.1f),
                      0.5f + 0.5f * std::sin(kPi * t + 4.2f)};
    });
}

// Glyph-like marks in a 16 x 16 grid of cells, in falling green trails.
Picture Matrix() {
    constexpr int kCell = 16;
    Picture picture = Draw([&](int x, int y) {
        int column = x / kCell, row = y / kCell;
        int cx = x % kCell, cy = y % kCell;
        // Each column has a bright head; cells above it fade like a trail.
        int head = static_cast<int>(Hash(column, 0, 3) * kCell);
        int behind = ((head - row) % kCell + kCell) % kCell;
        float trail = std::pow(1.0f - static_cast<float>(behind) / kCell, 2.2f);
        // A 5 x 7 mark drawn with 2-pixel dots, inside a 3-pixel margin.
        int gx = (cx - 3) / 2, gy = (cy - 1) / 2;
        bool inGlyph = cx >= 3 && cx < 13 && cy >= 1 && cy < 15;
        bool dot = inGlyph && Hash(column * 31 + gx, row * 17 + gy, 11) > 0.52f;
        float grid = (cx == 0 || cy == 0) ? 0.18f : 0.0f;
        Colour green{0.1f, 1.0f, 0.3f}, headColour{0.75f, 1.0f, 0.8f};
        Colour mark = behind == 0 ? headColour : green * (0.15f + 0.85f * trail);
        return Colour{0.0f, 0.03f, 0.01f} + Colour{0.0f, 0.35f, 0.1f} * grid +
               mark * (dot ? 1.0f : 0.0f);
    });
    AddGlow(picture, 3, 0.6f);
    return picture;
}

// ---- the reflection map ----------------------------------------------------

// What a chrome surface sees in direction (dx, dy, dz), y up, z toward the
// viewer: a sky fading from white at the horizon to deep blue, a bright sun,
// a dark ground, and a sharp horizon line.
Colour Environment(float dx, float dy, float dz) {
    Colour horizonSky{0.92f, 0.95f, 1.0f}, zenith{0.1f, 0.25f, 0.65f};
    Colour horizonGround{0.45f, 0.38f, 0.3f}, ground{0.05f, 0.04f, 0.04f};
    Colour colour = dy >= 0 ? Mix(horizonSky, zenith, std::pow(dy, 0.6f))
                            : Mix(horizonGround, ground, std::pow(-dy, 0.4f));
    float sun = std::max(0.0f, dx * -0.45f + dy * 0.6f + dz * 0.66f);
    colour = colour + Colour{1.0f, 0.95f, 0.85f} *
                          (std::pow(sun, 60.0f) * 1.5f + std::pow(sun, 8.0f) * 0.25f);
    // Bands of light across the sky, like windows reflected in the metal.
    if (dy > 0.15f && dy < 0.55f) {
        float band = std::sin(std::atan2(dx, dz) * 6.0f);
        colour = colour + Colour{0.3f, 0.3f, 0.35f} * (SmoothStep(0.85f, 0.95f, band) * 0.8f);
    }
    return colour;
}

// A sphere map: the texel at (u, v) holds the environment in the direction
// reflected by a mirror sphere whose normal points there, as sphere-map
// texture generation looks it up.
Picture Reflectings() {
    return Draw([](int x, int y) {
        float u = (static_cast<float>(x) + 0.5f) / kSize * 2 - 1;
        float v = 1 - (static_cast<float>(y) + 0.5f) / kSize * 2;
        float r2 = u * u + v * v;
        if (r2 > 1) {  // outside the disk: the view from the rim, so sampling stays smooth
            float r = std::sqrt(r2);
            u /= r;
            v /= r;
            r2 = 1;
        }
        float nz = std::sqrt(std::max(0.0f, 1 - r2));
        // Reflect the viewing direction (0, 0, -1) about the normal (u, v, nz).
        float dx = 2 * nz * u, dy = 2 * nz * v, dz = 2 * nz * nz - 1;
        return Environment(dx, dy, dz);
    });
}

// ---- the sprites -----------------------------------------------------------

// Position relative to the picture's centre, -1..1, y up.
void Centred(int x, int y, float& u, float& v) {
    u = (static_cast<float>(x) + 0.5f) / kSize * 2 - 1;
    v = 1 - (static_cast<float>(y) + 0.5f) / kSize * 2;
}

// Black well inside the border, so neighbouring texels never bleed in.
float EdgeFade(float u, float v) {
    return SmoothStep(0.98f, 0.9f, std::max(std::abs(u), std::abs(v)));
}

Picture Bubble() {
    return Draw([](int x, int y) {
        float u, v;
        Centred(x, y, u, v);
        float r = std::sqrt(u * u + v * v);
        float body = 0.22f * (1 - r * r);
        float rim = 0.85f * std::exp(-std::pow((r - 0.8f) / 0.09f, 2.0f));
        float hx = u + 0.32f, hy = v - 0.34f;
        float highlight = std::exp(-(hx * hx + hy * hy) / 0.018f);
        float outside = SmoothStep(0.97f, 0.86f, r);
        float light = (body + rim) * outside + highlight;
        return Colour{0.9f, 0.93f, 1.0f} * (light * EdgeFade(u, v));
    });
}

Picture SoftGlow() {
    return Draw([](int x, int y) {
        float u, v;
        Centred(x, y, u, v);
        float r2 = u * u + v * v;
        float glow = std::exp(-r2 / (2 * 0.28f * 0.28f)) * 0.85f +
                     std::exp(-r2 / (2 * 0.08f * 0.08f)) * 0.4f;
        return Colour{1.0f, 0.97f, 0.92f} *
               (glow * SmoothStep(1.0f, 0.75f, std::sqrt(r2)) * EdgeFade(u, v));
    });
}

Picture Sparkle() {
    return Draw([](int x, int y) {
        float u, v;
        Centred(x, y, u, v);
        float r = std::sqrt(u * u + v * v);
        float core = std::exp(-r * r / (2 * 0.12f * 0.12f));
        float rays = std::exp(-std::abs(u) / 0.025f) * (1 - std::abs(v)) +
                     std::exp(-std::abs(v) / 0.025f) * (1 - std::abs(u));
        float diagonal = std::exp(-std::abs(u - v) / 0.03f) + std::exp(-std::abs(u + v) / 0.03f);
        float light = core + 0.7f * rays + 0.2f * diagonal * (1 - r);
        return Colour{0.85f, 0.9f, 1.0f} * (light * SmoothStep(1.0f, 0.6f, r) * EdgeFade(u, v));
    });
}

// Heat 0..1 to colour: black, dark red, orange, yellow, white.
Colour FireRamp(float heat) {
    struct Stop {
        float at;
        Colour colour;
    };
    static const Stop stops[] = {{0.0f, {0, 0, 0}},
                                 {0.25f, {0.45f, 0.02f, 0.0f}},
                                 {0.45f, {0.9f, 0.22f, 0.0f}},
                                 {0.65f, {1.0f, 0.55f, 0.05f}},
                                 {0.85f, {1.0f, 0.88f, 0.35f}},
                                 {1.0f, {1.0f, 1.0f, 0.9f}}};
    for (std::size_t i = 1; i < std::size(stops); ++i) {
        if (heat <= stops[i].at) {
            float t = (heat - stops[i - 1].at) / (stops[i].at - stops[i - 1].at);
            return Mix(stops[i - 1].colour, stops[i].colour, t);
        }
    }
    return stops[std::size(stops) - 1].colour;
}

// A flame: round and hot low down, narrowing to a flickering tip.
Picture Fire() {
    return Draw([](int x, int y) {
        float u, v;
        Centred(x, y, u, v);
        float dy = v + 0.3f;
        float up = Clamp01(dy);
        float flicker = Turbulence(static_cast<float>(x), static_cast<float>(y) * 0.7f, 5) - 0.5f;
        float halfWidth = 0.5f * (1 - 0.55f * up);
        float sx = (u + flicker * 0.25f * up) / halfWidth;
        float sy = dy > 0 ? dy / 1.15f : dy / 0.6f;
        float d = std::sqrt(sx * sx + sy * sy) + flicker * (0.15f + 0.35f * up);
        float heat = std::pow(Clamp01(1 - d), 0.9f);
        return FireRamp(heat) * EdgeFade(u, v);
    });
}

struct Output {
    const char* path;
    Picture (*draw)();
};

const Output kOutputs[] = {
    {"gfx/lines.bmp", Lines},    {"gfx/weave.bmp", Weave},
    {"Data/plasma.bmp", Plasma}, {"Data/Reflectings.bmp", Reflectings},
    {"gfx/matrix.bmp", Matrix},  {"Data/bubble.bmp", Bubble},
    {"Data/p2.bmp", SoftGlow},   {"Data/P3.bmp", Sparkle},
    {"Data/Fire.bmp", Fire},
};

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path root = argc > 1 ? argv[1] : ".";
    std::error_code error;
    for (const char* folder : {"Data", "gfx"}) {
        std::filesystem::create_directories(root / folder, error);
        if (error) {
            std::fprintf(stderr, "cannot create %s: %s\n", (root / folder).c_str(),
                         error.message().c_str());
            return 1;
        }
    }
    for (const Output& output : kOutputs) {
        std::filesystem::path file = root / output.path;
        if (!WriteBmp24(file, output.draw())) {
            std::fprintf(stderr, "cannot write %s\n", file.c_str());
            return 1;
        }
        std::printf("wrote %s\n", file.c_str());
    }
    return 0;
}
