// Which pixels of a frame the solid layers drew, for recordings with a
// transparent background. Solid layers are the title's faces (unless it is
// drawn as glass, which adds light like a glow) and the layers that fill the
// view, the tunnel and the tiles. They mark their fragments in the stencil
// buffer; glows (particles, fire, stars, blurs) leave it alone and get their
// coverage from their own brightness when the frame is read back.
//
// Marking uses only the stencil buffer, never colour or depth, so a frame
// renders the same colours with marking on or off. Off by default; every
// call is then a no-op. The GL context must be current.
#pragma once

namespace quorbel {

void SetCoverageMarking(bool on);
bool CoverageMarking();

// Clears the marks; the frame's first step.
void ClearCoverage();
// Marks every fragment drawn until EndSolidLayer (stencil test that always
// passes and writes 1). Leaves the stencil test disabled at the end.
void BeginSolidLayer();
void EndSolidLayer();

// The stencil value of a marked pixel.
constexpr unsigned char kCoveredMark = 1;

}  // namespace quorbel
