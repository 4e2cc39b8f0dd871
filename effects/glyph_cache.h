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
    // A glyph's list draws it at the pen and then moves the pen by the
    // glyph's own advance, so that a line of glyphs is one glCallLists.
    struct Entry {
        std::uint32_t list = 0;  // 0 when GL had no list name left
        float advance = 0;       // em
    };
    // The glyph's entry, built when unseen. The GL context must be current.
    Entry Get(const TitleFonts& fonts, int face, std::uint32_t glyph);

    // Call after building glyphs. Measured on Mesa: the lists compiled last
    // stay in the renderer's open vertex store, and calling them costs ten
    // times what a list in a full store does, until enough later lists fill
    // it. A throwaway list bigger than the store starts a new one.
    static void SealNewLists();

    std::size_t Size() const { return lists_.size(); }
    // Glyphs tessellated since the program started, for tests and benchmarks.
    static std::size_t BuiltEver() { return builtEver_; }

private:
    ExtrusionOptions options_;
    std::unordered_map<std::uint64_t, Entry> lists_;
    static inline std::size_t builtEver_ = 0;
};

}  // namespace quorbel
