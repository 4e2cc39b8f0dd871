// The title's layout, without OpenGL: UTF-8 text in, positioned glyphs out.
// Lines split at '\n'; in each line FriBidi orders left-to-right and
// right-to-left text, the characters fall into runs of one font, script and
// direction, and HarfBuzz shapes each run with its font. A character the
// chosen font lacks is drawn from the first font of fontconfig's fallback
// order that has it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "effects/glyph_builder.h"
#include "scene/title_text.h"  // kMaxTitleCharacters: what a title holds is laid out, no more

struct hb_font_t;

namespace quorbel {

// No text handed in, however long, costs more than a full title: characters
// past kMaxTitleCharacters are left off.

// The text as characters: invalid UTF-8 becomes U+FFFD (one per bad byte),
// control characters other than '\n' are dropped, at most `limit` kept.
std::u32string DecodeTitle(std::string_view utf8, std::size_t limit = kMaxTitleCharacters);

// The fonts of one font request: the chosen one (face 0) and the fallback
// fonts opened so far. Faces are numbered in the order they were opened and
// each font file and face index is opened once.
class TitleFonts {
public:
    explicit TitleFonts(const FontRequest& request);
    ~TitleFonts();
    TitleFonts(const TitleFonts&) = delete;
    TitleFonts& operator=(const TitleFonts&) = delete;

    // False when no outline font at all could be opened: nothing is drawn.
    bool Usable() const { return !faces_.empty(); }
    const FontRequest& Request() const { return request_; }
    std::size_t FaceCount() const { return faces_.size(); }
    const ResolvedFont& Font(int face) const;
    const GlyphSource& Source(int face) const;
    hb_font_t* Shaper(int face) const;
    // Baseline to baseline of the chosen font, in em.
    float LineSpacing() const;

    // The face that draws `character`: the chosen one when it has it, else
    // the first fallback that does, else the chosen one (its missing-glyph
    // shape shows that something is there). Needs Usable().
    int FaceFor(char32_t character);
    bool Has(int face, char32_t character) const;

private:
    struct Face;
    int Open(const ResolvedFont& font);
    int FallbackFor(char32_t character);

    FontRequest request_;
    std::vector<std::unique_ptr<Face>> faces_;
    std::map<std::pair<std::string, int>, int> opened_;  // file and index -> face, -1 when unusable
    std::unique_ptr<FallbackFonts> fallbacks_;           // asked for on the first missing character
    std::unordered_map<char32_t, int> fallbackFaces_;
};

// One glyph in place. Positions and advances are in em; x is the pen
// position within the line, from its left end.
struct PlacedGlyph {
    int face = 0;
    std::uint32_t glyph = 0;
    float x = 0, advance = 0;
    float offsetX = 0, offsetY = 0;  // from the pen, for marks and cursive joins
    std::size_t character = 0;       // the first character it stands for, in the decoded text
};

struct LaidOutLine {
    std::size_t first = 0, count = 0;  // its glyphs, left to right
    float width = 0;                   // the sum of their advances
};

struct TitleLayout {
    std::vector<PlacedGlyph> glyphs;
    std::vector<LaidOutLine> lines;  // top line first; at least one
    float lineSpacing = 0;
    // Baseline of a line, with the lines' baselines centred on y = 0.
    float BaselineY(std::size_t line) const {
        return (0.5f * static_cast<float>(lines.size() - 1) - static_cast<float>(line)) * lineSpacing;
    }
};

// Lays out a title. Any bytes are safe: see DecodeTitle.
TitleLayout LayOutTitle(std::string_view utf8, TitleFonts& fonts);

}  // namespace quorbel
