#include "scene/gl_setup.h"

#include <GL/gl.h>

#include <cstdlib>
#include <ctime>
#include <optional>

#include "effects/fire.h"
#include "effects/particles.h"
#include "effects/stars.h"
#include "imaging/bmp_loader.h"
#include "imaging/textures.h"
#include "scene/render_path.h"
#include "scene/scene_state.h"

namespace quorbel {

const float kLightAmbient[4] = {0.5f, 0.5f, 0.5f, 1.0f};
const float kLightDiffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const float kLightPosition[4] = {0.0f, 0.0f, 2.0f, 1.0f};

GLUquadric* sceneQuadric = nullptr;

namespace {

std::optional<unsigned> fixedSeed;

bool LoadStartupTextures() {
    if (!LoadBaseTextures() || !LoadTileTexturesA() || !LoadTileTexturesB() || !LoadFireTextures())
        return false;
    // One more read of the fire picture into a name of its own that nothing
    // draws with; a missing fire picture still stops the set-up here.
    auto picture = LoadImageFile("Data\\Fire.bmp");
    if (!picture) return false;
    GLuint spare = 0;
    glGenTextures(1, &spare);
    glBindTexture(GL_TEXTURE_2D, spare);
    return true;
}

void SetOtherStartValues() {
    scene.particleRotate90 = 1;
    scene.textWireframe = 1;
    scene.tunnelSpeed = 1.0f;
    scene.starSpin = 2;
    scene.starsHidden = 2;
    scene.keyTarget = 2;
    scene.titleText.Assign("Quorbel");
    scene.particleCount = 2000;
    scene.textPanLeftSpeed = scene.textPanRightSpeed = 0.1f;
    scene.textPanUpSpeed = scene.textPanDownSpeed = 0.1f;
}

void BaselineStateFirst() {
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    SetUpSceneLight();
}

void MakeSceneQuadric() {
    // Only the newest quadric is ever used, so the previous one goes.
    if (sceneQuadric) gluDeleteQuadric(sceneQuadric);
    sceneQuadric = gluNewQuadric();
    if (!sceneQuadric) return;
    gluQuadricNormals(sceneQuadric, GLU_SMOOTH);
    gluQuadricTexture(sceneQuadric, GL_TRUE);
}

void SeedRandom() {
    if (fixedSeed) {
        std::srand(*fixedSeed);
        return;
    }
    std::srand(static_cast<unsigned>(std::time(nullptr)) * 87u);
}

void SetTileAndFieldStartValues() {
    scene.tile1Shown = scene.tile2Shown = 2;
    scene.tile1Transparent = scene.tile2Transparent = 2;
    scene.tile1ShownSaved = scene.tile2ShownSaved = 2;
    scene.tile1TransparentSaved = scene.tile2TransparentSaved = 2;
    scene.starFieldZ = static_cast<float>(scene.starZoomStart - 30);
    scene.particleSpacingPos = 100.0f;
    scene.fireEmitX = scene.fireEmitY = 0.2f;
    scene.fireLife = 5.0f;
    scene.fireSizeTop = 0.011f;
    scene.fireSizeBottom = 0.015f;
    scene.fireDirX = 0.01f;
    scene.fireDirY = 2.01f;
    scene.fireDirZ = 0.01f;
}

void BaselineStateSecond() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    MakeSceneQuadric();
    glEnable(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    SphereMapGeneration();
}

}  // namespace

void SetUpSceneLight() {
    glLightfv(GL_LIGHT1, GL_AMBIENT, kLightAmbient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, kLightDiffuse);
    glLightfv(GL_LIGHT1, GL_POSITION, kLightPosition);
    glEnable(GL_LIGHT1);
}

bool InitScene() {
    DetectDriverSupport();
    if (!LoadStartupTextures()) return false;
    CreateFireSystem();
    SetOtherStartValues();
    BaselineStateFirst();
    MakeSceneQuadric();
    SphereMapGeneration();
    InitStars();
    if (!LoadParticleTextureSet()) return false;
    InitParticleSystem(TheParticleSystem());
    SeedRandom();
    SetTileAndFieldStartValues();
    BaselineStateSecond();
    return true;
}

void SetUpFog() {
    static const float fogColour[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, fogColour);
    glFogf(GL_FOG_DENSITY, 0.25f);
    glHint(GL_FOG_HINT, GL_NICEST);
    glFogf(GL_FOG_START, 0.0f);
    glFogf(GL_FOG_END, 23.0f);
}

void BeginOrthoView() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 740, 600, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void EndOrthoView() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void BeginOrthoRect(int left, int top, int right, int bottom) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(left, right, bottom, top, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void EndOrthoRect() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void ResizeGL(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), static_cast<double>(0.1f),
                   100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    scene.viewWidth = width;
    scene.viewHeight = height;
}

void SphereMapGeneration() {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
}

void AdditiveTexturedState() {
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearDepth(1.0);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
}

void SetFixedRandomSeed(unsigned seed) { fixedSeed = seed; }

}  // namespace quorbel
