// "Blur": the radial blur's sources, spread and layers, the blurs' background
// and the motion blur's sources, rate and extrusion. Choosing a source is
// what switches a blur on; the two blurs exclude each other.
#include <array>

#include "panels/panel_kinds.h"

namespace quorbel {

namespace {

using S = SceneState;
using K = ControlKind;

enum Id {
    kSeparationStart = 1077, kSeparationFinish = 1170, kSeparationSpeed = 1173, kLoop = 1171, kBounce = 1172,
    kFadeAlpha = 1079, kColorBlur = 1181, kDensity = 1182,
    kRadialText = 1174, kRadialParticles = 1175, kRadialStar = 1176, kRadialFire = 1177,
    kBackRed = 1178, kBackGreen = 1179, kBackBlue = 1180,
    kRate = 1076, kExtrudeLeft = 1153, kExtrudeRight = 1166, kExtrudeDown = 1167, kExtrudeUp = 1168,
    kMotionText = 1165, kMotionStar = 1161, kMotionTiles = 1164, kReset = 1169,
};

constexpr ControlSpec kControls[] = {
    {0, K::GroupBox, "Radial Blur", {7, 7, 155, 184}},
    {0, K::Label, "Seperation Start", {15, 35, 57, 8}},
    {kSeparationStart, K::Slider, "", {12, 45, 85, 10}},
    {0, K::Label, "Seperation Finish", {16, 55, 56, 8}},
    {kSeparationFinish, K::Slider, "", {12, 67, 85, 9}},
    {0, K::Label, "Seperation Speed", {16, 78, 59, 8}},
    {kSeparationSpeed, K::Slider, "", {12, 87, 85, 9}},
    {kLoop, K::CheckBox, "Loop", {15, 100, 38, 8}},
    {kBounce, K::CheckBox, "Bounce", {57, 100, 45, 9}},
    {0, K::Label, "Fade Alpha", {15, 121, 41, 8}},
    {kFadeAlpha, K::Slider, "", {12, 135, 85, 10}},
    {kColorBlur, K::PushButton, "Color Blur", {107, 126, 46, 13}},
    {0, K::Label, "Blur Density", {16, 150, 41, 9}},
    {kDensity, K::Slider, "", {12, 161, 86, 10}},
    {kRadialText, K::CheckBox, "Text", {113, 30, 30, 10}},
    {kRadialParticles, K::CheckBox, "Particles", {113, 52, 47, 9}},
    {kRadialStar, K::CheckBox, "Star", {114, 73, 39, 9}},
    {kRadialFire, K::CheckBox, "Fire", {114, 92, 48, 13}},
    {0, K::GroupBox, "Background Colors", {7, 196, 155, 50}},
    {kBackRed, K::Slider, "", {33, 212, 85, 10}},
    {0, K::Label, "Red", {123, 212, 26, 9}},
    {kBackGreen, K::Slider, "", {33, 222, 85, 10}},
    {0, K::Label, "Green", {123, 221, 26, 8}},
    {kBackBlue, K::Slider, "", {33, 232, 85, 9}},
    {0, K::Label, "Blue", {123, 230, 23, 8}},
    {0, K::GroupBox, "Motion Blur", {7, 252, 155, 116}},
    {0, K::Label, "Blur Rate", {16, 289, 53, 8}},
    {kRate, K::Slider, "", {13, 300, 85, 10}},
    {0, K::Label, "Extrude", {17, 313, 45, 9}},
    {kExtrudeLeft, K::Slider, "", {13, 324, 86, 9}},
    {kExtrudeRight, K::Slider, "", {13, 332, 86, 9}},
    {kExtrudeDown, K::Slider, "", {13, 341, 86, 9}},
    {kExtrudeUp, K::Slider, "", {13, 349, 86, 9}},
    {kMotionText, K::CheckBox, "Text", {114, 286, 38, 9}},
    {kMotionStar, K::CheckBox, "Star", {114, 308, 35, 10}},
    {kMotionTiles, K::CheckBox, "Tiles", {114, 330, 34, 9}},
    {kReset, K::PushButton, "Reset", {21, 376, 42, 13}},
};

constexpr PanelTemplate kTemplate{PanelKind::Blur, 140, "Blur", {30, 0, 180, 408}, kControls};

constexpr SliderMapping kSliders[] = {
    Slider(kSeparationStart, &S::blurSeparation, &S::blurSeparationSaved),
    Slider(kSeparationFinish, &S::blurSeparationFinish, &S::blurSeparationFinishSaved),
    Slider(kSeparationSpeed, &S::blurSeparationSpeed, &S::blurSeparationSpeedSaved),
    Slider(kFadeAlpha, &S::blurFadeAlpha, &S::blurFadeAlphaSaved),
    Slider(kDensity, &S::blurDensity, &S::blurDensitySaved, Times(2)),
    Slider(kBackRed, &S::blurBackRed, &S::blurBackRedSaved, DividedBy(2)),
    Slider(kBackGreen, &S::blurBackGreen, &S::blurBackGreenSaved, DividedBy(2)),
    Slider(kBackBlue, &S::blurBackBlue, &S::blurBackBlueSaved, DividedBy(2)),
    Slider(kRate, &S::blurRate, &S::blurRateSaved),
    Slider(kExtrudeLeft, &S::extrudeLeft, &S::extrudeLeftSaved, DividedBy(9)),
    Slider(kExtrudeRight, &S::extrudeRight, &S::extrudeRightSaved, DividedBy(9)),
    Slider(kExtrudeDown, &S::extrudeDown, &S::extrudeDownSaved, DividedBy(9)),
    Slider(kExtrudeUp, &S::extrudeUp, &S::extrudeUpSaved, DividedBy(9)),
};

struct SourceBox {
    int id;
    std::int32_t S::*source;
    std::int32_t S::*counter;
};
constexpr std::array<SourceBox, 4> kRadialBoxes = {{
    {kRadialText, &S::radialText, &S::radialTextPresses},
    {kRadialParticles, &S::radialParticles, &S::radialParticlesPresses},
    {kRadialStar, &S::radialStar, &S::radialStarPresses},
    {kRadialFire, &S::radialFire, &S::radialFirePresses},
}};
constexpr std::array<SourceBox, 3> kMotionBoxes = {{
    {kMotionText, &S::motionText, &S::motionTextPresses},
    {kMotionStar, &S::motionStar, &S::motionStarPresses},
    {kMotionTiles, &S::motionTiles, &S::motionTilesPresses},
}};

constexpr ToggleBox kLoopBox{kLoop, &S::blurLoopPresses, &S::blurSeparationLoop, 2, kBounce, &S::blurBouncePresses};
constexpr ToggleBox kBounceBox{kBounce, &S::blurBouncePresses, &S::blurSeparationBounce, 2, kLoop, &S::blurLoopPresses};

template <std::size_t N>
const SourceBox* FindSource(const std::array<SourceBox, N>& boxes, int id) {
    for (const SourceBox& box : boxes)
        if (box.id == id) return &box;
    return nullptr;
}

class BlurPanel : public PanelModel {
public:
    using PanelModel::PanelModel;

protected:
    void ExchangeData(Exchange) override {
        SetUsed();
        for (const SourceBox& box : kMotionBoxes) SetCheck(box.id, scene.*box.counter >= 1);
        for (const SourceBox& box : kRadialBoxes) SetCheck(box.id, On(scene.*box.source));
        SetCheck(kLoop, scene.blurLoopPresses == 1);
        SetCheck(kBounce, scene.blurBouncePresses == 1);
        PushStored(kSliders);
        // Live values follow the sliders, so a stored value beyond a
        // slider's reach comes back within it.
        ReadBack(kSliders, Side::Live);
    }

