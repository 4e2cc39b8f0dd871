// "Particle Controls": count, colouring, speed and spacing, the birth ring's
// orientation, gravity, and the amplitude and zoom runs of the particles.
#include <algorithm>
#include <array>
#include <string>

#include "effects/particles.h"
#include "imaging/textures.h"
#include "panels/panel_kinds.h"
#include "panels/panel_registry.h"

namespace quorbel {

namespace {

using S = SceneState;
using K = ControlKind;

enum Id {
    kCount = 1000, kRandomColour = 1072, kChangeTexture = 1068,
    kColourTop = 1069, kColourMiddle = 1071, kColourBottom = 1070,
    kSpeed = 1075, kSpacing = 1044, kRotate90 = 1093,
    kGravityY = 1038, kGravityX = 1039, kGravityZ = 1040,
    kAmplitudeStart = 1041, kAmplitudeFinish = 1042, kAmplitudeSpeed = 1043, kAmplitudeLoop = 1073,
    kAmplitudeBounce = 1074,
    kZoomStart = 1045, kZoomFinish = 1046, kZoomSpeed = 1047, kZoomLoop = 1014, kZoomBounce = 1009,
    kResetDefaults = 1010,
};

constexpr int kMostParticles = 30000;

constexpr ControlSpec kControls[] = {
    {0, K::GroupBox, "Particle Properties", {11, 7, 158, 65}},
    {0, K::Label, "Number of ", {14, 20, 36, 8}},
    {0, K::Label, "Particles:", {18, 28, 30, 8}},
    {kCount, K::NumberField, "", {50, 22, 35, 14}},
    {kRandomColour, K::CheckBox, "Random Colour", {16, 39, 65, 10}},
    {kChangeTexture, K::PushButton, "Change Texture", {16, 52, 61, 14}},
    {0, K::GroupBox, "Colourizer", {90, 17, 73, 50}},
    {kColourTop, K::Slider, "", {95, 25, 63, 12}},
    {kColourMiddle, K::Slider, "", {95, 38, 63, 12}},
    {kColourBottom, K::Slider, "", {95, 51, 63, 12}},
    {0, K::GroupBox, "Speed / Velocity", {11, 74, 158, 49}},
    {0, K::Label, "Speed", {77, 81, 22, 8}},
    {kSpeed, K::Slider, "", {27, 90, 132, 11}},
    {0, K::Label, "Spacing", {77, 100, 27, 8}},
    {kSpacing, K::Slider, "", {27, 108, 132, 11}},
    {0, K::GroupBox, "Orientation", {11, 123, 158, 20}},
    {kRotate90, K::CheckBox, "Rotate 90 Degrees", {64, 131, 83, 8}},
    {0, K::GroupBox, "Gravity", {11, 145, 158, 56}},
    {0, K::Label, "Down", {29, 157, 20, 8}},
    {kGravityY, K::Slider, "", {49, 157, 88, 11}},
    {0, K::Label, "Up", {138, 157, 10, 8}},
    {0, K::Label, "Left", {37, 168, 13, 8}},
    {kGravityX, K::Slider, "", {49, 168, 88, 11}},
    {0, K::Label, "Right", {138, 168, 18, 8}},
    {0, K::Label, "In", {42, 178, 8, 8}},
    {kGravityZ, K::Slider, "", {49, 178, 88, 11}},
    {0, K::Label, "Out", {138, 179, 12, 8}},
    {0, K::GroupBox, "Loop / Bounce Amplitude", {11, 201, 158, 69}},
    {0, K::Label, "Amplitude Start:", {19, 217, 50, 8}},
    {kAmplitudeStart, K::Slider, "", {71, 215, 88, 11}},
    {0, K::Label, "Amplitude Finish:", {19, 229, 54, 8}},
    {kAmplitudeFinish, K::Slider, "", {71, 229, 88, 11}},
    {0, K::Label, "Loop Speed:", {19, 241, 42, 8}},
    {kAmplitudeSpeed, K::Slider, "", {71, 241, 88, 11}},
    {kAmplitudeLoop, K::CheckBox, "Loop", {85, 257, 32, 10}},
    {kAmplitudeBounce, K::CheckBox, "Bounce", {119, 257, 41, 10}},
    {0, K::GroupBox, "Loop / Bounce Zoom", {11, 271, 158, 61}},
    {0, K::Label, "Zoom Start:", {19, 281, 38, 8}},
    {kZoomStart, K::Slider, "", {71, 281, 88, 11}},
    {0, K::Label, "Zoom Finish:", {19, 293, 41, 8}},
    {kZoomFinish, K::Slider, "", {71, 294, 88, 11}},
    {0, K::Label, "Zoom Speed:", {19, 305, 44, 8}},
    {kZoomSpeed, K::Slider, "", {71, 306, 88, 11}},
    {kZoomLoop, K::CheckBox, "Loop", {85, 318, 32, 10}},
    {kZoomBounce, K::CheckBox, "Bounce", {119, 318, 41, 10}},
    {0, K::GroupBox, "Reset", {11, 334, 158, 25}},
    {kResetDefaults, K::PushButton, "Reset Defaults", {61, 342, 50, 14}},
};

constexpr PanelTemplate kTemplate{PanelKind::Particles, 101, "Particle Controls", {390, 0, 177, 366}, kControls};

// The system's own live values (radius, zoom, spacing) are set in code below;
// these rows are the scene's.
constexpr SliderMapping kSliders[] = {
    Slider(kColourTop, &S::colourOffsetR, DividedBy(2), &S::colourizerPos1, kSame),
    Slider(kColourMiddle, &S::colourOffsetB, DividedBy(5), &S::colourizerPos3, kSame),
    Slider(kColourBottom, &S::colourOffsetG, DividedBy(4), &S::colourizerPos2, kSame),
    Slider(kSpeed, &S::particleSpeed, &S::particleSpeedPos),
    Slider(kSpacing, {}, kSame, &S::particleSpacingPos, kSame),
    Slider(kGravityY, &S::gravityY, {}, DividedBy(3, -15)),
    Slider(kGravityX, &S::gravityX, {}, DividedBy(3, -15)),
    Slider(kGravityZ, &S::gravityZ, {}, DividedBy(3, -15)),
    Slider(kAmplitudeStart, &S::amplitudeStart, &S::amplitudeStartPos),
    Slider(kAmplitudeFinish, &S::amplitudeFinish, &S::amplitudeFinishPos),
    Slider(kAmplitudeSpeed, &S::amplitudeSpeed, &S::amplitudeSpeedPos),
    Slider(kZoomStart, &S::zoomStart, &S::zoomStartSaved, Plus(-100)),
    Slider(kZoomFinish, &S::zoomFinish, &S::zoomFinishSaved, Plus(-100)),
    Slider(kZoomSpeed, &S::zoomSpeed, &S::zoomSpeedSaved),
};

// One run (amplitude or zoom): its two boxes and its variables.
struct Run {
    int loopId, bounceId;
    std::int32_t S::*loop, S::*bounce, S::*rising, S::*falling;
    std::int32_t S::*loopPresses, S::*bouncePresses;
    std::int32_t S::*loopSaved, S::*bounceSaved, S::*risingSaved;
};
constexpr Run kAmplitudeRun{kAmplitudeLoop, kAmplitudeBounce, &S::amplitudeLoop, &S::amplitudeBounce,
                            &S::amplitudeRising, &S::amplitudeFalling, &S::amplitudeLoopPresses,
                            &S::amplitudeBouncePresses, &S::amplitudeLoopSaved, &S::amplitudeBounceSaved,
                            &S::amplitudeRisingSaved};
constexpr Run kZoomRun{kZoomLoop, kZoomBounce, &S::zoomLoop, &S::zoomBounce, &S::zoomRising, &S::zoomFalling,
                       &S::zoomLoopPresses, &S::zoomBouncePresses, &S::zoomLoopSaved, &S::zoomBounceSaved,
                       &S::zoomRisingSaved};

std::int32_t& Bump(std::int32_t& counter) {
    if (counter < INT32_MAX) ++counter;
    return counter;
}

class ParticlePanel : public PanelModel {
public:
    using PanelModel::PanelModel;

protected:
    void ExchangeData(Exchange direction) override {
        SetUsed();
        if (On(scene.particleRotate90)) {
            SetCheck(kRotate90, true);
            RebuildSystem();
        }
        scene.particlePanelInitDone = 2;
        for (int id : {kColourTop, kColourMiddle, kColourBottom}) PushStored(kSliders, id);
        ExchangeRandomColour();
        PushStoredRunSliders(false);
        ExchangeRunMarks();
        ReadBack(kSliders);
        ApplySystemValues();
        if (direction == Exchange::Load) SetText(kCount, std::to_string(scene.particleCount));
        else TakeCount();
    }

