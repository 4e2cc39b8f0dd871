#include "effects/text_layout.h"

#include <fribidi.h>
#include <hb.h>

#include <algorithm>
#include <numeric>

namespace quorbel {

// ----- text in ----------------------------------------------------------------

namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct DecodedCharacter {
    char32_t character;
    std::size_t bytes;
};

// Strict UTF-8: overlong forms, surrogates and values past U+10FFFF are
// errors, and an error takes one byte, so decoding always moves on.
DecodedCharacter DecodeOne(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return {lead, 1};
    std::size_t length = 0;
    char32_t value = 0, least = 0;
    if ((lead & 0xE0) == 0xC0) length = 2, value = lead & 0x1Fu, least = 0x80;
    else if ((lead & 0xF0) == 0xE0) length = 3, value = lead & 0x0Fu, least = 0x800;
    else if ((lead & 0xF8) == 0xF0) length = 4, value = lead & 0x07u, least = 0x10000;
    else return {kReplacement, 1};
    if (at + length > text.size()) return {kReplacement, 1};
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80) return {kReplacement, 1};
        value = (value << 6) | (next & 0x3Fu);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return {kReplacement, 1};
    return {value, length};
}

}  // namespace

std::u32string DecodeTitle(std::string_view utf8, std::size_t limit) {
    std::u32string characters;
    for (std::size_t at = 0; at < utf8.size() && characters.size() < limit;) {
        const DecodedCharacter decoded = DecodeOne(utf8, at);
        at += decoded.bytes;
        if (!IsDroppedTitleControl(decoded.character)) characters.push_back(decoded.character);
    }
    return characters;
}

// ----- fonts --------------------------------------------------------------------

struct TitleFonts::Face {
    ResolvedFont font;
    std::unique_ptr<GlyphSource> source;
    hb_font_t* shaper = nullptr;
    ~Face() { hb_font_destroy(shaper); }
};

TitleFonts::TitleFonts(const FontRequest& request) : request_(request) {
    std::optional<ResolvedFont> font = ResolveFont(request);
    if (font && Open(*font) == 0) return;
    // The best match could not be read: any sans-serif outline font will do.
    font = ResolveFont(FontRequest{"sans-serif", request.weight, request.italic});
    if (font) Open(*font);
}

TitleFonts::~TitleFonts() = default;

const ResolvedFont& TitleFonts::Font(int face) const { return faces_[static_cast<std::size_t>(face)]->font; }
const GlyphSource& TitleFonts::Source(int face) const { return *faces_[static_cast<std::size_t>(face)]->source; }
hb_font_t* TitleFonts::Shaper(int face) const { return faces_[static_cast<std::size_t>(face)]->shaper; }
float TitleFonts::LineSpacing() const { return Usable() ? Source(0).LineSpacing() : 0.0f; }

bool TitleFonts::Has(int face, char32_t character) const { return Source(face).GlyphIndex(character) != 0; }

int TitleFonts::Open(const ResolvedFont& font) {
    const auto key = std::pair{font.file, font.faceIndex};
    if (auto known = opened_.find(key); known != opened_.end()) return known->second;
    int id = -1;
    auto face = std::make_unique<Face>();
    face->font = font;
    face->source = GlyphSource::Open(font, request_);
    hb_blob_t* blob = face->source ? hb_blob_create_from_file_or_fail(font.file.c_str()) : nullptr;
    if (blob) {
        hb_face_t* shapingFace = hb_face_create(blob, static_cast<unsigned>(font.faceIndex));
        face->shaper = hb_font_create(shapingFace);  // scaled to font units
        hb_face_destroy(shapingFace);
        hb_blob_destroy(blob);
        id = static_cast<int>(faces_.size());
        faces_.push_back(std::move(face));
    }
    opened_.emplace(key, id);
    return id;
}

int TitleFonts::FaceFor(char32_t character) {
    if (Has(0, character)) return 0;
    if (auto known = fallbackFaces_.find(character); known != fallbackFaces_.end()) return known->second;
    const int face = FallbackFor(character);
    fallbackFaces_.emplace(character, face);
    return face;
}

