#include "effects/stars.h"

namespace quorbel {
std::array<Star, kStarCount> stars;
void InitStars() {}
void ResetStars() {}
void StarWarmupStep() {}
void DrawStars() {}
void BindStarTexture() {}
void DrawStarLoop() {}
}  // namespace quorbel
