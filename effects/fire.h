// The fire: 300 short-lived camera-facing quads emitted from a wobbling point.
#pragma once

#include <cstdint>
#include <memory>

namespace quorbel {

struct Vector3 {
    float x = 0, y = 0, z = 0;
    Vector3 operator+(const Vector3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vector3 operator-(const Vector3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vector3 operator*(float s) const { return {x * s, y * s, z * s}; }
};

struct FireParticle {
    Vector3 position, velocity, acceleration;
    float colour[3] = {};
    std::int32_t age = 0;
    bool alive = false;
};

class EmitterBase {
public:
    explicit EmitterBase(std::int32_t total);
    virtual ~EmitterBase();
    EmitterBase(const EmitterBase&) = delete;
    EmitterBase& operator=(const EmitterBase&) = delete;
    void KillAll();

    FireParticle* particleList = nullptr;
    std::int32_t particleTotal = 0;
    Vector3 origin;
};

class FireSystem : public EmitterBase {
public:
    explicit FireSystem(std::int32_t total) : EmitterBase(total) {}
    void UpdateFire(std::int32_t step);
    void InitFireParticle(std::int32_t index);
    void RenderFire();
};

constexpr int kFireParticles = 300;
// The fire object made at set-up; null before that (or if it could not be made).
FireSystem* TheFireSystem();
// Makes the fire object with its 300 particles, all inactive.
void CreateFireSystem();

bool LoadFireTextures();
// One fire pass: position, step unless paused, render.
void DrawFire();

}  // namespace quorbel
