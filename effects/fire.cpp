#include "effects/fire.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>
#include <new>

#include "imaging/bmp_loader.h"
#include "imaging/textures.h"
#include "scene/scene_state.h"

namespace quorbel {

namespace {

constexpr std::int32_t kFireLifetime = 1000;
constexpr double kLargestStep = 1000000.0;
constexpr double kWobbleScale = 0.628318;
constexpr float kWobbleAmplitude = 1.5f;
constexpr float kWobbleTick = 0.01f;
constexpr float kFireDepth = -7.0f;
constexpr float kVelocityScale = 0.00057142857f;
constexpr float kDriftBias = 0.0005f;
constexpr float kColourRange = 50.0f;
// A stretch slider value of 9 pulls a corner by one unit.
constexpr float kStretchScale = 0.11111111f;

std::unique_ptr<FireSystem> fire;
// Made alongside fireTexture; no layer draws with it.
GLuint spareFireTexture = 0;

float RandomUnit() { return static_cast<float>((std::rand() % 1000) * 0.001); }

// One channel of the colour rotation: a sawtooth from 0 up to 50.
void RotateChannel(float& channel, float delta) {
    channel = static_cast<float>(channel + delta + 0.01);
    if (channel >= kColourRange) channel = 0.0f;
}

void SetBirthColour(FireParticle& particle) {
    const bool rotating = On(scene.fireColourRotate);
    const float lift = rotating ? 0.0f : 0.1f;
    particle.colour[0] = static_cast<float>(scene.fireRed * 0.02 + lift);
    particle.colour[1] = static_cast<float>(scene.fireGreen * 0.02 + lift);
    particle.colour[2] = static_cast<float>(scene.fireBlue * 0.02 + lift);
    if (!rotating) return;
    const float delta = scene.fireRotateSpeed * 0.2f;
    RotateChannel(scene.fireRed, delta);
    RotateChannel(scene.fireGreen, delta);
    RotateChannel(scene.fireBlue, delta);
}

void AdvanceParticle(FireParticle& particle, std::int32_t step) {
    particle.position = particle.position + particle.velocity * static_cast<float>(step);
    particle.velocity = particle.velocity + particle.acceleration;
    particle.age += step;
}

GLuint FireTextureInUse() { return On(scene.fireCustomTex) ? scene.fireCustomTexture : scene.fireTexture; }

void DrawFireQuad(const FireParticle& particle, const Vector3 (&corners)[4], float depth) {
    const float stretchLeft = scene.fireStretchLeft * kStretchScale;
    const float stretchRight = scene.fireStretchRight * kStretchScale;
    const float stretchUp = scene.fireStretchUp * kStretchScale;
    const float stretchDown = scene.fireStretchDown * kStretchScale;
    const Vector3 topLeft = particle.position + corners[0];
    const Vector3 bottomLeft = particle.position + corners[1];
    const Vector3 topRight = particle.position + corners[2];
    const Vector3 bottomRight = particle.position + corners[3];
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0, 1);
    glVertex3f(topLeft.x - stretchLeft, topLeft.y, topLeft.z + depth);
    glTexCoord2f(0, 0);
    glVertex3f(bottomLeft.x + stretchRight, bottomLeft.y, bottomLeft.z + depth);
    glTexCoord2f(1, 1);
    glVertex3f(topRight.x, topRight.y + stretchUp, topRight.z + depth);
    glTexCoord2f(1, 0);
    glVertex3f(bottomRight.x, bottomRight.y - stretchDown, bottomRight.z + depth);
    glEnd();
}

void MoveEmissionPoint() {
    scene.fireEmitX = static_cast<float>(
        std::sin(scene.fireWobbleTimeX * scene.fireWobbleFreqX * kWobbleScale) * kWobbleAmplitude + scene.fireX);
    scene.fireEmitY = static_cast<float>(
        std::sin(scene.fireWobbleTimeY * scene.fireWobbleFreqY * kWobbleScale) * kWobbleAmplitude + scene.fireY);
    scene.fireWobbleTimeY += kWobbleTick;
    scene.fireWobbleTimeX += kWobbleTick;
}

}  // namespace

EmitterBase::EmitterBase(std::int32_t total) {
    if (total <= 0) return;
    particleList = new (std::nothrow) FireParticle[static_cast<std::size_t>(total)];
    if (particleList) particleTotal = total;
}