    void OnSliderMoved() override { ReadBack(kSliders); }

    void OnClick(int id) override {
        if (const SourceBox* box = FindSource(kRadialBoxes, id)) return PressRadialSource(*box);
        if (const SourceBox* box = FindSource(kMotionBoxes, id)) return PressMotionSource(*box);
        switch (id) {
            case kLoop:
                PressToggle(kLoopBox);
                scene.blurSeparationBounce = 0;
                break;
            case kBounce:
                PressToggle(kBounceBox);
                scene.blurSeparationLoop = 0;
                break;
            case kColorBlur: ChooseLayerColour(); break;
            case kReset: Reset(); break;
            default: break;
        }
    }

private:
    void PressRadialSource(const SourceBox& box) {
        for (const SourceBox& motion : kMotionBoxes) SetCheck(motion.id, false);
        std::int32_t& counter = scene.*box.counter;
        // A source that is on (a loaded scene, say) goes off at the first press.
        if (On(scene.*box.source)) counter = 2;
        else AddPress(counter);
        if (counter == 1) {
            scene.*box.source = 2;
            scene.motionText = scene.motionTextPresses = 0;
            scene.motionStarPresses = scene.motionTilesPresses = 0;
            scene.radialBlurOn = scene.blurActive = 2;
            return;
        }
        scene.*box.source = counter = 0;
        SetCheck(box.id, false);
        // The text is the radial blur's main source: without it the blur ends.
        if (box.id == kRadialText) scene.radialBlurOn = scene.blurActive = 0;
    }

