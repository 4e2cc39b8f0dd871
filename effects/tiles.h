// Two full-screen textured layers, panned, rotated, tinted, added or
// multiplied into the frame.
#pragma once

namespace quorbel {

// Each does nothing while its own visible switch is off. Both leave blending
// on with (GL_DST_COLOR, GL_ZERO), depth test off and the colour white, so a
// non-transparent layer drawn next multiplies into the frame.
//
// Each reads (and so clears) one pending OpenGL error before binding its
// texture and takes it as a rejected slot texture: the texture message, then
// the fallback switch raised (layer one raises both layers').
//
// Layer one also does the drift of both layers while tilePanOn is off.
void DrawTileLayer1();
void DrawTileLayer2();

}  // namespace quorbel
