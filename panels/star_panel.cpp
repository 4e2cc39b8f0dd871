// "Star Controls": texture, spin, tilt, zoom run, pattern and pan of the star
// field.
#include <array>

#include "imaging/textures.h"
#include "effects/stars.h"
#include "panels/panel_kinds.h"

namespace quorbel {

namespace {

using S = SceneState;
using K = ControlKind;

enum Id {
    kLoadTexture = 1082, kRotateLeft = 1090, kRotateRight = 1091, kTiltForwards = 1083, kTiltBack = 1084,
    kTiltSpeed = 1035, kTilt = 1092, kZoomStart = 1095, kZoomFinish = 1096, kZoomSpeed = 1097,
    kLoop = 1098, kBounce = 1099, kSpacing = 1086, kSpeed = 1085,
    kPanLeft = 1100, kPanRight = 1101, kPanUp = 1102, kPanDown = 1103,
    kPanLeftSpeed = 1025, kPanRightSpeed = 1026, kPanUpSpeed = 1027, kPanDownSpeed = 1028,
    kPanReset = 1010, kResetDefaults = 1105, kHiddenA = 1036, kHiddenB = 1039, kHiddenC = 1040,
};

constexpr ControlSpec kControls[] = {
    {0, K::GroupBox, "Texture ", {7, 4, 167, 28}},
    {kLoadTexture, K::PushButton, "Load Texture", {14, 14, 60, 13}},
    {0, K::GroupBox, "Tilt", {7, 35, 167, 63}},
    {kRotateLeft, K::CheckBox, "Rotate Left", {14, 46, 68, 10}},
    {kRotateRight, K::CheckBox, "Rotate Right", {90, 46, 72, 10}},
    {kTiltForwards, K::CheckBox, "Tilt Forwards", {14, 58, 70, 10}},
    {kTiltBack, K::CheckBox, "Tilt Back", {90, 58, 60, 10}},
    {0, K::Label, "Speed:", {14, 72, 26, 8}},
    {kTiltSpeed, K::Slider, "", {44, 71, 118, 10}},
    {0, K::Label, "Tilt:", {14, 84, 26, 8}},
    {kTilt, K::Slider, "", {44, 83, 118, 10}},
    {0, K::GroupBox, "Loop / Bounce Zoom", {7, 101, 167, 62}},
    {0, K::Label, "Zoom Start:", {14, 113, 44, 8}},
    {kZoomStart, K::Slider, "", {60, 112, 102, 10}},
    {0, K::Label, "Zoom Finish:", {14, 125, 44, 8}},
    {kZoomFinish, K::Slider, "", {60, 124, 102, 10}},
    {0, K::Label, "Zoom Speed:", {14, 137, 44, 8}},
    {kZoomSpeed, K::Slider, "", {60, 136, 102, 10}},
    {kLoop, K::CheckBox, "Loop", {60, 149, 38, 10}},
    {kBounce, K::CheckBox, "Bounce", {104, 149, 45, 10}},
    {0, K::GroupBox, "Pattern Spacing", {7, 166, 167, 26}},
    {kSpacing, K::Slider, "", {14, 177, 148, 10}},
    {0, K::GroupBox, "Pattern Speed", {7, 195, 167, 26}},
    {kSpeed, K::Slider, "", {14, 206, 148, 10}},
    {0, K::GroupBox, "Pan Stars", {7, 224, 167, 95}},
    {0, K::Label, "Pan Speed", {96, 234, 40, 8}},
    {kPanLeft, K::CheckBox, "Pan Left", {14, 245, 52, 10}},
    {kPanLeftSpeed, K::Slider, "", {68, 244, 94, 10}},
    {kPanRight, K::CheckBox, "Pan Right", {14, 258, 52, 10}},
    {kPanRightSpeed, K::Slider, "", {68, 257, 94, 10}},
    {kPanUp, K::CheckBox, "Pan Up", {14, 271, 52, 10}},
    {kPanUpSpeed, K::Slider, "", {68, 270, 94, 10}},
    {kPanDown, K::CheckBox, "Pan Down", {14, 284, 52, 10}},
    {kPanDownSpeed, K::Slider, "", {68, 283, 94, 10}},
    {kPanReset, K::PushButton, "Reset", {14, 299, 40, 13}},
    {0, K::GroupBox, "Reset", {7, 322, 167, 28}},
    {kResetDefaults, K::PushButton, "Reset Defaults", {14, 333, 64, 13}},
    {kHiddenA, K::Slider, "", {}, true},
    {kHiddenB, K::Slider, "", {}, true},
    {kHiddenC, K::Slider, "", {}, true},
};

constexpr PanelTemplate kTemplate{PanelKind::Stars, 131, "Star Controls", {70, 0, 181, 367}, kControls};

bool Tilting(const S& s) { return s.starTiltDir == 2 || s.starTiltDir == 4; }
bool TiltSlow(const S& s) { return s.starTiltSpeed <= 1.0f; }

// Read in this order: the tilt slider's condition looks at the tilt speed
// just read.
constexpr SliderMapping kSliders[] = {
    When(Tilting, Slider(kTiltSpeed, &S::starTiltSpeed, &S::starTiltSpeedPos)),
    Slider(kSpacing, &S::starSpacing, &S::starSpacingPos),
    Slider(kSpeed, &S::starSpeed, &S::starSpeedPos),
    When(TiltSlow, Slider(kTilt, &S::starFieldTilt, &S::starTiltSaved, Times(4))),
    Slider(kZoomStart, &S::starZoomStart, &S::starZoomStartSaved, Plus(-50)),
    Slider(kZoomFinish, &S::starZoomFinish, &S::starZoomFinishSaved, Plus(-50)),
    Slider(kZoomSpeed, &S::starZoomSpeed, &S::starZoomSpeedPos),
    Slider(kPanLeftSpeed, &S::starPanLeftSpeed, &S::starPanLeftSpeedPos),
    Slider(kPanRightSpeed, &S::starPanRightSpeed, &S::starPanRightSpeedPos),
    Slider(kPanUpSpeed, &S::starPanUpSpeed, &S::starPanUpSpeedPos),
    Slider(kPanDownSpeed, &S::starPanDownSpeed, &S::starPanDownSpeedPos),
};

constexpr ToggleBox kRotateLeftBox{kRotateLeft, &S::starRotateLeftPresses, &S::starSpin, 2, kRotateRight,
                                   &S::starRotateRightPresses};
constexpr ToggleBox kRotateRightBox{kRotateRight, &S::starRotateRightPresses, &S::starSpin, 4, kRotateLeft,
                                    &S::starRotateLeftPresses};
constexpr ToggleBox kTiltForwardsBox{kTiltForwards, &S::starTiltFwdPresses, &S::starTiltDir, 2, kTiltBack,
                                     &S::starTiltBackPresses};
constexpr ToggleBox kTiltBackBox{kTiltBack, &S::starTiltBackPresses, &S::starTiltDir, 4, kTiltForwards,
                                 &S::starTiltFwdPresses};
constexpr ToggleBox kLoopBox{kLoop, &S::starLoopPresses, &S::starZoomLoop, 2, kBounce, &S::starBouncePresses};
constexpr ToggleBox kBounceBox{kBounce, &S::starBouncePresses, &S::starZoomBounce, 2, kLoop, &S::starLoopPresses};
constexpr ToggleBox kPanLeftBox{kPanLeft, &S::starPanLeftPresses, &S::starPanX, 2, kPanRight, &S::starPanRightPresses};
constexpr ToggleBox kPanRightBox{kPanRight, &S::starPanRightPresses, &S::starPanX, 4, kPanLeft, &S::starPanLeftPresses};
constexpr ToggleBox kPanUpBox{kPanUp, &S::starPanUpPresses, &S::starPanY, 2, kPanDown, &S::starPanDownPresses};
constexpr ToggleBox kPanDownBox{kPanDown, &S::starPanDownPresses, &S::starPanY, 4, kPanUp, &S::starPanUpPresses};

constexpr int kPanBoxes[] = {kPanLeft, kPanRight, kPanUp, kPanDown};
constexpr int kPanSpeedSliders[] = {kPanLeftSpeed, kPanRightSpeed, kPanUpSpeed, kPanDownSpeed};

class StarPanel : public PanelModel {
public:
    using PanelModel::PanelModel;

protected:
    void ExchangeData(Exchange) override {
        SetUsed();
        SetHiddenSliders();
        if (On(scene.starPanelRestore)) RestoreLiveValues();
        scene.starPanelRestore = 0;
        PushCopies();
        // The zoom range comes back from its sliders, which puts the field at
        // the start of the range.
        ReadBack(kSliders, kZoomStart, Side::Live);
        ReadBack(kSliders, kZoomFinish, Side::Live);
        scene.starZoomSlidersSet = 2;
        scene.starFieldZ = static_cast<float>(scene.starZoomStart - 30);
        PushStored(kSliders, kZoomSpeed);
        SetCheck(kLoop, scene.starLoopSaved >= 1);
        SetCheck(kBounce, scene.starBounceSaved >= 1);
    }

