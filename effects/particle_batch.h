// The particles of one pass sent to OpenGL in a single draw from buffer
// objects, instead of one immediate-mode strip each. The same corners, in
// the same order, with the same colours: the pixels do not change.
#pragma once

#include <cstdint>

#include "effects/particles.h"

namespace quorbel {

// Starts an empty batch.
void BeginParticleBatch();
// The particle's square as the immediate-mode strip would draw it now.
void AddToParticleBatch(const Particle& particle, float zoom);
// Draws the batch with the current matrices, texture and blending, and
// leaves the current colour and texture coordinate where the last strip
// would have left them. Needs OpenGL 1.5 buffer objects and a current
// context; makes its buffers on first use (and again for a new context).
void DrawParticleBatch();

}  // namespace quorbel
