// What the view does once its GL context is first current: the title counts
// as shown, the scene is set up, the title's glyphs are built. The window and
// the headless mode both run exactly this, so they render alike.
#pragma once

namespace quorbel {

// Returns what the scene set-up returned (false: a start-up texture is
// missing; the glyphs are built either way).
bool InitialiseView(int width, int height);

}  // namespace quorbel
