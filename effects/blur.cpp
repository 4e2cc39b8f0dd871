#include "effects/blur.h"

namespace quorbel {
void RadialBlurPass(int, float) {}
void RadialBlurSources() {}
void RadialCapture() {}
void DrawRadialLayers(int, float) {}
void AdvanceSeparation() {}
void MotionBlurPass() {}
bool CaptureDue(float) { return false; }
void DrawMotionTexture() {}
void MotionBlurSources() {}
void CreateBlankTexture(std::uint32_t*, int, int, unsigned, int) {}
}  // namespace quorbel
