// Two ways of drawing the same frame. The classic path is plain OpenGL 1.1:
// one immediate-mode strip per particle and one blended pass per radial
// layer. The fast path needs OpenGL 2.0 (buffer objects, textures of any
// size): it sends the particles in one draw, sums the radial layers in one
// pass on Mesa's llvmpipe, and leaves out drawing that a later clear of
// the same frame wipes out. Both give the same picture to within a level or
// two of rounding.
#pragma once

namespace quorbel {

enum class RenderPath { Classic, Fast };

// The path wanted from now on (the fast one unless someone asks otherwise).
void RequestRenderPath(RenderPath path);
RenderPath RequestedRenderPath();

// The wanted path where the driver offers what it needs, else the classic one.
RenderPath ActiveRenderPath();
inline bool FastPathActive() { return ActiveRenderPath() == RenderPath::Fast; }

// Reads what the current context's driver offers; the scene set-up calls it
// with the context current. When the fast path is wanted but the driver lacks
// what it needs, says once on stderr that the classic path draws instead.
void DetectDriverSupport();

// True where the radial layers are summed on the processor: on Mesa's
// llvmpipe, which rasterises on the processor too (so a read-back is cheap
// and one pass beats many blended ones) and whose 8-bit arithmetic the sum
// reproduces. Elsewhere the fast path blends the layers as quads.
bool SumRadialLayersOnProcessor();

// The checks behind DetectDriverSupport, on the driver's own strings.
// "2.1 Mesa 22.3.6" offers the fast path; "1.4" or an unreadable one does not.
bool VersionOffersFastPath(const char* version);
bool RendererIsLlvmpipe(const char* renderer);

}  // namespace quorbel