    void OnSliderMoved() override {
        SetUsed();
        ReadBack(kSliders);
        scene.starFieldZ = static_cast<float>(scene.starZoomStart - 30);
    }

    void OnClick(int id) override {
        switch (id) {
            case kRotateLeft:
            case kRotateRight: PressRotate(id == kRotateLeft ? kRotateLeftBox : kRotateRightBox); break;
            case kTiltForwards:
            case kTiltBack: PressTilt(id == kTiltForwards ? kTiltForwardsBox : kTiltBackBox); break;
            case kLoop: PressZoomRun(kLoopBox, true); break;
            case kBounce: PressZoomRun(kBounceBox, false); break;
            case kPanLeft: PressToggle(kPanLeftBox); scene.starPanXSaved = scene.starPanX; break;
            case kPanRight: PressToggle(kPanRightBox); scene.starPanXSaved = scene.starPanX; break;
            case kPanUp: PressToggle(kPanUpBox); scene.starPanYSaved = scene.starPanY; break;
            case kPanDown: PressToggle(kPanDownBox); scene.starPanYSaved = scene.starPanY; break;
            case kLoadTexture:
                scene.starTexFallback = 0;
                scene.starCustomTex = 2;
                ChooseStarTexture();
                break;
            case kPanReset: PanReset(); break;
            case kResetDefaults: ResetDefaults(); break;
            default: break;
        }
    }

private:
    void SetHiddenSliders() {
        for (int id : {kHiddenA, kHiddenB, kHiddenC}) SetSlider(id, 50);
    }

