#include "effects/glyph_cache.h"

#include <GL/gl.h>

#include "effects/text_layout.h"

namespace quorbel {

void GlyphCache::Reset(const ExtrusionOptions& options) {
    entries_.clear();
    options_ = options;
}

const GlyphCache::Entry& GlyphCache::Get(const TitleFonts& fonts, int face, std::uint32_t glyph) {
    const std::uint64_t key = (static_cast<std::uint64_t>(face) << 32) | glyph;
    if (auto known = entries_.find(key); known != entries_.end()) return known->second;
    const GlyphOutline shape = fonts.Source(face).GlyphShape(glyph);
    ++builtEver_;
    return entries_.emplace(key, Entry{BuildGlyphMesh(shape, options_), shape.metrics.cellIncX}).first->second;
}

void SealCompiledLists() {
    constexpr int kSealVertices = 1 << 17;  // 1.5 MB of positions, past the store's megabyte
    const GLuint list = glGenLists(1);
    if (list == 0) return;
    glNewList(list, GL_COMPILE);
    glBegin(GL_POINTS);
    for (int i = 0; i < kSealVertices; ++i) glVertex3f(0.0f, 0.0f, 0.0f);
    glEnd();
    glEndList();
    glDeleteLists(list, 1);
}

}  // namespace quorbel
