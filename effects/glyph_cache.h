// Extruded glyphs compiled on first use: one display list per glyph of a
// face, built from its outline with the extrusion settings of the cache.
// A new font or new settings start a new cache (Clear), so a list is known
// by its face (a font file and face index, numbered by TitleFonts) and glyph.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "effects/glyph_builder.h"

namespace quorbel {

class TitleFonts;

class GlyphCache {
public:
    GlyphCache() = default;
    ~GlyphCache() { Clear(); }
    GlyphCache(const GlyphCache&) = delete;
    GlyphCache& operator=(const GlyphCache&) = delete;

    // Deletes every list; later glyphs are built with `options`.
    void Reset(const ExtrusionOptions& options);
    void Clear() { Reset(options_); }
    // The list that draws the glyph at the pen (0 when GL has no list name
    // left). Builds it when unseen. The GL context must be current.
    std::uint32_t ListFor(const TitleFonts& fonts, int face, std::uint32_t glyph);

    std::size_t Size() const { return lists_.size(); }
    // Glyphs tessellated since the program started, for tests and benchmarks.
    static std::size_t BuiltEver() { return builtEver_; }

private:
    ExtrusionOptions options_;
    std::unordered_map<std::uint64_t, std::uint32_t> lists_;
    static inline std::size_t builtEver_ = 0;
};

}  // namespace quorbel
