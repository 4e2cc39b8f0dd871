// The radial and the motion blur: parts of the scene rendered into a texture
// and laid back over the view.
#pragma once

#include <cstdint>

namespace quorbel {

// The radial blur's capture size, and the motion blur's texture size, in a
// 720 x 480 view; both scale with the view (see scene/view_scale.h).
constexpr int kRadialCaptureSize = 128;
constexpr int kMotionTextureSize = 512;
// The same for the current view (its width and height in the scene state).
int RadialCaptureSide();
int MotionTextureSide();
// Layer counts beyond this (from a hostile density) are drawn as this many.
constexpr int kMostRadialLayers = 1000;

// RadialCapture then DrawRadialLayers(layers, step).
void RadialBlurPass(int layers, float step);
// The radial blur's chosen sources, drawn with the matrices from identity.
void RadialBlurSources();
// Renders the sources into the lower-left RadialCaptureSide() square (128 x
// 128 pixels in a 720 x 480 view), copies them as a
// grey-scale picture into OpenGL's default texture (name 0), hands the clear
// colour over to the blur's background and clears the view.
void RadialCapture();
// `count` copies of the captured picture over the whole view, each more
// magnified (by `step`) and more transparent than the one before.
void DrawRadialLayers(int count, float step);
// The spread's loop or bounce; runs every frame the radial blur is on.
void AdvanceSeparation();

// The feedback blur: when a capture is due, redraws the texture, draws the
// sources on top and copies the result back; then shows the texture. A
// texture made for another view size is made again, blank, at this one's.
void MotionBlurPass();
// True (and the time remembered) when more than 1/rate seconds have passed
// since the last capture on the platform's millisecond clock.
bool CaptureDue(float rate);
// The motion texture over the whole view at 90 %, shifted by the extrusion
// (pixels of a 720 x 480 view, scaled to this one).
void DrawMotionTexture();
void MotionBlurSources();
// One new texture name into names[slot]: a size x size zero-filled image
// with linear filters. Does nothing for a null array, a size outside
// 1..4096 or a component count outside 1..4.
void CreateBlankTexture(std::uint32_t* names, int size, int components, unsigned format, int slot);

}  // namespace quorbel
