#include "effects/particles.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "effects/particle_batch.h"
#include "effects/value_runs.h"
#include "scene/render_path.h"
#include "scene/scene_state.h"

namespace quorbel {

const float kDefaultParticleColours[kColourRows][3] = {
    {1.0f, 0.5f, 0.25f},  {1.0f, 0.5f, 0.25f},  {1.0f, 0.5f, 0.25f},  {1.0f, 0.5f, 0.25f},
    {1.0f, 0.5f, 0.25f},  {1.0f, 0.5f, 0.25f},  {1.0f, 0.65f, 0.25f}, {1.0f, 0.65f, 0.25f},
    {1.0f, 0.5f, 0.25f},  {1.0f, 0.5f, 0.25f},  {1.0f, 0.55f, 0.25f}, {1.0f, 0.55f, 0.25f},
};

namespace {

// Half a degree in radians (slightly short of pi / 360); twice it makes the
// birth angle count in degrees.
constexpr double kHalfDegree = 0.00872638888888889;
constexpr int kParticlesPerColourRow = 2500;
constexpr int kLastColourIndex = 10;
// Below this divisor a step would throw the particles out of any view (or
// make them infinite); such a step leaves the positions where they are.
constexpr float kSmallestDivisor = 1e-3f;

bool Paused() { return On(scene.paused); }

// The number of records a pass may touch, whatever the scene state holds.
std::uint32_t DrawnCount() {
    return static_cast<std::uint32_t>(std::clamp<std::int32_t>(scene.particleCount, 0, kMaxParticles));
}

double BirthAngle(const ParticleSystem& system, std::int32_t counter) {
    return static_cast<double>(system.angleStep) * counter * 2 * kHalfDegree;
}

void PlaceOnBirthRing(const ParticleSystem& system, double angle, Particle& particle) {
    const double radius = system.radius;
    particle.position[0] = static_cast<float>(std::cos(angle) * radius);
    particle.position[1] = system.verticalRing ? static_cast<float>(std::sin(angle) * radius) : 0.0f;
    particle.position[2] = static_cast<float>(std::sin(angle) * radius);
}

float RandomFade() { return static_cast<float>((std::rand() % 100) * 0.001 + 0.003); }

// Fade and velocity take their random numbers in this fixed order: fade,
// then x, y, z. `range` and the offsets differ between first and later births.
void RandomFadeAndVelocity(Particle& particle, int range, int offsetX, int offsetYZ) {
    particle.fade = RandomFade();
    const int x = std::rand() % range - offsetX;
    const int y = std::rand() % range - offsetYZ;
    const int z = std::rand() % range - offsetYZ;
    particle.velocity[0] = static_cast<float>(x);
    particle.velocity[1] = static_cast<float>(y);
    particle.velocity[2] = static_cast<float>(z);
}

void CopyVector(const float (&from)[3], float (&to)[3]) { std::copy(std::begin(from), std::end(from), to); }

void FirstBirth(const ParticleSystem& system, int k, std::int32_t counter, Particle& particle) {
    particle.active = true;
    particle.life = 1.0f;
    RandomFadeAndVelocity(particle, 50, 26, 25);
    PlaceOnBirthRing(system, BirthAngle(system, counter), particle);
    CopyVector(system.colourTable[k / kParticlesPerColourRow], particle.colour);
    CopyVector(system.gravity, particle.gravity);
}

void DrawParticle(const Particle& particle, float zoom) {
    const float x = particle.position[0];
    const float y = particle.position[1];
    const float z = particle.position[2] + zoom;
    glColor4f(particle.colour[0], particle.colour[1], particle.colour[2], particle.life);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(1, 1);
    glVertex3f(x + 0.5f, y + 0.5f, z);
    glTexCoord2f(0, 1);
    glVertex3f(x - 0.5f, y + 0.5f, z);
    glTexCoord2f(1, 0);
    glVertex3f(x + 0.5f, y - 0.5f, z);
    glTexCoord2f(0, 0);
    glVertex3f(x - 0.5f, y - 0.5f, z);
    glEnd();
}

void StepParticle(Particle& particle, float slowdown) {
    const float divisor = slowdown * 1000.0f;
    // Written so that a NaN divisor also leaves the position alone.
    if (std::fabs(divisor) >= kSmallestDivisor) {
        for (int axis = 0; axis < 3; ++axis) particle.position[axis] += particle.velocity[axis] / divisor;
    }
    for (int axis = 0; axis < 3; ++axis) particle.velocity[axis] += particle.gravity[axis];
    particle.life -= particle.fade;
}

void RebirthColour(const ParticleSystem& system, std::int32_t colourIndex, Particle& particle) {
    const std::int64_t base = 3 * static_cast<std::int64_t>(colourIndex);
    const std::int64_t red = scene.colourOffsetR;
    const std::int64_t green = scene.colourOffsetG;
    const std::int64_t blue = scene.colourOffsetB;
    if (On(scene.particleRandomColour)) {
        particle.colour[0] = ColourTableComponent(system, base + red);
        particle.colour[1] = ColourTableComponent(system, base + green);
        particle.colour[2] = ColourTableComponent(system, base + blue);
    } else {
        // Red stays as it was; green and blue both lean on the red offset.
        particle.colour[1] = ColourTableComponent(system, base + red + green);
        particle.colour[2] = ColourTableComponent(system, base + blue + red);
    }
}

void Rebirth(const ParticleEngine& engine, const ParticleSystem& system, Particle& particle) {
    const double angle = BirthAngle(system, engine.angleCounter);
    particle.life = 1.0f;
    RandomFadeAndVelocity(particle, 60, 32, 30);
    PlaceOnBirthRing(system, angle, particle);
    RebirthColour(system, engine.colourIndex, particle);
}

void AdvanceColourCycle(ParticleEngine& engine) {
    if (scene.particleColourCycle < 1) return;
    ++engine.colourIndex;
    if (engine.colourIndex > kLastColourIndex) engine.colourIndex = 0;
}

// One of the two runs (amplitude or zoom) of a value between start and finish.
struct Run {
    float& value;
    float start, finish, speed;
    std::int32_t& loop;
    std::int32_t& bounce;
    std::int32_t& rising;
    std::int32_t& falling;
};

// The way a run bounces, kept in two flags.
struct RisingOrFalling {
    std::int32_t& rising;
    std::int32_t& falling;
    bool Forwards() const { return On(rising); }
    bool Back() const { return On(falling); }
    void TurnBack() {
        falling = 2;
        rising = 0;
    }
    void TurnForwards() {
        falling = 0;
        rising = 2;
    }
};

// A loop steps up to the finish itself; a bounce turns a tenth short of
// either end.
void StepLoop(Run& run) {
    if (!On(run.loop)) return;
    AdvanceLoop(run.value,
                {.step = run.speed * 0.02, .forwardUpTo = run.finish, .endAt = run.finish - 0.1, .restart = run.start});
    run.loop = 3;
}

void StepBounce(Run& run) {
    if (!On(run.bounce)) return;
    AdvanceBounce(run.value, RisingOrFalling{run.rising, run.falling},
                  {.step = run.speed * 0.02, .forwardUpTo = run.finish - 0.1, .endAt = run.finish - 0.1,
                   .backDownTo = run.start + 0.1, .startAt = run.start + 0.1});
}

void StepRun(Run run) {
    StepLoop(run);
    StepBounce(run);
}

}  // namespace

ParticleSystem& TheParticleSystem() {
    // Made once and kept for the whole run; too large for the stack.
    static ParticleSystem* const system = new ParticleSystem();
    return *system;
}

ParticleEngine& TheParticleEngine() {
    static ParticleEngine engine;
    return engine;
}

float ColourTableComponent(const ParticleSystem& system, std::int64_t k) {
    const std::int64_t wrapped = ((k % kColourComponents) + kColourComponents) % kColourComponents;
    return system.colourTable[wrapped / 3][wrapped % 3];
}

float SlowdownForSpeed(float speed) {
    const float perSpeed = 0.0076923077f;
    const float scaled = speed * perSpeed;
    return 0.7f - scaled;
}

void InitParticleSystem(ParticleSystem& system) {
    system.particles.fill(Particle{});
    system.slowdown = 0;
    system.zoom = -60.0f;
    system.radius = 0;
    system.angleStep = 1;
    system.verticalRing = On(scene.particleRotate90);
    system.gravity[0] = 0;
    system.gravity[1] = 0.8f;
    system.gravity[2] = 0;
    std::copy(&kDefaultParticleColours[0][0], &kDefaultParticleColours[0][0] + kColourComponents,
              &system.colourTable[0][0]);
    std::int32_t counter = 0;
    for (int k = 0; k < kMaxParticles; ++k) {
        counter = (counter + 1) % 360;
        FirstBirth(system, k, counter, system.particles[k]);
    }
}

void DrawParticleSystem(ParticleEngine& engine, ParticleSystem& system) {
    glLoadIdentity();
    glTranslatef(scene.particleX, scene.particleY, 0.0f);
    glBindTexture(GL_TEXTURE_2D, scene.particleTexture);
    const bool paused = Paused();
    const std::uint32_t count = DrawnCount();
    // Each particle is drawn as it stands before its step; the batch keeps
    // those squares and draws them all once the steps are done.
    const bool batched = FastPathActive();
    if (batched) BeginParticleBatch();
    for (engine.drawIndex = 0; engine.drawIndex < count; ++engine.drawIndex) {
        Particle& particle = system.particles[engine.drawIndex];
        if (!particle.active) continue;
        CopyVector(system.gravity, particle.gravity);
        if (batched) AddToParticleBatch(particle, system.zoom);
        else DrawParticle(particle, system.zoom);
        if (!paused) StepParticle(particle, system.slowdown);
        engine.angleCounter = (engine.angleCounter + 1) % 360;
        if (particle.life < 0.0f) Rebirth(engine, system, particle);
        AdvanceColourCycle(engine);
    }
    if (batched) DrawParticleBatch();
}

void UpdateParticleParameters() {
    if (On(scene.particleRandomColour)) {
        scene.colourOffsetR = 4;
        scene.colourOffsetG = 10;
        scene.colourOffsetB = 16;
    }
    if (Paused()) return;
    ParticleSystem& system = TheParticleSystem();
    system.gravity[0] = scene.gravityX;
    system.gravity[1] = scene.gravityY;
    system.gravity[2] = scene.gravityZ;
    StepRun({system.radius, scene.amplitudeStart, scene.amplitudeFinish, scene.amplitudeSpeed, scene.amplitudeLoop,
             scene.amplitudeBounce, scene.amplitudeRising, scene.amplitudeFalling});
    StepRun({system.zoom, scene.zoomStart, scene.zoomFinish, scene.zoomSpeed, scene.zoomLoop, scene.zoomBounce,
             scene.zoomRising, scene.zoomFalling});
    system.slowdown = SlowdownForSpeed(scene.particleSpeed);
}

}  // namespace quorbel
