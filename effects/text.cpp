#include "effects/text.h"

namespace quorbel {
std::array<GlyphMetrics, 256> textGlyphMetrics;
void BuildTextFont() {}
void DeleteTextFont() {}
void PrintText(const char*) {}
float TextWidth(const char*) { return 0; }
void BindTextTexture(TextPass) {}
void ApplyTextTransform() {}
void ApplyTextColour() {}
void DrawTitle() {}
void DrawText(TextPass) {}
void AnimateText() {}
void ApplyChromeStyle() {}
void ApplyGlassStyle() {}
void ApplyTexturedStyle() {}
void ApplySingleColourStyle() {}
void ApplyChangeColourStyle() {}
}  // namespace quorbel
