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

// A list of particles owned by the emitter. When the list cannot be
// allocated (or `total` is not positive) the emitter holds no particles:
// particleList is null and particleTotal 0.
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
    // One aging pass: births (at most step div 10, rounded up, into dead
    // slots, lowest index first), deaths above age 1000, motion by `step`.
    void UpdateFire(std::int32_t step);
    // A new birth at the emission point; an index outside the list is ignored.
    void InitFireParticle(std::int32_t index);
    // Draws the alive particles as quads facing the camera of the current
    // model-view matrix; enables blending and disables it afterwards.
    void RenderFire();
};

constexpr int kFireParticles = 300;
// The fire object made at set-up; null before that or when it could not be made.
FireSystem* TheFireSystem();
// Makes the fire object with `total` particles, all inactive. When the
// particles cannot be allocated the fire is absent and DrawFire does nothing.
void CreateFireSystem(std::int32_t total = kFireParticles);

// Makes fireTexture (and one spare texture) from "Data\Fire.bmp"; false when
// the picture cannot be read.
bool LoadFireTextures();
// The aging step that fireLife gives, clamped to 0..1000000 (a negative
// step would run the fire backwards and never let a particle die).
std::int32_t FireStepForLife(float life);
// One fire pass: position (on the current matrix stack), step unless
// paused, render.
void DrawFire();

}  // namespace quorbel
