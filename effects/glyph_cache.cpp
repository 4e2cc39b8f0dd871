#include "effects/glyph_cache.h"

#include <GL/gl.h>

#include "effects/text_layout.h"

namespace quorbel {

void GlyphCache::Reset(const ExtrusionOptions& options) {
    for (const auto& [key, list] : lists_)
        if (list != 0) glDeleteLists(list, 1);
    lists_.clear();
    options_ = options;
}

std::uint32_t GlyphCache::ListFor(const TitleFonts& fonts, int face, std::uint32_t glyph) {
    const std::uint64_t key = (static_cast<std::uint64_t>(face) << 32) | glyph;
    if (auto known = lists_.find(key); known != lists_.end()) return known->second;
    const GLuint list = glGenLists(1);
    if (list != 0) {
        glNewList(list, GL_COMPILE);
        EmitGlyphGeometry(fonts.Source(face).GlyphShape(glyph), options_);
        glEndList();
        ++builtEver_;
    }
    lists_.emplace(key, list);
    return list;
}

}  // namespace quorbel
