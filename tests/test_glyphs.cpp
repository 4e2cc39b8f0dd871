// The glyph builder without OpenGL: which font a request finds, which
// character an 8-bit code means, and whether the outlines, fills and wall
// directions have the right shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "effects/glyph_builder.h"

namespace quorbel {
namespace {

TEST(FontMatching, RequestsFindInstalledFontsOfTheAskedWeightAndSlant) {
    std::optional<ResolvedFont> black = ResolveFont({"Arial Black", 400, false});
    ASSERT_TRUE(black);
    EXPECT_GE(black->weight, 700) << "the default face must be heavy: " << black->family << " " << black->style;
    EXPECT_FALSE(black->italic) << black->style;
    std::optional<ResolvedFont> boldItalic = ResolveFont({"DejaVu Sans", 700, true});
    ASSERT_TRUE(boldItalic);
    EXPECT_GE(boldItalic->weight, 700);
    EXPECT_TRUE(boldItalic->italic) << boldItalic->style;
}

// Windows-1252: Latin-1 with printable characters at 128..159, five holes.
TEST(CharacterCodes, EightBitCodesAreWindows1252) {
    const std::pair<unsigned char, char32_t> cases[] = {
        {'A', U'A'}, {0x80, U'\u20AC'}, {0x99, U'\u2122'}, {0x9F, U'\u0178'}, {0xA0, U'\u00A0'}, {0xFF, U'\u00FF'},
        {0x00, 0},   {0x0A, 0},         {0x7F, 0},         {0x81, 0},         {0x9D, 0},
    };
    for (const auto& [code, unicode] : cases) EXPECT_EQ(CodeToUnicode(code), unicode) << int(code);
}

class GlyphOutlines : public ::testing::Test {
protected:
    void SetUp() override {
        FontRequest request{"Arial Black", 400, false};
        std::optional<ResolvedFont> font = ResolveFont(request);
        ASSERT_TRUE(font);
        ASSERT_TRUE(source = GlyphSource::Open(*font, request));
    }
    GlyphOutline Outline(char c) const { return source->Outline(static_cast<unsigned char>(c)); }
    std::unique_ptr<GlyphSource> source;
};

double Cross(Point2 a, Point2 b, Point2 c) { return (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y); }

double TrianglesArea(const std::vector<Point2>& t) {
    double area = 0;
    for (std::size_t i = 0; i + 2 < t.size(); i += 3) area += Cross(t[i], t[i + 1], t[i + 2]) / 2;
    return area;
}

bool TrianglesCover(const std::vector<Point2>& t, Point2 p) {
    for (std::size_t i = 0; i + 2 < t.size(); i += 3)
        if (Cross(t[i], t[i + 1], p) > 0 && Cross(t[i + 1], t[i + 2], p) > 0 && Cross(t[i + 2], t[i], p) > 0)
            return true;
    return false;
}

// Odd rule over all contours: the oracle for what is filled.
bool Filled(const std::vector<Contour>& contours, Point2 p) {
    bool inside = false;
    for (const Contour& c : contours)
        for (std::size_t i = 0, j = c.size() - 1; i < c.size(); j = i++)
            if ((c[i].y > p.y) != (c[j].y > p.y) &&
                p.x < (c[j].x - c[i].x) * (p.y - c[i].y) / (c[j].y - c[i].y) + c[i].x)
                inside = !inside;
    return inside;
}

TEST_F(GlyphOutlines, ShapesAndMetricsFollowTheLetters) {
    const std::pair<char, std::size_t> contourCounts[] = {{'O', 2}, {'B', 3}, {'8', 3}, {'i', 2}, {'L', 1}, {' ', 0}};
    for (const auto& [letter, count] : contourCounts) EXPECT_EQ(Outline(letter).contours.size(), count) << letter;
    const GlyphMetrics h = Outline('H').metrics, p = Outline('p').metrics;
    EXPECT_NEAR(h.blackBoxY, 0.72f, 0.12f) << "metrics are in em: capitals are about three quarters high";
    EXPECT_NEAR(h.originY - h.blackBoxY, 0.0f, 0.02f) << "H stands on the baseline";
    EXPECT_LT(p.originY - p.blackBoxY, -0.1f) << "p descends below the baseline";
    EXPECT_GT(Outline(' ').metrics.cellIncX, 0.1f) << "space advances";
    for (GlyphOutline control : {Outline('\0'), Outline('\t'), Outline('\n'), Outline('\x7f'), Outline('\x81')})
        EXPECT_TRUE(control.contours.empty() && control.metrics.cellIncX == 0.0f) << "a control code shows nothing";
    EXPECT_GT(source->Outline(0xE9).metrics.originY, Outline('e').metrics.originY + 0.1f) << "e acute has its accent";
}

// A glyph one window high must look round: no corner of the O turns more than
// a few degrees.
TEST_F(GlyphOutlines, CurvesAreFlattenedFinely) {
    for (const Contour& c : Outline('O').contours)
        for (std::size_t i = 0, n = c.size(); i < n; ++i) {
            const Point2 &a = c[(i + n - 1) % n], &b = c[i], &d = c[(i + 1) % n];
            double ux = b.x - a.x, uy = b.y - a.y, vx = d.x - b.x, vy = d.y - b.y;
            EXPECT_LT(std::abs(std::atan2(ux * vy - uy * vx, ux * vx + uy * vy)) * 180 / M_PI, 12.0) << i;
        }
}

Contour Square(float x0, float y0, float size, bool counterclockwise) {
    Contour c{{x0, y0}, {x0 + size, y0}, {x0 + size, y0 + size}, {x0, y0 + size}};
    if (!counterclockwise) std::reverse(c.begin(), c.end());
    return c;
}

// Fonts draw holes against the outer contour (TrueType and CFF differ in which
// way round), but an inner contour in the same direction is a hole too.
TEST(SquareWithAHole, FillLeavesTheHoleAndWallsFaceOutWhateverTheDirections) {
    const struct { bool outerCcw, innerCcw; std::vector<int> sides; } cases[] = {
        {true, false, {1, 1}}, {false, true, {-1, -1}}, {true, true, {1, -1}}};
    for (const auto& c : cases) {
        std::vector<Contour> contours{Square(0, 0, 4, c.outerCcw), Square(1, 1, 2, c.innerCcw)};
        std::vector<Point2> t = FillTriangles(contours);
        EXPECT_NEAR(TrianglesArea(t), 16.0 - 4.0, 1e-4);
        EXPECT_FALSE(TrianglesCover(t, {2, 2}));
        EXPECT_TRUE(TrianglesCover(t, {0.5f, 2}));
        for (std::size_t i = 0; i + 2 < t.size(); i += 3) EXPECT_GT(Cross(t[i], t[i + 1], t[i + 2]), 0.0);
        EXPECT_EQ(OutwardSides(contours), c.sides);
    }
    EXPECT_EQ(OutwardSides({Contour{{0, 0}, {1, 1}, {2, 2}}}), std::vector<int>{0}) << "no area, no walls";
}

// Sampled over a grid, the fill covers what the odd rule fills (so counters
// stay empty); just outside every wall the letter is empty and just inside it
// is filled, whichever way round the font draws its contours.
TEST_F(GlyphOutlines, FillsAndWallsOfLettersAgreeWithTheOddRule) {
    constexpr float kStep = 1e-3f;
    for (char letter : {'O', 'B', '8', 'e', 'A', '%', '@'}) {
        GlyphOutline glyph = Outline(letter);
        std::vector<Point2> triangles = FillTriangles(glyph.contours);
        const GlyphMetrics& m = glyph.metrics;
        int mismatches = 0, filled = 0;
        for (int i = 0; i < 40; ++i)
            for (int j = 0; j < 40; ++j) {
                Point2 p{m.originX + m.blackBoxX * (i + 0.5f) / 40, m.originY - m.blackBoxY * (j + 0.5f) / 40};
                filled += Filled(glyph.contours, p);
                mismatches += Filled(glyph.contours, p) != TrianglesCover(triangles, p);
            }
        EXPECT_GT(filled, 200) << letter;
        EXPECT_LE(mismatches, 4) << letter;
        std::vector<Contour>& contours = glyph.contours;
        for (int reversed = 0; reversed < 2; ++reversed) {
            std::vector<int> sides = OutwardSides(contours);
            for (std::size_t k = 0; k < contours.size(); ++k)
                for (std::size_t i = 0; i < contours[k].size(); i += 7) {
                    Point2 a = contours[k][i], b = contours[k][(i + 1) % contours[k].size()];
                    float dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
                    if (length < 20 * kStep) continue;
                    float nx = kStep * sides[k] * dy / length, ny = -kStep * sides[k] * dx / length;
                    Point2 mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
                    EXPECT_FALSE(Filled(contours, {mid.x + nx, mid.y + ny})) << letter << reversed << " contour " << k;
                    EXPECT_TRUE(Filled(contours, {mid.x - nx, mid.y - ny})) << letter << reversed << " contour " << k;
                }
            for (Contour& c : contours) std::reverse(c.begin(), c.end());
        }
    }
}

}  // namespace
}  // namespace quorbel