EmitterBase::~EmitterBase() { delete[] particleList; }

void EmitterBase::KillAll() {
    for (std::int32_t i = 0; i < particleTotal; ++i) particleList[i].alive = false;
}

void FireSystem::UpdateFire(std::int32_t step) {
    const double birthLimit = step * 0.1;
    std::int32_t emitted = 0;
    for (std::int32_t i = 0; i < particleTotal; ++i) {
        FireParticle& particle = particleList[i];
        if (!particle.alive) {
            if (emitted < birthLimit) {
                InitFireParticle(i);
                ++emitted;
            }
        } else if (particle.age > kFireLifetime) {
            particle.alive = false;
        } else {
            AdvanceParticle(particle, step);
        }
    }
}

void FireSystem::InitFireParticle(std::int32_t index) {
    if (index < 0 || index >= particleTotal) return;
    FireParticle& particle = particleList[index];
    particle.position = Vector3{scene.fireEmitX, scene.fireEmitY, 0.0f} + origin;
    // The random numbers are drawn in the order z, y, x. Sideways and depth
    // drift are biased a little; the rise is not.
    const float rz = RandomUnit();
    const float ry = RandomUnit();
    const float rx = RandomUnit();
    particle.velocity.z = rz * scene.fireDirZ * kVelocityScale - kDriftBias;
    particle.velocity.y = ry * scene.fireDirY * kVelocityScale;
    particle.velocity.x = rx * scene.fireDirX * kVelocityScale - kDriftBias;
    SetBirthColour(particle);
    particle.alive = true;
    particle.age = 0;
}

void FireSystem::RenderFire() {
    const float top = scene.fireSizeTop * 0.02f + 0.61f;
    const float bottom = scene.fireSizeBottom * 0.02f + 0.61f;
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    // The eye's right and up axes in object space: the first two rows of the
    // rotation part, so the quads always face the camera.
    const Vector3 right{m[0], m[4], m[8]};
    const Vector3 up{m[1], m[5], m[9]};
    const Vector3 corners[4] = {
        (up - right) * top,             // top left
        (Vector3{} - right - up) * bottom,  // bottom left
        (right + up) * top,             // top right
        (right - up) * bottom,          // bottom right
    };
    const float depth = scene.fireZoom * 0.25f;
    glBindTexture(GL_TEXTURE_2D, FireTextureInUse());
    glEnable(GL_BLEND);
    for (std::int32_t i = 0; i < particleTotal; ++i) {
        const FireParticle& particle = particleList[i];
        if (!particle.alive) continue;
        const float darken = particle.age * 0.001f;
        glColor4f(particle.colour[0] - darken, particle.colour[1] - darken, particle.colour[2] - darken, 0.5f);
        DrawFireQuad(particle, corners, depth);
    }
    glDisable(GL_BLEND);
}

FireSystem* TheFireSystem() { return fire.get(); }

void CreateFireSystem(std::int32_t total) {
    fire.reset(new (std::nothrow) FireSystem(total));
    if (fire && !fire->particleList) fire.reset();
    if (fire) fire->KillAll();
}

bool LoadFireTextures() {
    // The loader resolves the backslash as Windows would.
    const auto picture = LoadImageFile("Data\\Fire.bmp");
    if (!picture) return false;
    GLuint names[2] = {};
    glGenTextures(2, names);
    for (GLuint name : names) {
        glBindTexture(GL_TEXTURE_2D, name);
        UploadStandardTexture(*picture);
    }
    scene.fireTexture = names[0];
    spareFireTexture = names[1];
    return true;
}

std::int32_t FireStepForLife(float life) {
    const double step = life * 1.0833334 + 55 - 1;
    if (!(step > 0.0)) return 0;  // also a NaN life
    if (step > kLargestStep) return static_cast<std::int32_t>(kLargestStep);
    return static_cast<std::int32_t>(step);
}

void DrawFire() {
    if (!fire) return;
    glLoadIdentity();
    glColor3f(1.0f, 0.0f, 0.0f);
    glTranslatef(scene.fireX, scene.fireY, kFireDepth);
    if (!On(scene.paused)) {
        MoveEmissionPoint();
        fire->UpdateFire(FireStepForLife(scene.fireLife));
    }
    fire->RenderFire();
}

}  // namespace quorbel
