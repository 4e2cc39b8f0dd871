// "Fire": the size, direction, stretch, wobble, life and colour of the fire.
#include <array>
#include <utility>

#include "imaging/textures.h"
#include "panels/panel_kinds.h"

namespace quorbel {

namespace {

using S = SceneState;
using K = ControlKind;

enum Id {
    kSizeX = 1077, kSizeY = 1076, kLeftRight = 1079, kUpDown = 1124, kInOut = 1125,
    kStretchLeft = 1126, kStretchRight = 1127, kStretchUp = 1128, kStretchDown = 1129, kZoom = 1140,
    kWobbleX = 1130, kWobbleY = 1131, kLife = 1132,
    kRed = 1134, kGreen = 1135, kBlue = 1136, kRotate = 1137, kRotateSpeed = 1142,
    kReset = 1010, kLoadBmp = 1078,
};

constexpr ControlSpec kControls[] = {
    {0, K::GroupBox, "Size", {7, 7, 153, 41}},
    {0, K::Label, "X", {32, 19, 12, 9}},
    {kSizeX, K::Slider, "", {50, 18, 93, 10}},
    {0, K::Label, "Y", {32, 31, 10, 9}},
    {kSizeY, K::Slider, "", {50, 30, 93, 10}},
    {0, K::GroupBox, "Direction", {7, 50, 154, 48}},
    {0, K::Label, "Left / Right", {12, 59, 36, 10}},
    {kLeftRight, K::Slider, "", {53, 60, 93, 10}},
    {0, K::Label, "Up / Down", {12, 71, 42, 10}},
    {kUpDown, K::Slider, "", {53, 72, 93, 9}},
    {0, K::Label, "In / Out", {13, 81, 38, 11}},
    {kInOut, K::Slider, "", {53, 82, 93, 10}},
    {0, K::GroupBox, "Stretch", {7, 101, 154, 61}},
    {0, K::Label, "X-Left", {14, 110, 21, 8}},
    {kStretchLeft, K::Slider, "", {54, 108, 88, 10}},
    {0, K::Label, "X-Right", {14, 120, 21, 8}},
    {kStretchRight, K::Slider, "", {54, 118, 88, 10}},
    {0, K::Label, "Y-Up", {14, 130, 23, 9}},
    {kStretchUp, K::Slider, "", {54, 129, 88, 9}},
    {0, K::Label, "Y-Down", {14, 139, 26, 10}},
    {kStretchDown, K::Slider, "", {54, 139, 88, 10}},
    {0, K::Label, "Zoom", {15, 148, 29, 8}},
    {kZoom, K::Slider, "", {54, 149, 88, 10}},
    {0, K::GroupBox, "Triganomics", {7, 168, 154, 41}},
    {0, K::Label, "Left / Right", {11, 176, 46, 8}},
    {kWobbleX, K::Slider, "", {53, 175, 87, 9}},
    {0, K::Label, "Up / Down", {11, 186, 39, 9}},
    {kWobbleY, K::Slider, "", {53, 185, 87, 10}},
    {0, K::Label, "Particle Life", {11, 195, 38, 9}},
    {kLife, K::Slider, "", {53, 196, 87, 9}},
    {0, K::GroupBox, "Color", {7, 212, 154, 49}},
    {0, K::Label, "Red", {11, 220, 18, 9}},
    {kRed, K::Slider, "", {37, 219, 88, 10}},
    {0, K::Label, "Green", {11, 229, 25, 8}},
    {kGreen, K::Slider, "", {37, 229, 88, 10}},
    {0, K::Label, "Blue", {11, 238, 21, 8}},
    {kBlue, K::Slider, "", {37, 239, 88, 9}},
    {0, K::Label, "Rotate", {129, 223, 29, 8}},
    {kRotate, K::CheckBox, "", {135, 233, 10, 9}},
    {0, K::Label, "Speed", {11, 246, 26, 8}},
    {kRotateSpeed, K::Slider, "", {37, 248, 88, 9}},
    {kReset, K::PushButton, "Reset", {125, 265, 36, 13}},
    {kLoadBmp, K::PushButton, "Load bmp", {25, 266, 39, 13}},
};

constexpr PanelTemplate kTemplate{PanelKind::Fire, 138, "Fire", {20, 0, 174, 302}, kControls};

// Live value, then stored copy; the colours store their offset from the
// slider's default place.
constexpr SliderMapping kSliders[] = {
    Slider(kSizeX, &S::fireSizeBottom, &S::fireSizeBottomSaved, Plus(-50)),
    Slider(kSizeY, &S::fireSizeTop, &S::fireSizeTopSaved, Plus(-50)),
    Slider(kLeftRight, &S::fireDirX, &S::fireDirXSaved, Plus(-50)),
    Slider(kUpDown, &S::fireDirY, &S::fireDirYSaved, Plus(-45)),
    Slider(kInOut, &S::fireDirZ, &S::fireDirZSaved, Plus(-50)),
    Slider(kStretchLeft, &S::fireStretchLeft, &S::fireStretchLeftSaved),
    Slider(kStretchRight, &S::fireStretchRight, &S::fireStretchRightSaved),
    Slider(kStretchUp, &S::fireStretchUp, &S::fireStretchUpSaved),
    Slider(kStretchDown, &S::fireStretchDown, &S::fireStretchDownSaved),
    Slider(kZoom, &S::fireZoom, &S::fireZoomSaved, Plus(-50)),
    Slider(kWobbleX, &S::fireWobbleFreqX, &S::fireWobbleFreqXSaved),
    Slider(kWobbleY, &S::fireWobbleFreqY, &S::fireWobbleFreqYSaved),
    Slider(kLife, &S::fireLife, &S::fireLifeSaved, Plus(-50)),
    Slider(kRed, &S::fireRed, kSame, &S::fireRedSaved, Plus(-50)),
    Slider(kGreen, &S::fireGreen, kSame, &S::fireGreenSaved, Plus(-30)),
    Slider(kBlue, &S::fireBlue, kSame, &S::fireBlueSaved, Plus(-20)),
    Slider(kRotateSpeed, &S::fireRotateSpeed, &S::fireRotateSpeedSaved),
};

constexpr ToggleBox kRotateBox{kRotate, &S::fireRotatePresses, &S::fireColourRotate, 2};

// Where "Reset" puts each slider: the middle for the signed values, the
// default colour for the colours, the start for the rest.
constexpr std::pair<int, int> kResetPositions[] = {
    {kSizeX, 50}, {kSizeY, 50}, {kLeftRight, 50}, {kUpDown, 50}, {kInOut, 50}, {kZoom, 50}, {kLife, 50},
    {kStretchLeft, 0}, {kStretchRight, 0}, {kStretchUp, 0}, {kStretchDown, 0}, {kWobbleX, 0}, {kWobbleY, 0},
    {kRed, 50}, {kGreen, 30}, {kBlue, 20}, {kRotateSpeed, 0},
};

class FirePanel : public PanelModel {
public:
    using PanelModel::PanelModel;

protected:
    void ExchangeData(Exchange) override {
        SetUsed();
        SetCheck(kRotate, scene.fireRotatePresses >= 1);
        PushStored(kSliders);
        // Every live value follows its slider, so a stored value out of the
        // slider's reach comes back within it.
        ReadBack(kSliders, Side::Live);
    }

