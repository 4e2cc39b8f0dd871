// "Text Controls": the title, its font, style, spin, zoom, loop or bounce
// zoom, pan and extrusion depth.
#include <array>
#include <cmath>
#include <string>

#include "effects/text.h"
#include "imaging/textures.h"
#include "panels/panel_kinds.h"
#include "panels/panel_registry.h"
#include "scene/title_text.h"

namespace quorbel {

namespace {

using S = SceneState;
using K = ControlKind;

enum Id {
    kTitle = 1002, kChangeFont = 1081, kChrome = 1060, kGlass = 1061, kTextured = 1062, kSingleColour = 1029,
    kWireframe = 1030, kLoadTexture = 1066, kChangeColour = 1067,
    kSpinXBox = 1008, kSpinYBox = 1011, kSpinZBox = 1013, kSpinXSpeed = 1014, kSpinYSpeed = 1015, kSpinZSpeed = 1016,
    kStart = 1076, kEnd = 1077, kStep = 1079, kLoop = 1031, kBounce = 1009,
    kZoomIn = 1017, kZoomOut = 1018, kZoomSpeed = 1019,
    kPanLeft = 1021, kPanRight = 1022, kPanUp = 1023, kPanDown = 1024,
    kPanLeftSpeed = 1025, kPanRightSpeed = 1026, kPanUpSpeed = 1027, kPanDownSpeed = 1028,
    kPanReset = 1010, kResetDefaults = 1088, kDepth = 1000, kDepthOk = 1078,
};

constexpr ControlSpec kControls[] = {
    {0, K::GroupBox, "Edit Text", {7, 3, 113, 28}},
    {kTitle, K::EditBox, "", {13, 13, 101, 13}},
    {0, K::GroupBox, "Select Font", {7, 34, 113, 28}},
    {kChangeFont, K::PushButton, "Change Font", {13, 44, 60, 13}},
    {0, K::GroupBox, "Texture/Colour", {7, 65, 113, 28}},
    {kLoadTexture, K::PushButton, "Load Texture", {13, 75, 50, 13}},
    {kChangeColour, K::PushButton, "Change Colour", {65, 75, 52, 13}},
    {0, K::GroupBox, "Extrude Text", {7, 96, 113, 28}},
    {kDepth, K::NumberField, "", {13, 106, 40, 13}},
    {kDepthOk, K::PushButton, "OK", {58, 106, 30, 13}},
    {0, K::GroupBox, "Text Style", {124, 3, 90, 72}},
    {kChrome, K::RadioButton, "Chrome", {130, 14, 70, 10}},
    {kGlass, K::RadioButton, "Glass", {130, 26, 70, 10}},
    {kTextured, K::RadioButton, "Textured", {130, 38, 70, 10}},
    {kSingleColour, K::RadioButton, "Single Colour", {130, 50, 78, 10}},
    {kWireframe, K::CheckBox, "Wireframe", {130, 62, 70, 10}},
    {0, K::GroupBox, "Reset ", {124, 78, 90, 28}},
    {kResetDefaults, K::PushButton, "Reset Defaults", {130, 88, 64, 13}},
    {0, K::GroupBox, "Rotation Speed", {218, 3, 127, 52}},
    {kSpinXBox, K::CheckBox, "X Speed", {224, 14, 42, 10}},
    {0, K::Label, "-", {268, 15, 5, 8}},
    {kSpinXSpeed, K::Slider, "", {274, 14, 60, 10}},
    {0, K::Label, "+", {336, 15, 6, 8}},
    {kSpinYBox, K::CheckBox, "Y Speed", {224, 27, 42, 10}},
    {0, K::Label, "-", {268, 28, 5, 8}},
    {kSpinYSpeed, K::Slider, "", {274, 27, 60, 10}},
    {0, K::Label, "+", {336, 28, 6, 8}},
    {kSpinZBox, K::CheckBox, "Z Speed", {224, 40, 42, 10}},
    {0, K::Label, "-", {268, 41, 5, 8}},
    {kSpinZSpeed, K::Slider, "", {274, 40, 60, 10}},
    {0, K::Label, "+", {336, 41, 6, 8}},
    {0, K::GroupBox, "Loop / Bounce Zoom", {218, 58, 127, 62}},
    {0, K::Label, "Start", {224, 69, 24, 8}},
    {kStart, K::Slider, "", {250, 68, 88, 10}},
    {0, K::Label, "End", {224, 81, 24, 8}},
    {kEnd, K::Slider, "", {250, 80, 88, 10}},
    {0, K::Label, "Speed", {224, 93, 24, 8}},
    {kStep, K::Slider, "", {250, 92, 88, 10}},
    {kLoop, K::CheckBox, "Loop", {250, 105, 36, 10}},
    {kBounce, K::CheckBox, "Bounce", {290, 105, 44, 10}},
    {0, K::GroupBox, "Zoom Text", {349, 3, 121, 42}},
    {kZoomIn, K::CheckBox, "Zoom In", {355, 14, 46, 10}},
    {kZoomOut, K::CheckBox, "Zoom Out", {405, 14, 52, 10}},
    {0, K::Label, "Zoom Speed", {355, 29, 42, 8}},
    {kZoomSpeed, K::Slider, "", {398, 28, 66, 10}},
    {0, K::GroupBox, "Pan Text", {349, 48, 121, 82}},
    {0, K::Label, "Pan Speed", {410, 57, 40, 8}},
    {kPanLeft, K::CheckBox, "Pan Left", {355, 66, 46, 10}},
    {kPanLeftSpeed, K::Slider, "", {402, 65, 62, 10}},
    {kPanRight, K::CheckBox, "Pan Right", {355, 78, 46, 10}},
    {kPanRightSpeed, K::Slider, "", {402, 77, 62, 10}},
    {kPanUp, K::CheckBox, "Pan Up", {355, 90, 46, 10}},
    {kPanUpSpeed, K::Slider, "", {402, 89, 62, 10}},
    {kPanDown, K::CheckBox, "Pan Down", {355, 102, 46, 10}},
    {kPanDownSpeed, K::Slider, "", {402, 101, 62, 10}},
    {kPanReset, K::PushButton, "Pan Reset", {355, 114, 46, 13}},
};

constexpr PanelTemplate kTemplate{PanelKind::Text, 130, "Text Controls", {50, 0, 477, 135}, kControls};

// Spin -10 to 10 with 0 in the middle; the rest are plain positions. Start
// and End depend on the mouse zoom and are read in code.
constexpr SliderMapping kSliders[] = {
    Slider(kSpinXSpeed, &S::textSpinSpeedY, &S::textSpinSpeedYSaved, DividedBy(5, -10)),
    Slider(kSpinYSpeed, &S::textSpinSpeedX, &S::textSpinSpeedXSaved, DividedBy(5, -10)),
    Slider(kSpinZSpeed, &S::textSpinSpeedZ, &S::textSpinSpeedZSaved, DividedBy(5, -10)),
    Slider(kZoomSpeed, &S::textZoomSpeed, &S::textZoomSpeedSaved),
    Slider(kPanLeftSpeed, &S::textPanLeftSpeed, &S::textPanLeftSpeedSaved),
    Slider(kPanRightSpeed, &S::textPanRightSpeed, &S::textPanRightSpeedSaved),
    Slider(kPanUpSpeed, &S::textPanUpSpeed, &S::textPanUpSpeedSaved),
    Slider(kPanDownSpeed, &S::textPanDownSpeed, &S::textPanDownSpeedSaved),
    Slider(kStep, &S::textLoopStep, &S::textLoopStepSaved),
};

// The motion boxes: the toggle, and the check state kept for the settings
// file (the box's own and its partner's).
struct MotionBox {
    ToggleBox toggle;
    std::int32_t S::*checked;
    std::int32_t S::*partnerChecked;
};
constexpr std::array<MotionBox, 11> kMotionBoxes = {{
    {{kSpinXBox, &S::textSpinYPresses, &S::textSpinY, 2}, &S::textSpinYChecked, nullptr},
    {{kSpinYBox, &S::textSpinXPresses, &S::textSpinX, 2}, &S::textSpinXChecked, nullptr},
    {{kSpinZBox, &S::textSpinZPresses, &S::textSpinZ, 2}, &S::textSpinZChecked, nullptr},
    {{kZoomIn, &S::textZoomInPresses, &S::textZoomDir, 2, kZoomOut, &S::textZoomOutPresses}, &S::textZoomInChecked,
     &S::textZoomOutChecked},
    {{kZoomOut, &S::textZoomOutPresses, &S::textZoomDir, 4, kZoomIn, &S::textZoomInPresses}, &S::textZoomOutChecked,
     &S::textZoomInChecked},
    {{kPanLeft, &S::textPanLeftPresses, &S::textPanH, 2, kPanRight, &S::textPanRightPresses}, &S::textPanLeftChecked,
     &S::textPanRightChecked},
    {{kPanRight, &S::textPanRightPresses, &S::textPanH, 4, kPanLeft, &S::textPanLeftPresses}, &S::textPanRightChecked,
     &S::textPanLeftChecked},
    {{kPanUp, &S::textPanUpPresses, &S::textPanV, 2, kPanDown, &S::textPanDownPresses}, &S::textPanUpChecked,
     &S::textPanDownChecked},
    {{kPanDown, &S::textPanDownPresses, &S::textPanV, 4, kPanUp, &S::textPanUpPresses}, &S::textPanDownChecked,
     &S::textPanUpChecked},
    {{kLoop, &S::textLoopPresses, &S::textZoomCycle, 2, kBounce, &S::textBouncePresses}, nullptr, nullptr},
    {{kBounce, &S::textBouncePresses, &S::textZoomCycle, 4, kLoop, &S::textLoopPresses}, nullptr, nullptr},
}};

constexpr int kPanBoxes[] = {kPanLeft, kPanRight, kPanUp, kPanDown};
constexpr int kPanSpeedSliders[] = {kPanLeftSpeed, kPanRightSpeed, kPanUpSpeed, kPanDownSpeed};
constexpr int kStartOffset = 65;  // Start and End position 65 is depth 0
constexpr float kDepthBoxScale = 0.1f;
constexpr const char* kDefaultTextTexture = "Data/Reflectings.bmp";

const MotionBox* FindMotionBox(int id) {
    for (const MotionBox& box : kMotionBoxes)
        if (box.toggle.id == id) return &box;
    return nullptr;
}

class TextPanel : public PanelModel {
public:
    using PanelModel::PanelModel;

protected:
    void ExchangeData(Exchange direction) override {
        SetUsed();
        if (direction == Exchange::Load) LoadFields();
        else TakeDepth();
        LoadStyleMarks();
        LoadMotion();
        LoadZoomRange();
        // A new panel shows the current font and depth: the glyphs follow.
        if (direction == Exchange::Load) BuildTextFont();
    }

