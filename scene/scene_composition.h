// One frame of the layered scene: the order of the layers, the GL state
// around each, and which animation steps run.
#pragma once

namespace quorbel {

// Draws one complete frame into the current draw buffer. Needs the GL
// context current and InitScene done. Returns 1.
int RenderScene();

}  // namespace quorbel
