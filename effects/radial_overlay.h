// The radial blur's layers drawn as one summed picture: the bound capture is
// read back, the layers are summed on the processor (RadialSummer) and the
// sum is added over the view with one textured quad. On llvmpipe, which
// rasterises on the processor, that costs a fraction of one blended pass
// per layer.
#pragma once

#include "effects/radial_sum.h"

namespace quorbel {

// Call where the layer quads would be drawn: inside the overlay's
// orthographic view, with texturing on, depth testing off and blending
// (source alpha, one) on, the capture bound. Draws the layers' sum and
// leaves that state, the bound texture and the texture environment as they
// were. False, with nothing drawn, when the state is one the sum does not
// reproduce (lighting, fog, texture generation, another kind of texture or
// frame buffer, ...); the caller then draws the layers one by one.
bool DrawSummedRadialLayers(const RadialLayer* layers, int count, const float (&colour)[3]);

}  // namespace quorbel