    void OnSliderMoved() override {
        SetUsed();
        ReadBack(kSliders);
        ReadZoomRange();
    }

    void OnTextChanged(int id) override {
        if (id == kTitle) TakeTitle();
        if (id == kDepth) TakeDepth();
    }

    void OnClick(int id) override {
        if (const MotionBox* box = FindMotionBox(id)) return PressMotion(*box);
        switch (id) {
            case kChrome: ChooseStyle(ApplyChromeStyle, 0, 0, 0); break;
            case kGlass: ChooseStyle(ApplyGlassStyle, 2, 2, 0); break;
            case kTextured: ChooseStyle(ApplyTexturedStyle, 2, 0, 2); break;
            case kSingleColour: ChooseStyle(ApplySingleColourStyle, 2, 0, 0); break;
            case kChangeColour: ApplyChangeColourStyle(); break;
            case kChangeFont: ChangeFont(); break;
            case kWireframe: PressWireframe(); break;
            case kLoadTexture: LoadTexture(); break;
            case kDepthOk: BuildTextFont(); break;
            case kPanReset: PanReset(); break;
            case kResetDefaults: ResetDefaults(); break;
            default: break;
        }
    }

private:
    // The title and the depth box. Until the user types a depth, the depth
    // is the box's default 20.
    void LoadFields() {
        SetText(kTitle, std::string(scene.titleText.view()));
        if (!On(scene.textDepthSet)) scene.textDepth = 2.0f;
        SetText(kDepth, std::to_string(WholePart(std::round(scene.textDepth / kDepthBoxScale))));
    }

