// The heavy scene, shared by the render-path tests and the benchmarks:
// everything at once at its most expensive. Needs no test framework.
#pragma once

namespace quorbel::testing {

// On the set-up scene: 30,000 fast particles, the tunnel (rebuilt), the
// stars, the tiles, the fire and a 125-layer radial blur over the text and
// the particles in white layers. Leaves whether the text shows alone.
void MakeSceneHeavy();

}  // namespace quorbel::testing
