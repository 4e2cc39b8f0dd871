#include "effects/stars.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>

#include "effects/value_runs.h"
#include "imaging/textures.h"
#include "scene/scene_state.h"

namespace quorbel {

std::array<Star, kStarCount> stars;

namespace {

constexpr float kSpinStep = 0.02f;          // degrees per star index
constexpr float kInwardStep = 0.005f;       // per unit of starSpeed
constexpr float kSpacingScale = 0.1f;
constexpr float kRollStep = 0.01f;          // degrees per star drawn
constexpr float kPanStep = 0.0000625f;      // per unit of pan speed
constexpr float kZoomStep = 0.0005f;        // per unit of zoom speed
constexpr float kTiltStep = 0.0018181818f;  // per unit of tilt speed
constexpr int kZoomStartOffset = 30;        // the zoom range runs from start - 30 ...
constexpr int kZoomFinishOffset = 1;        // ... to finish - 1
constexpr float kSquareHalfSize = 1.0f;

bool Playing() { return !On(scene.paused); }

void NewColour(Star& star) {
    star.red = std::rand() % 256;
    star.green = std::rand() % 256;
    star.blue = std::rand() % 256;
}

// Moves one star inwards; past the centre it is reborn at the rim with the
// overshoot kept, so the stars never bunch up at exactly the rim.
void StarStep(Star& star) {
    star.dist -= scene.starSpeed * kInwardStep;
    if (star.dist >= 0.0f) return;
    star.dist += kStarRimDist;
    // Only a speed far beyond the slider's range overshoots by a whole
    // rim; wrap it too so the distance stays within the disc.
    if (star.dist < 0.0f) star.dist = std::fmod(star.dist, kStarRimDist) + kStarRimDist;
    NewColour(star);
}

void PanStep() {
    if (scene.starPanX == 2) scene.starFieldX += scene.starPanLeftSpeed * kPanStep;
    if (scene.starPanX >= 4) scene.starFieldX -= scene.starPanRightSpeed * kPanStep;
    if (scene.starPanY == 2) scene.starFieldY += scene.starPanUpSpeed * kPanStep;
    if (scene.starPanY >= 4) scene.starFieldY -= scene.starPanDownSpeed * kPanStep;
}

// In float: the zoom range may come from a settings file at the very ends
// of the integer range, where the offsets would overflow.
float ZoomNear() { return static_cast<float>(scene.starZoomFinish) - kZoomFinishOffset; }
float ZoomFar() { return static_cast<float>(scene.starZoomStart) - kZoomStartOffset; }

void ZoomLoopStep() {
    if (!On(scene.starZoomLoop)) return;
    AdvanceLoop(scene.starFieldZ, {.step = scene.starZoomSpeed * kZoomStep,
                                   .forwardUpTo = static_cast<float>(scene.starZoomFinish),
                                   .endAt = ZoomNear(),
                                   .restart = ZoomFar()});
}

// Not the shared bounce: each step moves the field first and turns it after,
// never stepping back in the frame it turns, and both ends are checked
// whichever way it runs.
void ZoomBounceStep() {
    if (!On(scene.starZoomBounce)) return;
    if (scene.starZoomBounceDir == 2) scene.starFieldZ += scene.starZoomSpeed * kZoomStep;
    if (scene.starZoomBounceDir >= 4) scene.starFieldZ -= scene.starZoomSpeed * kZoomStep;
    if (scene.starFieldZ >= ZoomNear()) scene.starZoomBounceDir = 4;
    if (scene.starFieldZ <= ZoomFar()) scene.starZoomBounceDir = 2;
}

void TiltStep() {
    if (scene.starTiltDir == 2) scene.starFieldTilt += scene.starTiltSpeed * kTiltStep;
    if (scene.starTiltDir == 4) scene.starFieldTilt -= scene.starTiltSpeed * kTiltStep;
}

// Runs once per star drawn, so the field moves 50 steps per frame and the
// later stars of a frame see the field already moved by the earlier ones.
void FieldMotionStep() {
    PanStep();
    ZoomLoopStep();
    ZoomBounceStep();
    TiltStep();
}

// Places the square at the star's point on the tilted disc, facing the
// camera again.
void PlaceStar(const Star& star) {
    glLoadIdentity();
    glTranslatef(scene.starFieldX, scene.starFieldY, scene.starFieldZ);
    glRotatef(scene.starFieldTilt, 1.0f, 0.0f, 0.0f);
    glRotatef(star.angle, 0.0f, 1.0f, 0.0f);
    glTranslatef(star.dist - scene.starSpacing * kSpacingScale, 0.0f, 0.0f);
    glRotatef(-star.angle, 0.0f, 1.0f, 0.0f);
    glRotatef(-scene.starFieldTilt, 1.0f, 0.0f, 0.0f);
}

void DrawSquare(const Star& star) {
    glRotatef(scene.starRoll, 0.0f, 0.0f, 1.0f);
    glColor4ub(static_cast<GLubyte>(star.red), static_cast<GLubyte>(star.green), static_cast<GLubyte>(star.blue),
               255);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-kSquareHalfSize, -kSquareHalfSize, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(kSquareHalfSize, -kSquareHalfSize, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(kSquareHalfSize, kSquareHalfSize, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-kSquareHalfSize, kSquareHalfSize, 0.0f);
    glEnd();
}

void AnimateStar(Star& star, int index) {
    scene.starRoll -= kRollStep;
    if (scene.starSpin == 2) star.angle += index * kSpinStep;
    if (scene.starSpin == 4) star.angle -= index * kSpinStep;
    StarStep(star);
}

}  // namespace

void InitStars() {
    for (int i = 0; i < kStarCount; ++i) {
        Star& star = stars[i];
        star.angle = 0.0f;
        star.dist = static_cast<float>(i * 0.02 * 5.0);
        NewColour(star);
    }
}

void ResetStars() {
    scene.starFieldZ = -15.0f;
    scene.starFieldTilt = 0.0f;
    scene.starRoll = 0.0f;
    scene.starSpin = 0;
    InitStars();
}

void StarWarmupStep() {
    for (int i = 0; i < kStarCount; ++i) {
        stars[i].angle += i * kSpinStep;
        StarStep(stars[i]);
    }
}

void DrawStars() {
    BindStarTexture();
    DrawStarLoop();
}

void BindStarTexture() {
    glBindTexture(GL_TEXTURE_2D, 0);
    const bool slotInUse = On(scene.starCustomTex);
    // Once fallen back the slot is not asked again, so the message shows once.
    if (slotInUse && !On(scene.starTexFallback) && glGetError() != GL_NO_ERROR) {
        ShowTextureError();
        scene.starTexFallback = 2;
    } else if (!On(scene.starTexFallback)) {
        glBindTexture(GL_TEXTURE_2D, scene.starTexture);
    }
    if (!slotInUse) glBindTexture(GL_TEXTURE_2D, scene.baseTextures[2]);
}

void DrawStarLoop() {
    const bool playing = Playing();
    for (int i = 0; i < kStarCount; ++i) {
        Star& star = stars[i];
        PlaceStar(star);
        if (playing) FieldMotionStep();
        DrawSquare(star);
        if (playing) AnimateStar(star, i);
    }
}

}  // namespace quorbel
