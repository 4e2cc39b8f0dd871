// The particle fountain: up to 30000 additive, camera-aligned squares born
// on a circle, pulled by gravity, fading and reborn.
#pragma once

#include <array>
#include <cstdint>

namespace quorbel {

constexpr int kMaxParticles = 30000;

struct Particle {
    bool active = false;
    float life = 0, fade = 0;
    float colour[3] = {};
    float position[3] = {};
    float velocity[3] = {};
    float gravity[3] = {};
};

struct ParticleSystem {
    std::array<Particle, kMaxParticles> particles;
    float radius = 0;
    std::int32_t angleStep = 1;
    float slowdown = 0;
    float zoom = -60.0f;
    bool verticalRing = false;
    float gravity[3] = {0, 0.8f, 0};
    float colourTable[12][3] = {};
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

void InitParticleSystem(ParticleSystem& system);
// Draws the first particleCount particles and, unless paused, steps them.
void DrawParticleSystem(ParticleEngine& engine, ParticleSystem& system);
void UpdateParticleParameters();

}  // namespace quorbel
