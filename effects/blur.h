// The radial and the motion blur: parts of the scene rendered into a texture
// and laid back over the view.
#pragma once

#include <cstdint>

namespace quorbel {

// RadialCapture then DrawRadialLayers(layers, step).
void RadialBlurPass(int layers, float step);
void RadialBlurSources();
void RadialCapture();
void DrawRadialLayers(int count, float step);
// The spread's loop or bounce; runs every frame the radial blur is on.
void AdvanceSeparation();

void MotionBlurPass();
bool CaptureDue(float rate);
void DrawMotionTexture();
void MotionBlurSources();
void CreateBlankTexture(std::uint32_t* names, int size, int components, unsigned format, int slot);

}  // namespace quorbel