    // A title over the limit is refused whole and the box shows the title
    // again: cutting it would silently drop what was typed, wherever that was.
    void TakeTitle() {
        const std::string title = TitleFromText(FieldText(kTitle));
        if (FitsInTitle(title)) scene.titleText.Assign(title);
        SetText(kTitle, std::string(scene.titleText.view()));
    }

    void TakeDepth() {
        if (std::optional<std::int32_t> box = ReadNumber(kDepth)) {
            scene.textDepth = static_cast<float>(*box) * kDepthBoxScale;
            scene.textDepthSet = 2;
        }
    }

    void LoadStyleMarks() {
        SetCheck(kChrome, !On(scene.textStyleMarked));
        SetCheck(kGlass, On(scene.textGlassMarked));
        SetCheck(kTextured, On(scene.textTexturedMarked));
        SetCheck(kWireframe, On(scene.textWireframe));
    }

    // Sliders from the saved copies, boxes from the saved check states; the
    // Y and Z spins come back on with their boxes.
    void LoadMotion() {
        for (int id : {kSpinXSpeed, kSpinYSpeed, kSpinZSpeed}) {
            PushStored(kSliders, id);
            ReadBack(kSliders, id, Side::Live);
        }
        for (const MotionBox& box : kMotionBoxes)
            if (box.checked) SetCheck(box.toggle.id, scene.*box.checked != 0);
        if (scene.textSpinXChecked != 0) scene.textSpinX = 2;
        if (scene.textSpinZChecked != 0) scene.textSpinZ = 2;
        SetSlider(kZoomSpeed, ClampedPosition(scene.textZoomSpeedSaved * 11.0));
        scene.textZoomSpeed = static_cast<float>(Slider(kZoomSpeed) / 10);
        for (int id : kPanSpeedSliders) {
            PushStored(kSliders, id);
            ReadBack(kSliders, id, Side::Live);
        }
        SetCheck(kLoop, scene.textLoopPresses >= 1);
        SetCheck(kBounce, scene.textBouncePresses >= 1);
    }