    void OnSliderMoved() override {
        SetUsed();
        scene.particleSlidersUsed = 2;
        if (scene.particlePanelInitDone < 2) RestoreBeforeFirstMove();
        scene.particlePanelInitDone = 2;
        ReadBack(kSliders);
        ApplySystemValues();
        TheParticleSystem().angleStep = Slider(kSpacing) * 50;
    }

    void OnTextChanged(int id) override {
        if (id == kCount) ExchangeData(Exchange::ReadBack);
    }

    void OnClick(int id) override {
        // Every box and button but these two marks the panel as used.
        if (id != kChangeTexture && id != kResetDefaults) SetUsed();
        switch (id) {
            case kRandomColour: PressRandomColour(); break;
            case kChangeTexture:
                ExchangeData(Exchange::ReadBack);
                ChooseParticleTexture();
                break;
            case kAmplitudeLoop: PressLoop(kAmplitudeRun); break;
            case kAmplitudeBounce: PressBounce(kAmplitudeRun); break;
            case kZoomLoop: PressLoop(kZoomRun); break;
            case kZoomBounce: PressBounce(kZoomRun); break;
            case kRotate90: PressRotate90(); break;
            case kResetDefaults: ResetDefaults(); break;
            default: break;
        }
    }

private:
    // The whole system starts again from its birth ring, at the radius the
    // Amplitude Start slider shows.
    void RebuildSystem() {
        InitParticleSystem(TheParticleSystem());
        TheParticleSystem().radius = static_cast<float>(Slider(kAmplitudeStart));
    }

