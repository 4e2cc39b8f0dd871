// The particle fountain: up to 30000 additive, camera-aligned squares born
// on a circle, pulled by gravity, fading and reborn.
#pragma once

#include <array>
#include <cstdint>

namespace quorbel {

constexpr int kMaxParticles = 30000;
constexpr int kColourRows = 12;
constexpr int kColourComponents = kColourRows * 3;

struct Particle {
    bool active = false;
    float life = 0, fade = 0;
    float colour[3] = {};
    float position[3] = {};
    float velocity[3] = {};
    float gravity[3] = {};
};

// One fixed block for the whole run; InitParticleSystem rebuilds it in place.
struct ParticleSystem {
    std::array<Particle, kMaxParticles> particles;
    float radius = 0;
    std::int32_t angleStep = 1;
    float slowdown = 0;
    float zoom = -60.0f;
    bool verticalRing = false;
    float gravity[3] = {0, 0.8f, 0};
    float colourTable[kColourRows][3] = {};
};

class ParticleEngine {
public:
    virtual ~ParticleEngine() = default;
    std::uint32_t drawIndex = 0;
    std::int32_t colourIndex = 0;
    std::int32_t angleCounter = 0;
    std::uint32_t textures[3] = {};
};

// The one system (allocated once, never resized) and its engine.
ParticleSystem& TheParticleSystem();
ParticleEngine& TheParticleEngine();

// The colours every (re)built system starts from, 12 rows of red, green, blue.
extern const float kDefaultParticleColours[kColourRows][3];

// Clears the block and gives every particle its first birth. The random calls
// per particle run in the order fade, velocity x, y, z.
void InitParticleSystem(ParticleSystem& system);

// Draws the first particleCount particles (clamped to 0..30000) with the
// identity model-view moved by (particleX, particleY) and, unless paused,
// steps them and gives a new birth to those whose life fell below zero. The
// caller enables texturing and sets the blending.
void DrawParticleSystem(ParticleEngine& engine, ParticleSystem& system);

// The per-pass parameter step: random-colour offsets, then (unless paused)
// gravity, the amplitude and zoom runs and the slowdown.
void UpdateParticleParameters();

// Component k of the colour table read as one flat list of 36. Indices past
// either end wrap round, so every offset the panel or a file can give still
// names a colour of the table.
float ColourTableComponent(const ParticleSystem& system, std::int64_t k);

// The velocity divisor for a speed of 0 to 100, in 32-bit float arithmetic.
float SlowdownForSpeed(float speed);

}  // namespace quorbel
