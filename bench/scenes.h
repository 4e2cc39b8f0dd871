// What the benchmarks and the long run share: finding the default pictures,
// and the two scenes the benchmarks measure.
#pragma once

#include "app/headless/headless_engine.h"

namespace quorbel::bench {

// The program reads Data/ and gfx/ from the current folder: uses this one
// when it has them, else the source folder above the build folder. False
// when neither has them.
bool EnterDataFolder();

// One 720x480 engine with the view set up, made on first use and kept for
// the process; null when no OpenGL can be had.
HeadlessEngine* SharedViewEngine();

// A fresh scene past the start-up (no settings file: only the frames),
// `tool` naming the program in the message should a picture be missing.
void FreshScene(HeadlessEngine& engine, const char* tool);
// What the program shows after start-up, plus the particles.
void DefaultScene(HeadlessEngine& engine, const char* tool);
// Everything at once at its most expensive (the render-path tests' heavy
// scene): 30,000 particles, the tunnel, the stars, the tiles, the fire and
// a 125-layer radial blur.
void HeavyScene(HeadlessEngine& engine, const char* tool);

}  // namespace quorbel::bench
