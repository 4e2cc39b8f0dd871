// New: puts every effect back to its built-in values in one fixed pass.
// Each step's values are tables; parameters that no table names keep theirs
// (the pan directions of the title, for one, and the font weight).
#include <cstdint>
#include <span>

#include "commands/documents.h"
#include "effects/particles.h"
#include "effects/stars.h"
#include "effects/text.h"
#include "effects/tunnel.h"
#include "imaging/textures.h"
#include "scene/scene_state.h"

namespace quorbel {

namespace {

using IntField = std::int32_t SceneState::*;
using FloatField = float SceneState::*;
using ColourField = std::uint32_t SceneState::*;

struct IntValue {
    IntField field;
    std::int32_t value;
};
struct FloatValue {
    FloatField field;
    float value;
};

// ----- values -------------------------------------------------------------

const IntField kTextZeroInts[] = {
    &SceneState::textBounceDir,        &SceneState::textZoomCycle,        &SceneState::textLoopStepSaved,
    &SceneState::textZoomStartSaved,   &SceneState::textZoomEndSaved,     &SceneState::textStyleMarked,
    &SceneState::textGlassMarked,      &SceneState::textTexturedMarked,   &SceneState::textLoopPresses,
    &SceneState::textBouncePresses,    &SceneState::textSpinYChecked,     &SceneState::textSpinXChecked,
    &SceneState::textSpinZChecked,     &SceneState::textZoomInChecked,    &SceneState::textZoomOutChecked,
    &SceneState::textPanLeftChecked,   &SceneState::textPanRightChecked,  &SceneState::textPanUpChecked,
    &SceneState::textPanDownChecked,   &SceneState::textSingleColour,     &SceneState::textColourMode,
    &SceneState::textSpinX,            &SceneState::textZoomDir,          &SceneState::textSpinZ,
    &SceneState::textSpinY,            &SceneState::textGlass,            &SceneState::textGlassReflect,
    &SceneState::textSpinSpeedYSaved,  &SceneState::textSpinSpeedXSaved,  &SceneState::textSpinSpeedZSaved,
    &SceneState::textZoomSpeedSaved,   &SceneState::textPanLeftSpeedSaved, &SceneState::textPanRightSpeedSaved,
    &SceneState::textPanUpSpeedSaved,  &SceneState::textPanDownSpeedSaved, &SceneState::textPanDownPresses,
    &SceneState::textPanUpPresses,     &SceneState::textPanRightPresses,  &SceneState::textPanLeftPresses,
    &SceneState::textZoomInPresses,    &SceneState::textZoomOutPresses,   &SceneState::textSpinZPresses,
    &SceneState::textSpinXPresses,     &SceneState::textSpinYPresses,     &SceneState::textPanelOpen,
    &SceneState::textPanelPresses,     &SceneState::textDepthSet,         &SceneState::textOutlinesBuilt,
    &SceneState::textUsed,             &SceneState::textTextured,         &SceneState::textUserTexture,
    &SceneState::textTexturedStyle,
};
const FloatField kTextZeroFloats[] = {
    &SceneState::textPosX,        &SceneState::textPosY,          &SceneState::textReserved1,
    &SceneState::textReserved2,   &SceneState::textReserved3,     &SceneState::textAngleX,
    &SceneState::textAngleY,      &SceneState::textAngleZ,        &SceneState::textSpinSpeedY,
    &SceneState::textSpinSpeedX,  &SceneState::textSpinSpeedZ,    &SceneState::textZoomSpeed,
    &SceneState::textPanLeftSpeed, &SceneState::textPanRightSpeed, &SceneState::textPanUpSpeed,
    &SceneState::textPanDownSpeed, &SceneState::textMouseZoom,
};

const IntValue kParticleInts[] = {
    {&SceneState::particleRotate90, 1},      {&SceneState::particleCount, 2000},
    {&SceneState::particlePanelInitDone, 2}, {&SceneState::colourizerPos1, 0},
    {&SceneState::colourizerPos2, 0},        {&SceneState::colourizerPos3, 0},
    {&SceneState::colourOffsetR, 0},         {&SceneState::colourOffsetG, 0},
    {&SceneState::colourOffsetB, 0},         {&SceneState::particleZoomRestore, 0},
    {&SceneState::amplitudeRisingSaved, 0},  {&SceneState::zoomBounceSaved, 0},
    {&SceneState::zoomRisingSaved, 0},       {&SceneState::amplitudeLoop, 0},
    {&SceneState::amplitudeBounce, 0},       {&SceneState::amplitudeRising, 0},
    {&SceneState::zoomRising, 0},            {&SceneState::zoomLoop, 0},
    {&SceneState::particleRandomColour, 0},  {&SceneState::amplitudeLoopSaved, 0},
    {&SceneState::amplitudeBounceSaved, 0},  {&SceneState::zoomBounce, 0},
    {&SceneState::zoomLoopSaved, 0},         {&SceneState::particlePanelPresses, 0},
    {&SceneState::particlePanelOpen, 0},     {&SceneState::amplitudeLoopPresses, 0},
    {&SceneState::amplitudeBouncePresses, 0}, {&SceneState::particlesUsed, 0},
};
const FloatValue kParticleFloats[] = {
    {&SceneState::particleSpacingPos, 100.0f}, {&SceneState::particleY, 0.0f},
    {&SceneState::particleX, 0.0f},            {&SceneState::particleSpeedPos, 0.0f},
    {&SceneState::gravityY, 0.0f},             {&SceneState::gravityX, 0.0f},
    {&SceneState::gravityZ, 0.0f},             {&SceneState::amplitudeStart, 0.0f},
    {&SceneState::amplitudeFinish, 0.0f},      {&SceneState::amplitudeSpeed, 0.0f},
    {&SceneState::zoomStart, 0.0f},            {&SceneState::zoomFinish, 0.0f},
    {&SceneState::zoomSpeed, 0.0f},            {&SceneState::particleSpeed, 0.0f},
    {&SceneState::amplitudeStartPos, 0.0f},    {&SceneState::amplitudeFinishPos, 0.0f},
    {&SceneState::amplitudeSpeedPos, 0.0f},    {&SceneState::zoomStartSaved, 0.0f},
    {&SceneState::zoomFinishSaved, 0.0f},      {&SceneState::zoomSpeedSaved, 0.0f},
};

const IntValue kStarInts[] = {
    {&SceneState::starSpin, 2},             {&SceneState::starZoomSlidersSet, 2},
    {&SceneState::starPanelOpen, 0},        {&SceneState::starPanelPresses, 0},
    {&SceneState::starTiltDir, 0},          {&SceneState::starCustomTex, 0},
    {&SceneState::starTiltFwdPresses, 0},   {&SceneState::starTiltBackPresses, 0},
    {&SceneState::starZoomStart, 0},        {&SceneState::starZoomFinish, 0},
    {&SceneState::starZoomLoop, 0},         {&SceneState::starZoomBounce, 0},
    {&SceneState::starZoomBounceDir, 0},    {&SceneState::starLoopPresses, 0},
    {&SceneState::starBouncePresses, 0},    {&SceneState::starPanX, 0},
    {&SceneState::starPanY, 0},             {&SceneState::starPanLeftPresses, 0},
    {&SceneState::starPanRightPresses, 0},  {&SceneState::starPanUpPresses, 0},
    {&SceneState::starPanDownPresses, 0},   {&SceneState::starTiltSpeedPos, 0},
    {&SceneState::starSpacingPos, 0},       {&SceneState::starSpeedPos, 0},
    {&SceneState::starPanLeftSpeedPos, 0},  {&SceneState::starPanRightSpeedPos, 0},
    {&SceneState::starPanUpSpeedPos, 0},    {&SceneState::starPanDownSpeedPos, 0},
    {&SceneState::starZoomStartSaved, 0},   {&SceneState::starZoomFinishSaved, 0},
    {&SceneState::starZoomSpeedPos, 0},     {&SceneState::starTiltDirSaved, 0},
    {&SceneState::starRotateLeftSaved, 0},  {&SceneState::starRotateRightSaved, 0},
    {&SceneState::starPanXSaved, 0},        {&SceneState::starPanYSaved, 0},
    {&SceneState::starLoopSaved, 0},        {&SceneState::starBounceSaved, 0},
    {&SceneState::starsUsed, 0},
};
const FloatValue kStarFloats[] = {
    {&SceneState::starFieldZ, -45.0f},      {&SceneState::starTiltSpeed, 0.0f},
    {&SceneState::starFieldTilt, 0.0f},     {&SceneState::starRoll, 0.0f},
    {&SceneState::starFieldX, 0.0f},        {&SceneState::starFieldY, 0.0f},
    {&SceneState::starZoomSpeed, 0.0f},     {&SceneState::starPanLeftSpeed, 0.0f},
    {&SceneState::starPanRightSpeed, 0.0f}, {&SceneState::starPanUpSpeed, 0.0f},
    {&SceneState::starPanDownSpeed, 0.0f},  {&SceneState::starTiltSaved, 0.0f},
    {&SceneState::starSpeed, 0.0f},
};

const IntValue kTunnelInts[] = {
    {&SceneState::tunnelTexMode, 0},        {&SceneState::tunnelZoomDir, 0},
    {&SceneState::tunnelColourOn, 0},       {&SceneState::tunnelZoomInPresses, 0},
    {&SceneState::tunnelZoomOutPresses, 0}, {&SceneState::tunnelTwistPos, 0},
    {&SceneState::tunnelSpeedPos, 0},       {&SceneState::tunnelWarpAPos, 0},
    {&SceneState::tunnelWarpBPos, 0},       {&SceneState::tunnelZoomDirSaved, 0},
    {&SceneState::tunnelPanelOpen, 0},      {&SceneState::tunnelPanelPresses, 0},
    {&SceneState::tunnelUsed, 0},           {&SceneState::tunnelCustomTex, 0},
};
const FloatValue kTunnelFloats[] = {
    {&SceneState::tunnelTwist, 1.0f},  {&SceneState::tunnelWarpB, 1.0f},
    {&SceneState::tunnelWarpA, 30.0f}, {&SceneState::tunnelSpeed, 1.0f},
    {&SceneState::tunnelDepth, 0.0f},  {&SceneState::tunnelZoomSpeed, 0.0f},
    {&SceneState::tunnelZoomSpeedPos, 0.0f},
};

// Text is the only effect shown after New.
const IntValue kShowHide[] = {
    {&SceneState::textHidden, 0},           {&SceneState::textToggleCount, 1},
    {&SceneState::starsHidden, 2},          {&SceneState::starsToggleCount, 0},
    {&SceneState::tunnelShown, 0},          {&SceneState::tunnelToggleCount, 0},
    {&SceneState::tunnelRebuildPending, 0}, {&SceneState::particlesShown, 0},
    {&SceneState::particlesToggleCount, 0}, {&SceneState::tilesShown, 0},
    {&SceneState::tilesToggleCount, 0},     {&SceneState::fireShown, 0},
    {&SceneState::fireToggleCount, 0},      {&SceneState::paused, 0},
};

const IntValue kTileInts[] = {
    {&SceneState::tile1ShownSaved, 2},       {&SceneState::tile2ShownSaved, 2},
    {&SceneState::tile1TransparentSaved, 2}, {&SceneState::tile2TransparentSaved, 2},
    {&SceneState::tile1Shown, 2},            {&SceneState::tile2Shown, 2},
    {&SceneState::tile1Transparent, 2},      {&SceneState::tile2Transparent, 2},
    {&SceneState::tilePanOn, 0},             {&SceneState::tile1RotDir, 0},
    {&SceneState::tile2RotDir, 0},           {&SceneState::tile1PanVSaved, 0},
    {&SceneState::tile1PanUSaved, 0},        {&SceneState::tile2PanVSaved, 0},
    {&SceneState::tile2PanUSaved, 0},        {&SceneState::tile1CustomTex, 0},
    {&SceneState::tile2CustomTex, 0},        {&SceneState::tilePanelOpen, 0},
    {&SceneState::tilePanelPresses, 0},      {&SceneState::tilesUsed, 0},
};
const FloatField kTileZeroFloats[] = {
    &SceneState::tile1RotSpeedSaved,      &SceneState::tile2RotSpeedSaved,      &SceneState::tile1PanUpSpeedSaved,
    &SceneState::tile1PanDownSpeedSaved,  &SceneState::tile1PanRightSpeedSaved, &SceneState::tile1PanLeftSpeedSaved,
    &SceneState::tile1RotSpeed,           &SceneState::tile2RotSpeed,           &SceneState::tile1PanUpSpeed,
    &SceneState::tile1PanDownSpeed,       &SceneState::tile1PanRightSpeed,      &SceneState::tile1PanLeftSpeed,
    &SceneState::tile2PanUpSpeedSaved,    &SceneState::tile2PanDownSpeedSaved,  &SceneState::tile2PanRightSpeedSaved,
    &SceneState::tile2PanLeftSpeedSaved,  &SceneState::tile2PanUpSpeed,         &SceneState::tile2PanDownSpeed,
    &SceneState::tile2PanRightSpeed,      &SceneState::tile2PanLeftSpeed,       &SceneState::tile1ZoomSaved,
    &SceneState::tile2ZoomSaved,          &SceneState::tile1Zoom,               &SceneState::tile2Zoom,
    &SceneState::tile2Angle,              &SceneState::tile1Angle,
};

const IntValue kFireInts[] = {
    {&SceneState::firePanelSpare, 0},   {&SceneState::fireShown, 0},         {&SceneState::fireToggleCount, 0},
    {&SceneState::firePanelPresses, 0}, {&SceneState::firePanelOpen, 0},     {&SceneState::fireColourRotate, 0},
    {&SceneState::fireRotatePresses, 0}, {&SceneState::fireUsed, 0},
};
const FloatValue kFireFloats[] = {
    {&SceneState::fireSizeTop, 0.011f},       {&SceneState::fireSizeBottom, 0.015f},
    {&SceneState::fireDirX, 0.01f},           {&SceneState::fireDirZ, 0.01f},
    {&SceneState::fireEmitX, 0.2f},           {&SceneState::fireEmitY, 0.2f},
    {&SceneState::fireDirY, 2.01f},           {&SceneState::fireLife, 5.0f},
    {&SceneState::fireStretchLeft, 0.0f},     {&SceneState::fireStretchRight, 0.0f},
    {&SceneState::fireStretchUp, 0.0f},       {&SceneState::fireStretchDown, 0.0f},
    {&SceneState::fireWobbleFreqX, 0.0f},     {&SceneState::fireWobbleFreqY, 0.0f},
    {&SceneState::fireWobbleTimeX, 0.0f},     {&SceneState::fireWobbleTimeY, 0.0f},
    {&SceneState::fireSizeTopSaved, 0.0f},    {&SceneState::fireSizeBottomSaved, 0.0f},
    {&SceneState::fireDirXSaved, 0.0f},       {&SceneState::fireDirYSaved, 0.0f},
    {&SceneState::fireDirZSaved, 0.0f},       {&SceneState::fireStretchLeftSaved, 0.0f},
    {&SceneState::fireStretchRightSaved, 0.0f}, {&SceneState::fireStretchUpSaved, 0.0f},
    {&SceneState::fireStretchDownSaved, 0.0f}, {&SceneState::fireWobbleFreqXSaved, 0.0f},
    {&SceneState::fireWobbleFreqYSaved, 0.0f}, {&SceneState::fireLifeSaved, 0.0f},
    {&SceneState::fireX, 0.0f},               {&SceneState::fireY, 0.0f},
    {&SceneState::fireRedSaved, 0.0f},        {&SceneState::fireGreenSaved, 0.0f},
    {&SceneState::fireBlueSaved, 0.0f},       {&SceneState::fireZoomSaved, 0.0f},
    {&SceneState::fireZoom, 0.0f},            {&SceneState::fireRotateSpeed, 0.0f},
    {&SceneState::fireRotateSpeedSaved, 0.0f},
};

const IntValue kBlurInts[] = {
    {&SceneState::blurFadeAlphaSaved, 100},    {&SceneState::blurUsed, 0},
    {&SceneState::motionBlurSelected, 0},      {&SceneState::radialBlurOn, 0},
    {&SceneState::motionBlurOn, 0},            {&SceneState::motionTiles, 0},
    {&SceneState::motionText, 0},              {&SceneState::motionParticles, 0},
    {&SceneState::motionStar, 0},              {&SceneState::motionTextPresses, 0},
    {&SceneState::motionParticlesPresses, 0},  {&SceneState::motionStarPresses, 0},
    {&SceneState::motionTilesPresses, 0},      {&SceneState::blurSeparationSaved, 0},
    {&SceneState::blurRate, 0},                {&SceneState::blurRateSaved, 0},
    {&SceneState::motionButtonPresses, 0},     {&SceneState::radialButtonPresses, 0},
    {&SceneState::blurPanelOpen, 0},           {&SceneState::blurPanelPresses, 0},
    {&SceneState::blurLoopPresses, 0},         {&SceneState::blurBouncePresses, 0},
    {&SceneState::blurSeparationLoop, 0},      {&SceneState::blurSeparationBounce, 0},
    {&SceneState::blurSeparationFalling, 0},   {&SceneState::radialText, 0},
    {&SceneState::radialParticles, 0},         {&SceneState::radialStar, 0},
    {&SceneState::radialFire, 0},              {&SceneState::radialTextPresses, 0},
    {&SceneState::radialParticlesPresses, 0},  {&SceneState::radialStarPresses, 0},
    {&SceneState::radialFirePresses, 0},       {&SceneState::blurActive, 0},
};
// 255 draws as white: OpenGL clamps colours to 1.
const FloatValue kBlurFloats[] = {
    {&SceneState::blurLayerRed, 255.0f},   {&SceneState::blurLayerGreen, 255.0f},
    {&SceneState::blurLayerBlue, 255.0f},  {&SceneState::blurSeparation, 0.0f},
    {&SceneState::blurFadeAlpha, 0.0f},    {&SceneState::extrudeLeft, 0.0f},
    {&SceneState::extrudeLeftSaved, 0.0f}, {&SceneState::extrudeRight, 0.0f},
    {&SceneState::extrudeRightSaved, 0.0f}, {&SceneState::extrudeDown, 0.0f},
    {&SceneState::extrudeDownSaved, 0.0f}, {&SceneState::extrudeUp, 0.0f},
    {&SceneState::extrudeUpSaved, 0.0f},   {&SceneState::blurSeparationFinishSaved, 0.0f},
    {&SceneState::blurSeparationFinish, 0.0f}, {&SceneState::blurSeparationSpeedSaved, 0.0f},
    {&SceneState::blurSeparationSpeed, 0.0f}, {&SceneState::blurBackRedSaved, 0.0f},
    {&SceneState::blurBackGreenSaved, 0.0f}, {&SceneState::blurBackBlueSaved, 0.0f},
};

// ----- steps --------------------------------------------------------------

void Apply(std::span<const IntValue> values) {
    for (const IntValue& v : values) scene.*v.field = v.value;
}
void Apply(std::span<const FloatValue> values) {
    for (const FloatValue& v : values) scene.*v.field = v.value;
}
void Zero(std::span<const IntField> fields) {
    for (IntField field : fields) scene.*field = 0;
}
void Zero(std::span<const FloatField> fields) {
    for (FloatField field : fields) scene.*field = 0.0f;
}

void ResetTextSettings() {
    Zero(kTextZeroInts);
    Zero(kTextZeroFloats);
    scene.textColour = 0;
    scene.textWireframe = 1;  // the wireframe option cycles 1 (off), 2 (on)
    scene.textFontFace.Assign("Arial Black");
    scene.textFontFaceSet = 2;
    ResetText();
    // The middle of the Start slider's range: the title stands at -15.
    scene.textPosZ = -15.0f;
    // With the outlines marked unbuilt this is a first build: solid glyphs
    // at depth 0.2.
    scene.textDepth = 0.2f;
    BuildTextFont();
}

void ResetParticleSettings() {
    Apply(kParticleInts);
    Apply(kParticleFloats);
    InitParticleSystem(TheParticleSystem());
}

void ResetStarSettings() {
    ResetStars();
    Apply(kStarInts);
    Apply(kStarFloats);
}

void ResetTunnelSettings() {
    ResetTunnel();
    Apply(kTunnelInts);
    Apply(kTunnelFloats);
}

void ResetTileFireAndBlurSettings() {
    Apply(kTileInts);
    Zero(kTileZeroFloats);
    Apply(kFireInts);
    Apply(kFireFloats);
    Apply(kBlurInts);
    Apply(kBlurFloats);
}

}  // namespace

void ResetToDefaults() {
    scene.textWhiteRequest = 2;
    scene.randomColourPresses = 0;
    scene.particleColourCycle = 0;
    ResetTextSettings();
    ResetParticleSettings();
    ResetStarSettings();
    ResetTunnelSettings();
    Apply(kShowHide);
    ResetTileFireAndBlurSettings();
    // The next font build is a first build again, and the glyphs of this one
    // stay until then.
    scene.textDepth = 2.0f;
    scene.textOutlinesBuilt = 0;
    LoadTextTexture("Data/Reflectings.bmp");
}

}  // namespace quorbel