int TitleFonts::FallbackFor(char32_t character) {
    if (!fallbacks_) fallbacks_ = std::make_unique<FallbackFonts>(request_);
    for (std::size_t i = 0; i < fallbacks_->Count(); ++i) {
        if (!fallbacks_->Covers(i, character)) continue;
        const int face = Open(fallbacks_->Font(i));
        if (face > 0 && Has(face, character)) return face;
    }
    return 0;
}

// ----- layout -----------------------------------------------------------------

namespace {

// A stretch of one line drawn with one face, in one script and direction.
struct Run {
    std::size_t start = 0, end = 0;
    int face = 0;
    hb_script_t script = HB_SCRIPT_COMMON;
    FriBidiLevel level = 0;
};

bool IsNeutralScript(hb_script_t script) {
    return script == HB_SCRIPT_COMMON || script == HB_SCRIPT_INHERITED || script == HB_SCRIPT_UNKNOWN;
}

// Spaces, digits and marks take the script of the text around them, so they
// do not break a run (a mark must be shaped with its base).
std::vector<hb_script_t> ResolvedScripts(const std::vector<hb_codepoint_t>& line) {
    hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
    std::vector<hb_script_t> scripts(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) scripts[i] = hb_unicode_script(unicode, line[i]);
    auto firstReal = std::find_if_not(scripts.begin(), scripts.end(), IsNeutralScript);
    hb_script_t current = firstReal == scripts.end() ? HB_SCRIPT_COMMON : *firstReal;
    for (hb_script_t& script : scripts) {
        if (IsNeutralScript(script)) script = current;
        else current = script;
    }
    return scripts;
}

std::vector<FriBidiLevel> BidiLevels(const std::vector<hb_codepoint_t>& line) {
    const auto length = static_cast<FriBidiStrIndex>(line.size());
    std::vector<FriBidiChar> text(line.begin(), line.end());
    std::vector<FriBidiCharType> types(line.size());
    std::vector<FriBidiBracketType> brackets(line.size());
    std::vector<FriBidiLevel> levels(line.size(), 0);
    fribidi_get_bidi_types(text.data(), length, types.data());
    fribidi_get_bracket_types(text.data(), length, types.data(), brackets.data());
    FriBidiParType direction = FRIBIDI_PAR_ON;  // from the line's first strong character
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), length, &direction, levels.data()) == 0)
        std::fill(levels.begin(), levels.end(), FriBidiLevel{0});
    return levels;
}

// A joiner or mark stays with the face of the character before it when
// that face has it, so that what joins is shaped together.
bool FollowsPreviousFace(hb_codepoint_t c) {
    hb_unicode_general_category_t category = hb_unicode_general_category(hb_unicode_funcs_get_default(), c);
    return c == 0x200C || c == 0x200D || category == HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK ||
           category == HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK || category == HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK;
}

std::vector<int> FacesOf(const std::vector<hb_codepoint_t>& line, TitleFonts& fonts) {
    std::vector<int> faces(line.size(), 0);
    for (std::size_t i = 0; i < line.size(); ++i) {
        const bool follow = i > 0 && FollowsPreviousFace(line[i]) && fonts.Has(faces[i - 1], line[i]);
        faces[i] = follow ? faces[i - 1] : fonts.FaceFor(line[i]);
    }
    return faces;
}

std::vector<Run> SplitRuns(const std::vector<hb_codepoint_t>& line, TitleFonts& fonts) {
    const std::vector<int> faces = FacesOf(line, fonts);
    const std::vector<hb_script_t> scripts = ResolvedScripts(line);
    const std::vector<FriBidiLevel> levels = BidiLevels(line);
    std::vector<Run> runs;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (!runs.empty() && runs.back().face == faces[i] && runs.back().script == scripts[i] &&
            runs.back().level == levels[i]) {
            runs.back().end = i + 1;
            continue;
        }
        runs.push_back(Run{i, i + 1, faces[i], scripts[i], levels[i]});
    }
    return runs;
}

// Runs from left to right: from the highest level down to the lowest odd
// one, every stretch of runs at that level or above is reversed.
std::vector<std::size_t> VisualOrder(const std::vector<Run>& runs) {
    std::vector<std::size_t> order(runs.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    FriBidiLevel highest = 0, lowestOdd = 255;
    for (const Run& run : runs) {
        highest = std::max(highest, run.level);
        if (run.level % 2) lowestOdd = std::min(lowestOdd, run.level);
    }
    for (int level = highest; level >= lowestOdd && level > 0; --level) {
        for (std::size_t i = 0; i < order.size();) {
            if (runs[order[i]].level < level) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < order.size() && runs[order[end]].level >= level) ++end;
            std::reverse(order.begin() + static_cast<std::ptrdiff_t>(i), order.begin() + static_cast<std::ptrdiff_t>(end));
            i = end;
        }
    }
    return order;
}

