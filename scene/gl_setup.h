// The scene's one-time OpenGL set-up, and the small projection helpers the
// blurs use.
#pragma once

#include <GL/glu.h>

namespace quorbel {

// Light GL_LIGHT1, loaded again before every text pass.
extern const float kLightAmbient[4];
extern const float kLightDiffuse[4];
extern const float kLightPosition[4];
// Loads GL_LIGHT1 with them and enables it (lighting itself stays as it is).
void SetUpSceneLight();

// Smooth normals and texture coordinates; used by the text pass.
extern GLUquadric* sceneQuadric;

// Loads the start-up textures, makes the fire, stars and particles, sets the
// start values and the baseline GL state. Returns false as soon as a start-up
// texture set fails to load; the steps before it stay done, none after it run.
// The GL context must be current.
bool InitScene();

// Linear black fog from eye distance 0 to 23. Does not enable fog.
void SetUpFog();

// A fixed 740 x 600 orthographic view (y downwards); pushes both matrices.
void BeginOrthoView();
void EndOrthoView();
// An orthographic view of a rectangle; pushes the projection only.
void BeginOrthoRect(int left, int top, int right, int bottom);
void EndOrthoRect();

// Texturing on with additive blending (source alpha, one): the state of a
// transparent tile layer and of the glass text.
void AdditiveTexturedState();
// Sphere-map texture-coordinate generation for s and t (not enabled here).
void SphereMapGeneration();

// The view's projection: viewport and 45-degree perspective, near 0.1, far 100.
void ResizeGL(int width, int height);

// The random generator's seed for the births after the first generation.
// Unset, it comes from the clock; a fixed seed makes renders reproducible.
void SetFixedRandomSeed(unsigned seed);

}  // namespace quorbel
