#include "effects/glyph_cache.h"

#include <GL/gl.h>

#include "effects/text_layout.h"

namespace quorbel {

void GlyphCache::Reset(const ExtrusionOptions& options) {
    for (const auto& [key, entry] : lists_)
        if (entry.list != 0) glDeleteLists(entry.list, 1);
    lists_.clear();
    options_ = options;
}

GlyphCache::Entry GlyphCache::Get(const TitleFonts& fonts, int face, std::uint32_t glyph) {
    const std::uint64_t key = (static_cast<std::uint64_t>(face) << 32) | glyph;
    if (auto known = lists_.find(key); known != lists_.end()) return known->second;
    const GlyphOutline shape = fonts.Source(face).GlyphShape(glyph);
    Entry entry{glGenLists(1), shape.metrics.cellIncX};
    if (entry.list != 0) {
        glNewList(entry.list, GL_COMPILE);
        EmitGlyphGeometry(shape, options_);
        glEndList();
        ++builtEver_;
    }
    lists_.emplace(key, entry);
    return entry;
}

void GlyphCache::SealNewLists() {
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