    // radius and zoom follow their sliders; a zoom loop that has just been
    // switched on starts from zoomStart. The spacing only takes effect when
    // a slider moves.
    void ApplySystemValues() {
        ParticleSystem& system = TheParticleSystem();
        system.radius = static_cast<float>(Slider(kAmplitudeStart));
        system.zoom = scene.zoomLoop == 2 ? scene.zoomStart : static_cast<float>(Slider(kZoomStart) - 60);
    }

    void TakeCount() {
        std::optional<std::int32_t> count = ReadNumber(kCount);
        if (count && *count >= 0 && *count <= kMostParticles) scene.particleCount = *count;
    }

    void ExchangeRandomColour() {
        if (On(scene.particleRandomColour)) {
            SetCheck(kRandomColour, true);
            scene.particleColourCycle = 2;
            scene.randomColourPresses = 1;
        } else {
            SetCheck(kRandomColour, false);
        }
    }

    // Gravity, amplitude, then the zoom limits once a settings load has
    // armed their restoring (otherwise, when asked, Zoom Start goes to 45),
    // then zoom speed, speed and spacing.
    void PushStoredRunSliders(bool moveUnarmedZoomStart) {
        for (int id : {kGravityY, kGravityX, kGravityZ, kAmplitudeStart, kAmplitudeFinish, kAmplitudeSpeed})
            PushStored(kSliders, id);
        if (Bump(scene.particleZoomRestore) >= 2) {
            PushStored(kSliders, kZoomStart);
            PushStored(kSliders, kZoomFinish);
        } else if (moveUnarmedZoomStart) {
            SetSlider(kZoomStart, 45);
        }
        for (int id : {kZoomSpeed, kSpeed, kSpacing}) PushStored(kSliders, id);
    }

    void ExchangeRunMarks() {
        const S& s = scene;
        if (s.amplitudeLoopPresses == 1 && s.amplitudeBouncePresses < 2) SetCheck(kAmplitudeLoop, true);
        if (s.amplitudeBouncePresses == 1 && s.amplitudeLoopPresses < 2) SetCheck(kAmplitudeBounce, true);
        scene.amplitudeLoop = s.amplitudeLoopSaved;
        scene.amplitudeBounce = s.amplitudeBounceSaved;
        scene.amplitudeRising = s.amplitudeRisingSaved;
        if (s.zoomLoopPresses < 2 && s.zoomBouncePresses == 1) {
            SetCheck(kZoomBounce, true);
            scene.zoomBounce = s.zoomBounceSaved;
        }
        if (s.zoomLoopPresses < 2 && s.zoomBouncePresses >= 2) return;
        if (s.zoomBouncePresses < 2 && s.zoomLoopPresses == 1) {
            SetCheck(kZoomLoop, true);
            scene.zoomLoop = s.zoomLoopSaved;
        }
    }

