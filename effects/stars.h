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
extern std::array<Star, kStarCount> stars;

void InitStars();
void ResetStars();
// One extra motion step over all stars (the warm-up of the first frames).
void StarWarmupStep();
// BindStarTexture then DrawStarLoop.
void DrawStars();
void BindStarTexture();
// Draws the 50 stars and, while playing, moves them and the field.
void DrawStarLoop();

}  // namespace quorbel