    // A settings load: the live values come back from their saved copies.
    void RestoreLiveValues() {
        S& s = scene;
        s.starFieldTilt = s.starTiltSaved;
        s.starZoomStart = s.starZoomStartSaved;
        s.starZoomFinish = s.starZoomFinishSaved;
        s.starSpeed = static_cast<float>(s.starSpeedPos);
        s.starSpacing = static_cast<float>(s.starSpacingPos);
        s.starTiltSpeed = static_cast<float>(s.starTiltSpeedPos);
        s.starZoomSpeed = static_cast<float>(s.starZoomSpeedPos);
        s.starPanLeftSpeed = static_cast<float>(s.starPanLeftSpeedPos);
        s.starPanRightSpeed = static_cast<float>(s.starPanRightSpeedPos);
        s.starPanUpSpeed = static_cast<float>(s.starPanUpSpeedPos);
        s.starPanDownSpeed = static_cast<float>(s.starPanDownSpeedPos);
    }

    // The controls show the saved copies; the directions themselves are not
    // restored, only their marks.
    void PushCopies() {
        const S& s = scene;
        for (int id : {kTiltSpeed, kTilt, kSpacing, kSpeed, kZoomStart, kZoomFinish}) PushStored(kSliders, id);
        for (int id : kPanSpeedSliders) PushStored(kSliders, id);
        SetCheck(kTiltForwards, s.starTiltDirSaved == 2);
        SetCheck(kTiltBack, s.starTiltDirSaved == 4);
        SetCheck(kRotateLeft, s.starRotateLeftSaved >= 1);
        SetCheck(kRotateRight, s.starRotateRightSaved >= 1);
        SetCheck(kPanLeft, s.starPanXSaved == 2);
        SetCheck(kPanRight, s.starPanXSaved == 4);
        SetCheck(kPanUp, s.starPanYSaved == 2);
        SetCheck(kPanDown, s.starPanYSaved == 4);
    }

    // The saved copies of the spin are the press counters.
    void PressRotate(const ToggleBox& box) {
        PressToggle(box);
        const bool left = box.id == kRotateLeft;
        (left ? scene.starRotateLeftSaved : scene.starRotateRightSaved) = scene.*box.counter;
        (left ? scene.starRotateRightSaved : scene.starRotateLeftSaved) = 0;
    }

    // Stopping the tilt also drops its speed, so the next tilt waits for the
    // speed slider.
    void PressTilt(const ToggleBox& box) {
        if (!PressToggle(box)) scene.starTiltSpeed = 0.0f;
        scene.starTiltDirSaved = scene.starTiltDir;
    }

