// The glyph builder without OpenGL: which font a request finds, which
// character an 8-bit code means, and whether the outlines, fills and wall
// directions have the right shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include <fontconfig/fontconfig.h>

#include "effects/glyph_builder.h"

namespace quorbel {
namespace {

bool HasInstalledFace(const char* family, int minWeight, bool italic) {
    if (!InitialiseFontconfig()) return false;
    FcPattern* pattern = FcPatternBuild(nullptr, FC_FAMILY, FcTypeString, family, nullptr);
    FcObjectSet* objects = FcObjectSetBuild(FC_WEIGHT, FC_SLANT, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
    bool found = false;
    for (int i = 0; fonts && i < fonts->nfont && !found; ++i) {
        int weight = 0, slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(fonts->fonts[i], FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(fonts->fonts[i], FC_SLANT, 0, &slant);
        found = weight >= FcWeightFromOpenType(minWeight) && (slant != FC_SLANT_ROMAN) == italic;
    }
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return found;
}

// The default face ("Arial Black") must find a heavy font even where only
// substitutes are installed; a face the machine lacks in the asked slant
// still resolves (the builder slants it), it never fails.
TEST(FontMatching, RequestsAlwaysFindAnOutlineFontAndTheDefaultIsHeavy) {
    std::optional<ResolvedFont> heavy = ResolveFont(FontRequest{"Arial Black", 400, false});
    ASSERT_TRUE(heavy);
    EXPECT_GE(heavy->weight, 700) << heavy->family << " " << heavy->style;
    for (const FontRequest& request : {FontRequest{"No Such Face Anywhere", 700, true}, FontRequest{"", 0, true}})
        EXPECT_TRUE(ResolveFont(request)) << "'" << request.face << "'";
}

// Where the machine has the bold oblique file, a bold italic request finds
// it rather than the upright bold one.
TEST(FontMatching, BoldItalicRequestFindsTheInstalledBoldObliqueFile) {
    if (!HasInstalledFace("DejaVu Sans", 700, true))
        GTEST_SKIP() << "no bold oblique DejaVu Sans installed (Debian package fonts-dejavu-extra)";
    std::optional<ResolvedFont> font = ResolveFont(FontRequest{"DejaVu Sans", 700, true});
    ASSERT_TRUE(font);
    EXPECT_TRUE(font->weight >= 700 && font->italic) << font->family << " " << font->style;
}

// An upright file asked for italic is slanted: the top of an "l" leans
// right of its foot by a fifth of its height.
TEST(FontMatching, UprightFileAskedForItalicIsSlanted) {
    std::optional<ResolvedFont> upright = ResolveFont(FontRequest{"DejaVu Sans", 400, false});
    ASSERT_TRUE(upright && !upright->italic);
    auto leftEdgeAt = [&](bool italic, bool top) {
        auto source = GlyphSource::Open(*upright, FontRequest{"DejaVu Sans", 400, italic});
        GlyphOutline glyph = source->GlyphShape(source->GlyphIndex(U'l'));
        float low = 1e9f, high = -1e9f, x = 1e9f;
        for (const Contour& c : glyph.contours)
            for (Point2 p : c) low = std::min(low, p.y), high = std::max(high, p.y);
        for (const Contour& c : glyph.contours)
            for (Point2 p : c)
                if (std::abs(p.y - (top ? high : low)) < 1e-3f) x = std::min(x, p.x);
        return std::pair{x, high - low};
    };
    auto [uprightTop, height] = leftEdgeAt(false, true);
    EXPECT_NEAR(uprightTop, leftEdgeAt(false, false).first, 1e-3f);
    EXPECT_NEAR(leftEdgeAt(true, true).first - leftEdgeAt(true, false).first, 0.2f * height, 0.01f);
}

// Windows-1252: Latin-1 with printable characters at 128..159, five holes.
class GlyphOutlines : public ::testing::Test {
protected:
    void SetUp() override {
        const FontRequest request{"Arial Black", 400, false};
        std::optional<ResolvedFont> font = ResolveFont(request);
        ASSERT_TRUE(font && (source = GlyphSource::Open(*font, request)));
    }
    GlyphOutline Outline(char32_t c) const { return source->GlyphShape(source->GlyphIndex(c)); }
    std::unique_ptr<GlyphSource> source;
};

double Cross(Point2 a, Point2 b, Point2 c) { return (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y); }

// Only counterclockwise triangles (the front faces, seen from +z) count.
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
            inside ^= (c[i].y > p.y) != (c[j].y > p.y) &&
                      p.x < (c[j].x - c[i].x) * (p.y - c[i].y) / (c[j].y - c[i].y) + c[i].x;
    return inside;
}

// Metrics in em follow the letters; and a glyph one window high must look
// round, so no corner of the O turns more than a few degrees.
TEST_F(GlyphOutlines, MetricsFollowTheLettersAndCurvesAreFlattenedFinely) {
    const GlyphMetrics h = Outline('H').metrics, p = Outline('p').metrics;
    EXPECT_NEAR(h.blackBoxY, 0.72f, 0.12f) << "metrics are in em: capitals are about three quarters high";
    EXPECT_NEAR(h.originY - h.blackBoxY, 0.0f, 0.02f) << "H stands on the baseline";
    EXPECT_LT(p.originY - p.blackBoxY, -0.1f) << "p descends below the baseline";
    const GlyphOutline space = Outline(' ');
    EXPECT_TRUE(space.contours.empty() && space.metrics.cellIncX > 0.1f) << "space advances but shows nothing";
    EXPECT_GT(Outline(0xE9).metrics.originY, Outline('e').metrics.originY + 0.1f) << "e acute has its accent";
    for (const Contour& c : Outline('O').contours)
        for (std::size_t i = 0, n = c.size(); i < n; ++i) {
            const Point2 &a = c[(i + n - 1) % n], &b = c[i], &d = c[(i + 1) % n];
            double ux = b.x - a.x, uy = b.y - a.y, vx = d.x - b.x, vy = d.y - b.y;
            EXPECT_LT(std::abs(std::atan2(ux * vy - uy * vx, ux * vx + uy * vy)) * 180 / M_PI, 12.0) << i;
        }
}

// Sampled over a grid across the black box, the front-facing fill covers what
// the odd rule fills (so holes stay holes); just outside every wall the shape
// is empty and just inside it is filled.
void ExpectFillAndWallsAgreeWithTheOddRule(const GlyphOutline& glyph) {
    const auto& [contours, m] = glyph;
    const std::vector<Point2> triangles = FillTriangles(contours);
    int mismatches = 0, filled = 0;
    for (int i = 0; i < 40 * 40; ++i) {
        const Point2 p{m.originX + m.blackBoxX * (i % 40 + 0.5f) / 40, m.originY - m.blackBoxY * (i / 40 + 0.5f) / 40};
        filled += Filled(contours, p), mismatches += Filled(contours, p) != TrianglesCover(triangles, p);
    }
    EXPECT_GT(filled, 200);
    EXPECT_LE(mismatches, 4);
    const std::vector<int> sides = OutwardSides(contours);
    for (std::size_t k = 0; k < contours.size(); ++k)
        for (std::size_t i = 0, n = contours[k].size(); i < n; i += 7) {
            const Point2 a = contours[k][i], b = contours[k][(i + 1) % n], mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
            const float length = std::hypot(b.x - a.x, b.y - a.y);
            if (length < 0.02f) continue;  // too short to step a thousandth of an em off
            const float nx = 1e-3f * sides[k] * (b.y - a.y) / length, ny = 1e-3f * sides[k] * (a.x - b.x) / length;
            EXPECT_TRUE(!Filled(contours, {mid.x + nx, mid.y + ny}) && Filled(contours, {mid.x - nx, mid.y - ny})) << k;
        }
}

// Fonts draw holes against the outer contour (TrueType and CFF differ in which
// way round), but an inner contour in the same direction is a hole too.
TEST(SquareWithAHole, FillLeavesTheHoleAndWallsFaceOutWhateverTheDirections) {
    auto square = [](float lo, float hi, bool ccw) {
        return ccw ? Contour{{lo, lo}, {hi, lo}, {hi, hi}, {lo, hi}} : Contour{{lo, hi}, {hi, hi}, {hi, lo}, {lo, lo}};
    };
    // The box is a little off the square's lines, so that no sample lies on a triangle's edge.
    const GlyphMetrics box{4.03f, 4.05f, -0.013f, 4.021f};
    for (auto [outerCcw, innerCcw] : {std::pair{true, false}, {false, true}, {true, true}, {false, false}}) {
        SCOPED_TRACE(testing::Message() << outerCcw << innerCcw);
        ExpectFillAndWallsAgreeWithTheOddRule({{square(0, 4, outerCcw), square(1, 3, innerCcw)}, box});
    }
    EXPECT_EQ(OutwardSides({Contour{{0, 0}, {1, 1}, {2, 2}}}), std::vector<int>{0}) << "no area, no walls";
}

// Real letters keep their holes as contours of their own.
TEST_F(GlyphOutlines, LettersKeepTheirHolesAndWallsAgreeWithTheOddRule) {
    for (auto [letter, contours] :
         {std::pair{'O', 2u}, {'B', 3u}, {'8', 3u}, {'e', 2u}, {'A', 2u}, {'i', 2u}, {'L', 1u}}) {
        SCOPED_TRACE(letter);
        EXPECT_EQ(Outline(letter).contours.size(), contours);
        ExpectFillAndWallsAgreeWithTheOddRule(Outline(letter));
    }
}

}  // namespace
}  // namespace quorbel