    void OnSliderMoved() override {
        SetUsed();
        ReadBack(kSliders);
    }

    void OnClick(int id) override {
        switch (id) {
            case kRotate: PressToggle(kRotateBox); break;
            case kLoadBmp:
                scene.fireCustomTex = 2;
                ChooseFireTexture();
                break;
            case kReset: Reset(); break;
            default: break;
        }
    }

private:
    void Reset() {
        scene.fireEmitX = scene.fireEmitY = 0.2f;
        scene.fireWobbleTimeX = scene.fireWobbleTimeY = 0.0f;
        scene.fireX = scene.fireY = 0.0f;
        // The fire's own start values, which the sliders do not reach until
        // one of them moves.
        scene.fireSizeTop = 0.011f;
        scene.fireSizeBottom = 0.015f;
        scene.fireDirX = scene.fireDirZ = 0.01f;
        scene.fireLife = 5.0f;
        scene.fireStretchLeft = scene.fireStretchRight = scene.fireStretchUp = scene.fireStretchDown = 0.0f;
        scene.fireWobbleFreqX = scene.fireWobbleFreqY = scene.fireZoom = 0.0f;
        for (const SliderMapping& row : kSliders) row.stored.Set(scene, 0);
        for (auto [id, position] : kResetPositions) SetSlider(id, position);
        // The default fire rises: Up / Down's middle is a direction of 5.
        ReadBack(kSliders, kUpDown);
        for (int colour : {kRed, kGreen, kBlue}) ReadBack(kSliders, colour, Side::Live);
        scene.fireColourRotate = scene.fireRotatePresses = 0;
        SetCheck(kRotate, false);
        scene.fireRotateSpeed = 0.0f;
        scene.firePanelSpare = 0;
    }
};

}  // namespace

const PanelTemplate& FirePanelTemplate() { return kTemplate; }
std::unique_ptr<PanelModel> MakeFirePanel(int instance) { return std::make_unique<FirePanel>(kTemplate, instance); }

}  // namespace quorbel