    void PressMotionSource(const SourceBox& box) {
        if (box.id == kMotionText) {
            SetCheck(kMotionTiles, false);
            scene.motionTilesPresses = 0;
        }
        if (box.id == kMotionTiles) {
            SetCheck(kMotionText, false);
            scene.motionTextPresses = 0;
        }
        for (const SourceBox& radial : kRadialBoxes) SetCheck(radial.id, false);
        if (AddPress(scene.*box.counter) == 1) {
            scene.*box.source = 2;
            if (box.id == kMotionText) scene.motionTiles = 0;
            if (box.id == kMotionTiles) scene.motionText = 0;
            for (const SourceBox& radial : kRadialBoxes) scene.*radial.source = scene.*radial.counter = 0;
            scene.motionBlurOn = scene.blurActive = scene.motionBlurSelected = 2;
            scene.radialBlurOn = 0;
            return;
        }
        scene.*box.source = scene.*box.counter = 0;
        SetCheck(box.id, false);
        if (box.id == kMotionText) scene.motionBlurOn = scene.blurActive = 0;
    }

    // A cancelled chooser still recomputes the layer colour from the last
    // chosen one, which replaces the white that "Reset" leaves.
    void ChooseLayerColour() {
        if (auto chosen = CurrentPlatform().ChooseColour(scene.blurLayerColour)) scene.blurLayerColour = *chosen;
        scene.blurLayerRed = RedOf(scene.blurLayerColour);
        scene.blurLayerGreen = GreenOf(scene.blurLayerColour);
        scene.blurLayerBlue = BlueOf(scene.blurLayerColour);
    }

    void Reset() {
        for (const SourceBox& box : kRadialBoxes) ClearSource(box);
        for (const SourceBox& box : kMotionBoxes) ClearSource(box);
        scene.motionParticles = scene.motionParticlesPresses = 0;
        scene.radialButtonPresses = scene.motionButtonPresses = 0;
        SetCheck(kLoop, false);
        SetCheck(kBounce, false);
        scene.blurLoopPresses = scene.blurBouncePresses = 0;
        scene.radialBlurOn = scene.motionBlurOn = scene.blurActive = scene.motionBlurSelected = 0;
        scene.blurSeparationLoop = scene.blurSeparationBounce = scene.blurSeparationFalling = 0;
        // The background sliders keep their places; only the stored copies go.
        scene.blurBackRedSaved = scene.blurBackGreenSaved = scene.blurBackBlueSaved = 0.0f;
        for (int id : {kBackRed, kBackGreen, kBackBlue}) ReadBack(kSliders, id, Side::Live);
        // Drawn as white; the chosen colour itself is kept.
        scene.blurLayerRed = scene.blurLayerGreen = scene.blurLayerBlue = 255.0f;
        for (int id : {kSeparationStart, kSeparationFinish, kSeparationSpeed, kRate, kExtrudeLeft, kExtrudeRight,
                       kExtrudeDown, kExtrudeUp}) {
            SetSlider(id, 0);
            ReadBack(kSliders, id);
        }
        SetSlider(kFadeAlpha, 100);
        ReadBack(kSliders, kFadeAlpha);
    }

    void ClearSource(const SourceBox& box) {
        SetCheck(box.id, false);
        scene.*box.source = scene.*box.counter = 0;
    }
};

}  // namespace

const PanelTemplate& BlurPanelTemplate() { return kTemplate; }
std::unique_ptr<PanelModel> MakeBlurPanel(int instance) { return std::make_unique<BlurPanel>(kTemplate, instance); }

}  // namespace quorbel
