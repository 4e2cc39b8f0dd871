#include "effects/glyph_fields.h"

#include "effects/text.h"
#include "scene/scene_state.h"

namespace quorbel {

bool ChangesGlyphs(std::string_view fieldName) {
    // The font (face, weight, italic) chooses the outlines; wireframe and
    // depth decide how they are extruded into lists.
    for (std::string_view name : {"textFontFace", "textFontWeight", "textFontItalic", "textWireframe", "textDepth"})
        if (fieldName == name) return true;
    return false;
}

void SetFieldsRebuildingGlyphs(std::span<const std::pair<std::string, std::string>> fields) {
    bool rebuild = false;
    for (const auto& [name, value] : fields) {
        SetSceneField(scene, name, value);
        rebuild = rebuild || ChangesGlyphs(name);
    }
    if (rebuild) BuildTextFont();
}

}  // namespace quorbel