    // The zoom range comes back from its sliders, widened by the mouse zoom;
    // the text stays where it is.
    void LoadZoomRange() {
        SetSlider(kStep, ClampedPosition(scene.textLoopStepSaved));
        SetSlider(kStart, ClampedPosition(scene.textZoomStartSaved + 50.0));
        SetSlider(kEnd, ClampedPosition(scene.textZoomEndSaved));
        scene.textZoomStart = WholePart(Slider(kStart) + scene.textMouseZoom - kStartOffset);
        scene.textZoomEnd = Slider(kEnd) - scene.textMouseZoom - kStartOffset;
        ReadBack(kSliders, kStep);
    }

    // Every slider move puts the text at the start of the zoom range.
    void ReadZoomRange() {
        const int start = Slider(kStart), end = Slider(kEnd);
        if (On(scene.textMouseZoomUsed)) {
            scene.textPosZ = start + scene.textMouseZoom - kStartOffset;
            scene.textZoomStart = WholePart(scene.textPosZ);
            scene.textZoomEnd = end - scene.textMouseZoom - kStartOffset;
        } else {
            scene.textPosZ = static_cast<float>(start - kStartOffset);
            scene.textZoomStart = start - kStartOffset;
            scene.textZoomEnd = static_cast<float>(end - kStartOffset);
        }
        scene.textZoomStartSaved = WholePart(scene.textPosZ + 15.0);
        scene.textZoomEndSaved = end;
    }

    void PressMotion(const MotionBox& box) {
        const bool on = PressToggle(box.toggle);
        if (box.checked) scene.*box.checked = scene.*box.toggle.counter;
        if (box.partnerChecked) scene.*box.partnerChecked = 0;
        if (box.toggle.id == kSpinYBox) scene.textSpinXSaved = scene.textSpinX;
        if (box.toggle.id == kBounce && on) scene.textBounceDir = 2;
    }

    // The marks say which style the next panel shows checked.
    static void ChooseStyle(void (*apply)(), std::int32_t styled, std::int32_t glass, std::int32_t textured) {
        apply();
        scene.textStyleMarked = styled;
        scene.textGlassMarked = glass;
        scene.textTexturedMarked = textured;
    }

    // Whether the user chooses or cancels, the glyphs are rebuilt.
    void ChangeFont() {
        FontChoice current{std::string(scene.textFontFace.view()), scene.textFontWeight, scene.textFontItalic == 1};
        if (std::optional<FontChoice> chosen = CurrentPlatform().ChooseFont(current)) {
            scene.textFontFace.Assign(chosen->face);
            scene.textFontWeight = chosen->weight;
            scene.textFontItalic = chosen->italic ? 1 : 0;
        }
        BuildTextFont();
    }

