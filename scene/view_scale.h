// The effects were drawn for a 720 x 480 view. Whatever is measured in scene
// units (the title, the particles, the tunnel) scales with the view through
// the projection by itself; what is measured in pixels (the blurs' capture
// and feedback textures, the motion blur's shift) is scaled here, so that a
// larger view looks like a sharper copy of the same picture.
//
// The factor is that of the 720 x 480 picture fitted inside the view, so it
// is exactly 1 at both DV sizes (720 x 480 and 720 x 576): they render as
// they always have.
#pragma once

namespace quorbel {

constexpr int kDesignWidth = 720;
constexpr int kDesignHeight = 480;

// min(width / 720, height / 480); 1 for a view without a size yet.
float ViewScale(int width, int height);
// `designPixels` of the 720 x 480 picture in this view: rounded, at least 1.
int ScaledPixels(int designPixels, int width, int height);

}  // namespace quorbel