    void PressZoomRun(const ToggleBox& box, bool loop) {
        if (PressToggle(box)) {
            if (loop) {
                scene.starZoomBounce = scene.starZoomBounceDir = 0;
            } else {
                scene.starZoomBounceDir = 2;
                scene.starZoomLoop = 0;
            }
        }
        (loop ? scene.starLoopSaved : scene.starBounceSaved) = scene.*box.counter;
        (loop ? scene.starBounceSaved : scene.starLoopSaved) = 0;
    }

    // The pan stops and the field comes back to the middle; the pan speeds
    // keep their values until a slider next moves.
    void PanReset() {
        S& s = scene;
        s.starFieldX = s.starFieldY = 0.0f;
        s.starPanLeftSpeedPos = s.starPanRightSpeedPos = s.starPanUpSpeedPos = s.starPanDownSpeedPos = 0;
        s.starPanX = s.starPanY = 0;
        for (int id : kPanSpeedSliders) SetSlider(id, 0);
        s.starPanLeftPresses = s.starPanRightPresses = s.starPanUpPresses = s.starPanDownPresses = 0;
        s.starPanXSaved = s.starPanYSaved = 0;
        for (int id : kPanBoxes) SetCheck(id, false);
    }

    void ResetDefaults() {
        S& s = scene;
        s.starTiltSpeed = s.starTiltSaved = s.starFieldTilt = 0.0f;
        s.starTiltDirSaved = s.starTiltDir = 0;
        s.starTiltFwdPresses = s.starTiltBackPresses = 0;
        s.starCustomTex = 0;
        ResetStars();
        ZeroMotion();
        ZeroCopies();
        for (int id : {kHiddenA, kHiddenB, kHiddenC, kZoomStart}) SetSlider(id, 50);
        // From the (now zero) copies; Zoom Finish stays where it is.
        for (int id : {kTiltSpeed, kTilt, kSpacing, kSpeed, kZoomSpeed}) PushStored(kSliders, id);
        for (int id : kPanSpeedSliders) PushStored(kSliders, id);
        s.starZoomSlidersSet = 2;
        for (int id : {kBounce, kLoop, kPanUp, kPanDown, kPanRight, kPanLeft, kRotateRight, kRotateLeft, kTiltBack,
                       kTiltForwards})
            SetCheck(id, false);
        s.starSpin = 2;
        s.starFieldZ = static_cast<float>(s.starZoomStart - 30);
    }

    // Pan, zoom and speed stop; the spacing is kept.
    void ZeroMotion() {
        S& s = scene;
        s.starFieldX = s.starFieldY = 0.0f;
        s.starSpeed = 0.0f;
        s.starPanLeftSpeed = s.starPanRightSpeed = s.starPanUpSpeed = s.starPanDownSpeed = 0.0f;
        s.starPanX = s.starPanY = 0;
        s.starZoomSpeed = 0.0f;
        s.starZoomLoop = s.starZoomBounce = s.starZoomBounceDir = 0;
        s.starLoopPresses = s.starBouncePresses = 0;
        s.starPanLeftPresses = s.starPanRightPresses = s.starPanUpPresses = s.starPanDownPresses = 0;
        s.starRotateLeftPresses = s.starRotateRightPresses = 0;
        s.starZoomStart = s.starZoomFinish = 0;
    }

    void ZeroCopies() {
        S& s = scene;
        s.starSpeedPos = s.starSpacingPos = s.starTiltSpeedPos = 0;
        s.starTiltSaved = 0.0f;
        s.starTiltDirSaved = s.starRotateLeftSaved = s.starRotateRightSaved = 0;
        s.starPanXSaved = s.starPanYSaved = 0;
        s.starPanLeftSpeedPos = s.starPanRightSpeedPos = s.starPanUpSpeedPos = s.starPanDownSpeedPos = 0;
        s.starZoomStartSaved = s.starZoomFinishSaved = s.starZoomSpeedPos = 0;
        s.starLoopSaved = s.starBounceSaved = 0;
        s.starZoomSlidersSet = 0;
    }
};

}  // namespace

const PanelTemplate& StarPanelTemplate() { return kTemplate; }
std::unique_ptr<PanelModel> MakeStarPanel(int instance) { return std::make_unique<StarPanel>(kTemplate, instance); }

}  // namespace quorbel