    void PressWireframe() {
        if (NextCycle(scene.textWireframe) < 2) SetCheck(kWireframe, false);
        scene.textOutlinesBuilt = 2;
        BuildTextFont();
    }

    void LoadTexture() {
        scene.textUserTexture = scene.textStyleMarked = 2;
        scene.textSingleColour = 0;
        if (!IsChecked(kTextured)) {
            scene.textTextured = scene.textGlass = scene.textGlassReflect = 0;
            ChooseTextTexture();
            scene.textTextured = 2;
            scene.textTexGenMode = 4;
        } else {
            scene.textTextured = 2;
            ChooseTextTexture();
            scene.textGlass = 0;
            scene.textTexGenMode = 2;
        }
    }

    // The pan stops and the text comes back to the middle; the pan
    // directions keep their values until a pan box is used again.
    void PanReset() {
        scene.textPosX = scene.textPosY = 0.0f;
        for (const MotionBox& box : kMotionBoxes) {
            if (!IsPanBox(box.toggle.id)) continue;
            scene.*box.toggle.counter = scene.*box.checked = 0;
            SetCheck(box.toggle.id, false);
        }
        for (int id : kPanSpeedSliders) SetSlider(id, 0);
        ReadBackPanSpeeds();
    }

    static bool IsPanBox(int id) {
        for (int pan : kPanBoxes)
            if (pan == id) return true;
        return false;
    }

    void ReadBackPanSpeeds() {
        for (int id : kPanSpeedSliders) ReadBack(kSliders, id);
    }

    void ResetDefaults();
    void ClearMotion();
};

void TextPanel::ClearMotion() {
    for (const MotionBox& box : kMotionBoxes) {
        scene.*box.toggle.counter = 0;
        if (box.checked) scene.*box.checked = 0;
        SetCheck(box.toggle.id, false);
    }
    scene.textSpinX = scene.textSpinY = scene.textSpinZ = scene.textZoomDir = 0;
    scene.textSpinXSaved = 0;
    scene.textZoomCycle = scene.textBounceDir = 0;
    scene.textLoopStep = 0.0f;
    scene.textZoomStartSaved = scene.textZoomEndSaved = scene.textLoopStepSaved = 0;
    for (int id : {kSpinXSpeed, kSpinYSpeed, kSpinZSpeed}) SetSlider(id, 50);
    for (int id : {kZoomSpeed, kStep, kEnd}) SetSlider(id, 0);
    for (int id : kPanSpeedSliders) SetSlider(id, 0);
    SetSlider(kStart, 50);
    ReadBack(kSliders);
}

void TextPanel::ResetDefaults() {
    scene.radialBlurOn = 0;
    scene.textWhiteRequest = 2;
    scene.textColourMode = scene.textSingleColour = scene.textColourApply = 0;
    ClearMotion();
    scene.textMouseZoom = 0.0f;
    scene.textDepth = 2.0f;
    scene.textDepthSet = scene.textOutlinesBuilt = 0;
    ChooseStyle(ApplyChromeStyle, 0, 0, 0);
    SetCheck(kChrome, true);
    for (int id : {kGlass, kTextured, kSingleColour, kWireframe}) SetCheck(id, false);
    scene.textWireframe = 1;
    scene.textPosX = scene.textPosY = 0.0f;
    scene.textAngleX = scene.textAngleY = scene.textAngleZ = 0.0f;
    scene.textFontFace.Assign("Arial Black");
    scene.textFontWeight = 400;
    scene.textFontItalic = 0;
    scene.textPosZ = -10.0f;
    BuildTextFont();
    // Looks refreshed: a new panel opens over this one.
    CreatePanel(PanelKind::Text);
    scene.textTextured = scene.textUserTexture = scene.textTexturedStyle = 0;
    scene.textPosZ = Slider(kStart) - kStartOffset + scene.textMouseZoom;
    LoadTextTexture(kDefaultTextTexture);
}

}  // namespace

const PanelTemplate& TextPanelTemplate() { return kTemplate; }
std::unique_ptr<PanelModel> MakeTextPanel(int instance) { return std::make_unique<TextPanel>(kTemplate, instance); }

}  // namespace quorbel
