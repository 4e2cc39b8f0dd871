// The glyph builder without OpenGL: which font a request finds, which
// character an 8-bit code means, and whether the outlines, fills and wall
// directions have the right shape.
#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "effects/glyph_builder.h"

namespace quorbel {
namespace {

// ----- font matching --------------------------------------------------------

struct WeightCase {
    const char* face;
    int dialogWeight;
    int expected;
};

TEST(FontMatching, EffectiveWeightHonoursWeightWordsInTheFaceName) {
    const WeightCase cases[] = {
        {"Arial", 400, 400},          {"Arial", 0, 400},           {"Arial", -5, 400},
        {"Arial", 2000, 1000},        {"Arial", 700, 700},         {"Arial Black", 400, 900},
        {"Arial Black", 100, 900},    {"arial black", 400, 900},   {"Foo Extra Bold", 400, 800},
        {"Foo ExtraBold", 400, 800},  {"Foo SemiBold", 700, 700},  {"Foo-Heavy", 300, 900},
        {"Black", 400, 400},  // a one-word face is a name, not a weight
    };
    for (const WeightCase& c : cases)
        EXPECT_EQ(EffectiveWeight(FontRequest{c.face, c.dialogWeight, false}), c.expected)
            << c.face << " at " << c.dialogWeight;
}

TEST(FontMatching, FamilyWithoutWeightWordStripsOnlyATrailingWeight) {
    const std::pair<const char*, const char*> cases[] = {
        {"Arial Black", "Arial"},        {"Foo Extra Bold", "Foo"},   {"Segoe-UI-Black", "Segoe-UI"},
        {"DejaVu Sans", "DejaVu Sans"},  {"Black", "Black"},          {"Bold Sans", "Bold Sans"},
        {"", ""},
    };
    for (const auto& [face, family] : cases) EXPECT_EQ(FamilyWithoutWeightWord(face), family) << face;
}

TEST(FontMatching, DialogWeightsMapOntoFontconfigWeights) {
    const std::pair<int, int> cases[] = {
        {100, FC_WEIGHT_THIN},      {300, FC_WEIGHT_LIGHT},     {400, FC_WEIGHT_REGULAR},
        {500, FC_WEIGHT_MEDIUM},    {600, FC_WEIGHT_DEMIBOLD},  {700, FC_WEIGHT_BOLD},
        {800, FC_WEIGHT_EXTRABOLD}, {900, FC_WEIGHT_BLACK},
    };
    for (const auto& [dialog, fontconfig] : cases) EXPECT_EQ(FontconfigWeight(dialog), fontconfig) << dialog;
}

TEST(FontMatching, DefaultFaceGivesAHeavyUprightOutlineFont) {
    std::optional<ResolvedFont> font = ResolveFont(FontRequest{"Arial Black", 400, false});
    ASSERT_TRUE(font);
    EXPECT_TRUE(std::filesystem::exists(font->file)) << font->file;
    EXPECT_GE(font->weight, 700) << font->family << " " << font->style;
    EXPECT_FALSE(font->italic) << font->style;
}

TEST(FontMatching, MissingFaceStillGivesAnInstalledFont) {
    std::optional<ResolvedFont> font = ResolveFont(FontRequest{"No Such Face 31337", 400, false});
    ASSERT_TRUE(font);
    EXPECT_TRUE(std::filesystem::exists(font->file)) << font->file;
}

TEST(FontMatching, InstalledFaceWeightAndSlantAreHonoured) {
    std::optional<ResolvedFont> serif = ResolveFont(FontRequest{"DejaVu Serif", 400, false});
    ASSERT_TRUE(serif);
    EXPECT_EQ(serif->family, "DejaVu Serif");
    EXPECT_LT(serif->weight, 600);
    std::optional<ResolvedFont> boldItalic = ResolveFont(FontRequest{"DejaVu Sans", 700, true});
    ASSERT_TRUE(boldItalic);
    EXPECT_GE(boldItalic->weight, 700);
    EXPECT_TRUE(boldItalic->italic) << boldItalic->style;
}

TEST(FontMatching, SyntheticBoldOnlyWhenTheFileIsMuchLighter) {
    EXPECT_EQ(SyntheticBoldStrength(700, 700), 0.0f);
    EXPECT_EQ(SyntheticBoldStrength(400, 700), 0.0f);
    EXPECT_EQ(SyntheticBoldStrength(800, 700), 0.0f);
    EXPECT_GT(SyntheticBoldStrength(900, 700), 0.0f);
    // Never so much that small counters close (a tenth of an em would).
    EXPECT_LE(SyntheticBoldStrength(1000, 100), 0.05f);
}

// ----- character codes ------------------------------------------------------

TEST(CharacterCodes, EightBitCodesAreWindows1252) {
    const std::pair<unsigned char, char32_t> cases[] = {
        {'A', U'A'},      {' ', U' '},      {'%', U'%'},      {0x7E, U'~'},     {0x80, U'\u20AC'},
        {0x85, U'\u2026'}, {0x99, U'\u2122'}, {0x9F, U'\u0178'}, {0xA0, U'\u00A0'}, {0xE9, U'\u00E9'},
        {0xFF, U'\u00FF'}, {0x00, 0},       {0x0A, 0},        {0x1F, 0},        {0x7F, 0},
        {0x81, 0},        {0x8D, 0},        {0x8F, 0},        {0x90, 0},        {0x9D, 0},
    };
    for (const auto& [code, unicode] : cases)
        EXPECT_EQ(CodeToUnicode(code), unicode) << "code " << static_cast<int>(code);
}

// ----- outlines -------------------------------------------------------------

class GlyphOutlines : public ::testing::Test {
protected:
    void SetUp() override {
        FontRequest request{"Arial Black", 400, false};
        std::optional<ResolvedFont> font = ResolveFont(request);
        ASSERT_TRUE(font);
        source = GlyphSource::Open(*font, request);
        ASSERT_TRUE(source);
    }
    std::unique_ptr<GlyphSource> source;
};

double Area(const Contour& contour) {
    double area = 0;
    for (std::size_t i = 0; i < contour.size(); ++i) {
        const Point2& p = contour[i];
        const Point2& q = contour[(i + 1) % contour.size()];
        area += static_cast<double>(p.x) * q.y - static_cast<double>(q.x) * p.y;
    }
    return area / 2;
}

double TrianglesArea(const std::vector<Point2>& t) {
    double area = 0;
    for (std::size_t i = 0; i + 2 < t.size(); i += 3)
        area += ((t[i + 1].x - t[i].x) * (t[i + 2].y - t[i].y) - (t[i + 2].x - t[i].x) * (t[i + 1].y - t[i].y)) / 2.0;
    return area;
}

bool TrianglesCover(const std::vector<Point2>& t, Point2 p) {
    auto side = [](Point2 a, Point2 b, Point2 c) { return (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y); };
    for (std::size_t i = 0; i + 2 < t.size(); i += 3)
        if (side(t[i], t[i + 1], p) > 0 && side(t[i + 1], t[i + 2], p) > 0 && side(t[i + 2], t[i], p) > 0) return true;
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

TEST_F(GlyphOutlines, ContourCountsMatchTheLetterShapes) {
    const std::pair<char, std::size_t> cases[] = {{'O', 2}, {'B', 3}, {'8', 3}, {'i', 2}, {'.', 1}, {'L', 1}};
    for (const auto& [letter, contours] : cases)
        EXPECT_EQ(source->Outline(static_cast<unsigned char>(letter)).contours.size(), contours) << letter;
}

TEST_F(GlyphOutlines, MetricsAreInEmUnits) {
    GlyphOutline h = source->Outline('H');
    // Capital height of a sans-serif: about three quarters of the em.
    EXPECT_GT(h.metrics.blackBoxY, 0.6f);
    EXPECT_LT(h.metrics.blackBoxY, 0.85f);
    EXPECT_NEAR(h.metrics.originY - h.metrics.blackBoxY, 0.0f, 0.02f) << "H stands on the baseline";
    EXPECT_GT(h.metrics.blackBoxX, 0.0f);
    EXPECT_LT(h.metrics.blackBoxX, h.metrics.cellIncX);
    EXPECT_EQ(h.metrics.cellIncY, 0.0f);
    GlyphOutline p = source->Outline('p');
    EXPECT_LT(p.metrics.originY - p.metrics.blackBoxY, -0.1f) << "p descends below the baseline";
}

TEST_F(GlyphOutlines, AdvancesDifferByLetter) {
    EXPECT_GT(source->Outline('W').metrics.cellIncX, source->Outline('i').metrics.cellIncX);
    EXPECT_GT(source->Outline('i').metrics.cellIncX, 0.0f);
}

TEST_F(GlyphOutlines, SpaceHasAnAdvanceButNoShape) {
    GlyphOutline space = source->Outline(' ');
    EXPECT_TRUE(space.contours.empty());
    EXPECT_GT(space.metrics.cellIncX, 0.1f);
    EXPECT_EQ(space.metrics.blackBoxX, 0.0f);
}

TEST_F(GlyphOutlines, ControlCodesHaveNoShapeAndNoAdvance) {
    for (unsigned char code : {0x00, 0x09, 0x0A, 0x0D, 0x7F, 0x81}) {
        GlyphOutline glyph = source->Outline(code);
        EXPECT_TRUE(glyph.contours.empty()) << static_cast<int>(code);
        EXPECT_EQ(glyph.metrics.cellIncX, 0.0f) << static_cast<int>(code);
    }
}

TEST_F(GlyphOutlines, HighCodesGiveTheirWindowsCharacters) {
    EXPECT_FALSE(source->Outline(0x80).contours.empty()) << "euro sign";
    EXPECT_FALSE(source->Outline(0xE9).contours.empty()) << "e acute";
    // e acute is an e with an accent above it: taller than the e.
    EXPECT_GT(source->Outline(0xE9).metrics.originY, source->Outline('e').metrics.originY + 0.1f);
}

TEST_F(GlyphOutlines, CurvesAreFlattenedFinely) {
    // The O is curves all round: no corner may turn more than a few degrees,
    // which is what a glyph one window high needs to look round.
    for (const Contour& contour : source->Outline('O').contours) {
        ASSERT_GT(contour.size(), 16u);
        for (std::size_t i = 0; i < contour.size(); ++i) {
            const Point2& a = contour[(i + contour.size() - 1) % contour.size()];
            const Point2& b = contour[i];
            const Point2& c = contour[(i + 1) % contour.size()];
            double ux = b.x - a.x, uy = b.y - a.y, vx = c.x - b.x, vy = c.y - b.y;
            double turn = std::atan2(ux * vy - uy * vx, ux * vx + uy * vy) * 180.0 / M_PI;
            EXPECT_LT(std::abs(turn), 12.0) << "at point " << i;
        }
    }
}

// ----- fills ------------------------------------------------------------------

Contour Square(float x0, float y0, float size, bool counterclockwise) {
    Contour c{{x0, y0}, {x0 + size, y0}, {x0 + size, y0 + size}, {x0, y0 + size}};
    if (!counterclockwise) std::reverse(c.begin(), c.end());
    return c;
}

TEST(GlyphFill, InnerSquareIsAHoleWhateverItsDirection) {
    for (bool innerCounterclockwise : {false, true}) {
        std::vector<Contour> contours{Square(0, 0, 4, true), Square(1, 1, 2, innerCounterclockwise)};
        std::vector<Point2> triangles = FillTriangles(contours);
        EXPECT_NEAR(TrianglesArea(triangles), 16.0 - 4.0, 1e-4);
        EXPECT_FALSE(TrianglesCover(triangles, {2, 2}));
        EXPECT_TRUE(TrianglesCover(triangles, {0.5f, 2}));
    }
}

TEST(GlyphFill, TrianglesAreCounterclockwiseFromTheFront) {
    std::vector<Point2> triangles = FillTriangles({Square(0, 0, 4, false), Square(1, 1, 2, true)});
    ASSERT_FALSE(triangles.empty());
    for (std::size_t i = 0; i + 2 < triangles.size(); i += 3) {
        const Point2 &a = triangles[i], &b = triangles[i + 1], &c = triangles[i + 2];
        EXPECT_GT((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y), 0.0f);
    }
}

TEST_F(GlyphOutlines, LetterFillsLeaveTheirCountersEmpty) {
    for (char letter : {'O', 'B', '8', 'e', 'A'}) {
        GlyphOutline glyph = source->Outline(static_cast<unsigned char>(letter));
        std::vector<Point2> triangles = FillTriangles(glyph.contours);
        // Outer areas minus counter areas, from the contours themselves.
        double outer = 0, counters = 0;
        for (const Contour& c : glyph.contours) {
            Point2 probe{(c[0].x + c[1].x) / 2, (c[0].y + c[1].y) / 2};
            int enclosing = 0;
            for (const Contour& other : glyph.contours)
                if (&other != &c && Filled({other}, probe)) ++enclosing;
            (enclosing % 2 == 0 ? outer : counters) += std::abs(Area(c));
        }
        EXPECT_NEAR(TrianglesArea(triangles), outer - counters, 1e-3) << letter;
    }
    GlyphOutline o = source->Outline('O');
    Point2 centre{o.metrics.originX + o.metrics.blackBoxX / 2, o.metrics.originY - o.metrics.blackBoxY / 2};
    EXPECT_FALSE(TrianglesCover(FillTriangles(o.contours), centre));
}

// ----- wall directions --------------------------------------------------------

TEST(WallDirections, SquaresInEitherConvention) {
    struct Case {
        std::vector<Contour> contours;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {{Square(0, 0, 4, true)}, {1}},                            // filled on the left
        {{Square(0, 0, 4, false)}, {-1}},                          // filled on the right
        {{Square(0, 0, 4, true), Square(1, 1, 2, false)}, {1, 1}},  // CFF-style hole
        {{Square(0, 0, 4, false), Square(1, 1, 2, true)}, {-1, -1}},  // TrueType-style hole
        {{Square(0, 0, 4, true), Square(1, 1, 2, true)}, {1, -1}},  // same direction, still a hole
        {{Contour{{0, 0}, {1, 1}, {2, 2}}}, {0}},                   // no area
    };
    for (const Case& c : cases) EXPECT_EQ(OutwardSides(c.contours), c.expected);
}

// Just outside every wall segment the letter is empty; just inside, filled.
void ExpectWallsFaceOut(const std::vector<Contour>& contours, const char* what) {
    std::vector<int> sides = OutwardSides(contours);
    constexpr float kStep = 1e-3f;
    int checked = 0;
    for (std::size_t k = 0; k < contours.size(); ++k) {
        const Contour& c = contours[k];
        for (std::size_t i = 0; i < c.size(); i += 7) {
            Point2 a = c[i], b = c[(i + 1) % c.size()];
            float dx = b.x - a.x, dy = b.y - a.y, length = std::sqrt(dx * dx + dy * dy);
            if (length < 20 * kStep) continue;
            float nx = sides[k] * dy / length, ny = -sides[k] * dx / length;
            Point2 mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
            EXPECT_FALSE(Filled(contours, {mid.x + kStep * nx, mid.y + kStep * ny})) << what << " contour " << k;
            EXPECT_TRUE(Filled(contours, {mid.x - kStep * nx, mid.y - kStep * ny})) << what << " contour " << k;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0) << what;
}

TEST_F(GlyphOutlines, WallsFaceOutOfTheLetterInBothContourConventions) {
    for (const char* letter : {"O", "B", "8", "%", "@"}) {
        std::vector<Contour> contours = source->Outline(static_cast<unsigned char>(letter[0])).contours;
        ExpectWallsFaceOut(contours, letter);
        // The same letter with every contour reversed, as a CFF font draws it.
        for (Contour& c : contours) std::reverse(c.begin(), c.end());
        ExpectWallsFaceOut(contours, letter);
    }
}

}  // namespace
}  // namespace quorbel
