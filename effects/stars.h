// The star field: 50 textured, coloured squares swirling on a disc,
// spiralling inwards and reborn at the rim.
#pragma once

#include <array>
#include <cstdint>

namespace quorbel {

struct Star {
    std::int32_t red = 0, green = 0, blue = 0;
    float dist = 0.0f;
    float angle = 0.0f;
};

constexpr int kStarCount = 50;
// Distances stay in [0, kStarRimDist): a star that passes the centre is
// reborn this far out, less its overshoot.
constexpr float kStarRimDist = 5.0f;
extern std::array<Star, kStarCount> stars;

// Star i at angle 0 and distance i / 10, with a random colour (three
// rand() % 256 draws: red, green, blue).
void InitStars();
// Field back to depth -15, no tilt, roll or spin; then InitStars.
void ResetStars();
// One extra motion step over all stars (the warm-up of the first frames):
// each star turns by i x 0.02 degrees whatever the spin, then moves inwards.
void StarWarmupStep();
// BindStarTexture then DrawStarLoop.
void DrawStars();
// Binds the texture the stars draw with. While the star slot is in use and
// has not yet fallen back, a pending OpenGL error is taken as a rejected
// slot texture: the texture message is shown once and the slot falls back
// to OpenGL's default texture from then on.
void BindStarTexture();
// Draws the 50 stars with the bound texture and the blending in effect and,
// while playing, moves them and the field (the field once per star).
void DrawStarLoop();

}  // namespace quorbel