// Latin, Greek and Cyrillic keep the advances they had when each character
// was drawn on its own: no kerning, no ligatures, no contextual forms.
// Other scripts get all that their fonts require.
bool IsPlainScript(hb_script_t script) {
    return IsNeutralScript(script) || script == HB_SCRIPT_LATIN || script == HB_SCRIPT_GREEK ||
           script == HB_SCRIPT_CYRILLIC;
}

constexpr hb_feature_t kPlainFeatures[] = {
    {HB_TAG('k', 'e', 'r', 'n'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    {HB_TAG('l', 'i', 'g', 'a'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    {HB_TAG('c', 'l', 'i', 'g'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    {HB_TAG('c', 'a', 'l', 't'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
};

class Shaper {
public:
    Shaper() : buffer_(hb_buffer_create()) {}
    ~Shaper() { hb_buffer_destroy(buffer_); }
    Shaper(const Shaper&) = delete;
    Shaper& operator=(const Shaper&) = delete;

    // Appends the run's glyphs, left to right, moving the pen.
    void Shape(const std::vector<hb_codepoint_t>& line, const Run& run, const TitleFonts& fonts,
               std::size_t lineStart, float& pen, std::vector<PlacedGlyph>& out) {
        hb_buffer_clear_contents(buffer_);
        // The whole line goes in as context, so letters join across runs.
        hb_buffer_add_codepoints(buffer_, line.data(), static_cast<int>(line.size()), static_cast<unsigned>(run.start),
                                 static_cast<int>(run.end - run.start));
        hb_buffer_set_direction(buffer_, run.level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
        hb_buffer_set_script(buffer_, run.script);
        // No language: shaping must not change with the user's locale.
        const bool plain = IsPlainScript(run.script);
        hb_shape(fonts.Shaper(run.face), buffer_, plain ? kPlainFeatures : nullptr, plain ? std::size(kPlainFeatures) : 0);
        unsigned count = 0;
        const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer_, &count);
        const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer_, nullptr);
        const GlyphSource& source = fonts.Source(run.face);
        const float scale = source.EmScale();
        for (unsigned i = 0; i < count; ++i) {
            PlacedGlyph placed{run.face, infos[i].codepoint, pen, source.Advance(infos[i].codepoint, positions[i].x_advance),
                               static_cast<float>(positions[i].x_offset) * scale,
                               static_cast<float>(positions[i].y_offset) * scale, lineStart + infos[i].cluster};
            pen += placed.advance;
            out.push_back(placed);
        }
    }

private:
    hb_buffer_t* buffer_;
};

LaidOutLine LayOutLine(const std::vector<hb_codepoint_t>& line, std::size_t lineStart, TitleFonts& fonts,
                       Shaper& shaper, std::vector<PlacedGlyph>& out) {
    LaidOutLine laidOut{out.size(), 0, 0.0f};
    if (!fonts.Usable() || line.empty()) return laidOut;
    const std::vector<Run> runs = SplitRuns(line, fonts);
    for (std::size_t index : VisualOrder(runs)) shaper.Shape(line, runs[index], fonts, lineStart, laidOut.width, out);
    laidOut.count = out.size() - laidOut.first;
    return laidOut;
}

}  // namespace

TitleLayout LayOutTitle(std::string_view utf8, TitleFonts& fonts) {
    const std::u32string text = DecodeTitle(utf8);
    TitleLayout layout;
    layout.lineSpacing = fonts.LineSpacing();
    Shaper shaper;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = std::min(text.find(U'\n', start), text.size());
        const std::vector<hb_codepoint_t> line(text.begin() + static_cast<std::ptrdiff_t>(start),
                                               text.begin() + static_cast<std::ptrdiff_t>(end));
        layout.lines.push_back(LayOutLine(line, start, fonts, shaper, layout.glyphs));
        if (end == text.size()) break;
        start = end + 1;
    }
    return layout;
}

}  // namespace quorbel
