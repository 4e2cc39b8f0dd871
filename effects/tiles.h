// Two full-screen textured layers, panned, rotated, tinted, added or
// multiplied into the frame.
#pragma once

namespace quorbel {

// Each does nothing while its own visible switch is off. Both leave blending
// on with (GL_DST_COLOR, GL_ZERO), depth test off and the colour white.
void DrawTileLayer1();
void DrawTileLayer2();

}  // namespace quorbel
