// The title's layout without OpenGL: Latin advances as before shaping,
// right-to-left order, fallback fonts, lines, and hostile text.
#include <gtest/gtest.h>

#include <string>

#include "effects/text_layout.h"

namespace quorbel {
namespace {

class Layout : public ::testing::Test {
protected:
    static void SetUpTestSuite() { fonts = new TitleFonts(FontRequest{"Arial Black", 400, false}); }
    static void TearDownTestSuite() { delete fonts; }
    static TitleFonts* fonts;
};
TitleFonts* Layout::fonts = nullptr;

// Kerning pairs (AV, Wa, To) and ligature candidates (fi, ffl) must advance
// exactly as one glyph per character did, or older titles would move.
TEST_F(Layout, LatinLinesAdvanceExactlyAsOneGlyphPerCharacter) {
    ASSERT_TRUE(fonts->Usable());
    const std::string title = "AVATAR Wa To fi ffl Caf\xC3\xA9 \xD0\x9C\xD0\xBE";  // Café Мо
    const TitleLayout layout = LayOutTitle(title, *fonts);
    const std::u32string characters = DecodeTitle(title);
    ASSERT_EQ(layout.glyphs.size(), characters.size());
    float width = 0;
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const GlyphOutline alone = fonts->Source(0).GlyphShape(fonts->Source(0).GlyphIndex(characters[i]));
        EXPECT_EQ(layout.glyphs[i].x, width) << i;
        width += alone.metrics.cellIncX;
    }
    EXPECT_EQ(layout.lines.at(0).width, width);
}

// Hebrew inside a left-to-right line reads right to left: its first letter
// is right of its last, and both are right of the Latin before them. In a
// right-to-left line the runs turn round too: numbers stand left of the
// Hebrew before them and read left to right.
TEST_F(Layout, RightToLeftRunsAreReversedInsideALeftToRightLine) {
    auto xOf = [&](const TitleLayout& layout, std::size_t character) {
        for (const PlacedGlyph& g : layout.glyphs)
            if (g.character == character) return g.x;
        return -1e9f;  // no glyph: the comparisons below fail
    };
    const TitleLayout latin = LayOutTitle("abc \xD7\x90\xD7\x91\xD7\x92", *fonts);  // abc אבג
    EXPECT_GT(xOf(latin, 4), xOf(latin, 6)) << "alef must be right of gimel";
    EXPECT_GT(xOf(latin, 6), xOf(latin, 2)) << "the Hebrew follows the Latin";
    const TitleLayout hebrew = LayOutTitle("\xD7\x90\xD7\x91 12", *fonts);  // אב 12
    EXPECT_GT(xOf(hebrew, 0), xOf(hebrew, 3)) << "the numbers stand left of the Hebrew";
    EXPECT_LT(xOf(hebrew, 3), xOf(hebrew, 4)) << "and read left to right";
}

// Characters the chosen Latin font lacks come from a fallback font with a
// real glyph of them, not the missing-glyph box; lacking only in its
// missing-glyph shape counts as lacking.
TEST_F(Layout, CharactersTheFontLacksComeFromAFallbackFontThatHasThem) {
    for (const char* text : {"\xE6\x9D\xB1", "\xED\x95\x9C", "\xE0\xA4\xA8", "\xD8\xB3"}) {  // 東 한 न س
        const TitleLayout layout = LayOutTitle(text, *fonts);
        ASSERT_FALSE(layout.glyphs.empty()) << text;
        const PlacedGlyph& g = layout.glyphs[0];
        EXPECT_NE(g.glyph, 0u) << text << " drawn as the missing-glyph box";
        const GlyphOutline shape = fonts->Source(g.face).GlyphShape(g.glyph);
        EXPECT_GT(shape.contours.size(), 0u) << text << " in " << fonts->Font(g.face).family;
    }
}

// Whatever bytes come in: no crash, no hang, and never more than a full
// title of characters.
TEST_F(Layout, HostileTitlesAreLaidOutWithinTheLimits) {
    std::string cjk;
    for (char32_t c = 0x4E00; c < 0x4E00 + 200; ++c)
        cjk += {char(0xE0 | (c >> 12)), char(0x80 | ((c >> 6) & 0x3F)), char(0x80 | (c & 0x3F))};
    std::string marks;
    for (int i = 0; i < 300; ++i) marks += "\xCC\x81";
    const std::pair<std::string, std::size_t> cases[] = {
        {"\xFF\xFE\xC3\x28\xE2\x82\xF0\x9F\x98", 9},  // invalid UTF-8 and a cut-off tail
        {std::string(10000, 'W'), kMaxTitleCharacters},
        {marks, kMaxTitleCharacters},
        {std::string("\x01\x00\x02\t\r\x1B\x7F\xC2\x80\xC2\x9F", 11), 0},  // controls, a NUL among them
        {"\xED\xA0\x80", 3},                                          // a lone surrogate
        {"\xC0\xAF\xF4\x90\x80\x80", 6},                              // overlong, past U+10FFFF
        {cjk, 200},
        {std::string(300, '\n'), kMaxTitleCharacters}};
    for (const auto& [text, characters] : cases) {
        EXPECT_EQ(DecodeTitle(text).size(), characters) << testing::PrintToString(text.substr(0, 12));
        const TitleLayout layout = LayOutTitle(text, *fonts);
        EXPECT_LE(layout.glyphs.size(), 4 * kMaxTitleCharacters);
        EXPECT_LE(layout.lines.size(), kMaxTitleCharacters + 1);
    }
    EXPECT_EQ(DecodeTitle("\xED\xA0\x80"), std::u32string(3, U'\uFFFD'));
}

}  // namespace
}  // namespace quorbel
