// Extruded glyphs built on first use: one mesh per glyph of a face,
// tessellated from its outline with the extrusion settings of the cache.
// A new font or new settings start the cache afresh (Reset), so a mesh is
// known by its face (a font file and face index, numbered by TitleFonts) and
// glyph. CPU only: a title compiles the meshes it needs into its display list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "effects/glyph_builder.h"

namespace quorbel {

class TitleFonts;

class GlyphCache {
public:
    struct Entry {
        GlyphMesh mesh;
        float advance = 0;  // the glyph's own advance, in em
    };

    // Forgets every glyph; later ones are built with `options`.
    void Reset(const ExtrusionOptions& options);
    void Clear() { Reset(options_); }
    // The glyph, built when unseen. The reference holds until the next Reset.
    const Entry& Get(const TitleFonts& fonts, int face, std::uint32_t glyph);

    std::size_t Size() const { return entries_.size(); }
    // Glyphs tessellated since the program started, for tests and benchmarks.
    static std::size_t BuiltEver() { return builtEver_; }

private:
    ExtrusionOptions options_;
    std::unordered_map<std::uint64_t, Entry> entries_;
    static inline std::size_t builtEver_ = 0;
};

// Measured on Mesa: a display list compiled last stays in the renderer's
// open vertex store, and calling it costs ten times what it does once the
// store is full. A throwaway list bigger than the store starts a new one.
// Call after compiling a list that is drawn every frame.
void SealCompiledLists();

}  // namespace quorbel