    // A slider moved on a panel that no exchange has filled since the
    // settings were loaded: the stored values and runs come back first.
    void RestoreBeforeFirstMove() {
        PushStoredRunSliders(true);
        for (const Run& run : {kAmplitudeRun, kZoomRun}) {
            scene.*run.loop = scene.*run.loopSaved;
            scene.*run.bounce = scene.*run.bounceSaved;
            scene.*run.rising = scene.*run.risingSaved;
            if (scene.*run.loopSaved > 0) SetCheck(run.loopId, true);
            if (scene.*run.bounceSaved > 0) SetCheck(run.bounceId, true);
        }
    }

    void PressRandomColour() {
        const bool on = AddPress(scene.randomColourPresses) == 1;
        scene.colourOffsetR = 4;
        scene.colourOffsetG = 10;
        scene.colourOffsetB = 16;
        if (on) {
            scene.particleRandomColour = 2;
        } else {
            scene.particleRandomColour = scene.randomColourPresses = 0;
            for (int id : {kColourTop, kColourBottom, kColourMiddle}) ReadBack(kSliders, id, Side::Live);
        }
        scene.particleColourCycle = std::clamp(scene.particleColourCycle, 0, 1) + 1;
        if (scene.particleColourCycle >= 2) scene.particleColourCycle = 0;
    }

    void PressLoop(const Run& run) {
        scene.*run.bounce = scene.*run.bouncePresses = 0;
        if (AddPress(scene.*run.loopPresses) == 1) {
            scene.*run.loop = 2;
        } else {
            scene.*run.loop = scene.*run.loopPresses = 0;
            SetCheck(run.loopId, false);
        }
        scene.*run.loopSaved = scene.*run.loop;
        SetCheck(run.bounceId, false);
    }

    void PressBounce(const Run& run) {
        scene.*run.loop = scene.*run.loopPresses = 0;
        if (AddPress(scene.*run.bouncePresses) == 1) {
            scene.*run.bounce = scene.*run.rising = 2;
        } else {
            scene.*run.bounce = scene.*run.rising = scene.*run.falling = scene.*run.bouncePresses = 0;
            SetCheck(run.bounceId, false);
        }
        scene.*run.bounceSaved = scene.*run.bounce;
        scene.*run.risingSaved = scene.*run.rising;
        SetCheck(run.loopId, false);
    }

    void PressRotate90() {
        if (NextCycle(scene.particleRotate90) < 2) SetCheck(kRotate90, false);
        RebuildSystem();
    }

    void ResetDefaults() {
        ClearRuns();
        scene.particleRandomColour = scene.randomColourPresses = scene.particleColourCycle = 0;
        SetCheck(kRandomColour, false);
        scene.particleCount = 2000;
        SetText(kCount, "2000");
        scene.particleX = scene.particleY = 0.0f;
        for (int id : {kColourTop, kColourMiddle, kColourBottom, kSpeed, kSpacing, kAmplitudeStart, kAmplitudeFinish,
                       kAmplitudeSpeed, kZoomStart, kZoomFinish, kZoomSpeed})
            SetSlider(id, 0);
        for (int id : {kGravityY, kGravityX, kGravityZ}) SetSlider(id, 45);
        ReadBack(kSliders);
        ApplySystemValues();
        scene.particleRotate90 = 1;
        SetCheck(kRotate90, false);
        scene.particlePanelInitDone = 2;
        Bump(scene.particleZoomRestore);
        // The rebuild leaves the spacing at 1 until the Spacing slider moves.
        InitParticleSystem(TheParticleSystem());
        scene.particleSpacingPos = 100.0f;
        SetSlider(kSpacing, 100);
        CreatePanel(PanelKind::Particles);
    }

    void ClearRuns() {
        for (const Run& run : {kAmplitudeRun, kZoomRun}) {
            for (auto field : {run.loop, run.bounce, run.rising, run.falling, run.loopPresses, run.bouncePresses,
                               run.loopSaved, run.bounceSaved, run.risingSaved})
                scene.*field = 0;
            SetCheck(run.loopId, false);
            SetCheck(run.bounceId, false);
        }
    }
};

}  // namespace

const PanelTemplate& ParticlePanelTemplate() { return kTemplate; }
std::unique_ptr<PanelModel> MakeParticlePanel(int instance) {
    return std::make_unique<ParticlePanel>(kTemplate, instance);
}

}  // namespace quorbel
