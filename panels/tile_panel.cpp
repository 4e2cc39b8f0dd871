// "Tile Texture Controls": two identical halves, one per tile layer, for its
// texture, tint, visibility, blending, rotation, zoom and pan.
#include <array>

#include "imaging/textures.h"
#include "panels/panel_kinds.h"

namespace quorbel {

namespace {

using S = SceneState;
using K = ControlKind;

enum Id {
    kOpen1 = 1010, kTint1 = 1080, kVisible1 = 1112, kTransparent1 = 1113, kLeft1 = 1115, kRight1 = 1116,
    kSpeed1 = 1076, kZoom1 = 1079, kPanUp1 = 1117, kPanDown1 = 1118, kPanRight1 = 1119, kPanLeft1 = 1120,
    kPanUpSpeed1 = 1025, kPanDownSpeed1 = 1026, kPanRightSpeed1 = 1027, kPanLeftSpeed1 = 1028,
    kOpen2 = 1078, kTint2 = 1111, kVisible2 = 1114, kTransparent2 = 1014, kLeft2 = 1009, kRight2 = 1012,
    kSpeed2 = 1077, kZoom2 = 1122, kPanUp2 = 1038, kPanDown2 = 1039, kPanRight2 = 1040, kPanLeft2 = 1041,
    kPanUpSpeed2 = 1042, kPanDownSpeed2 = 1043, kPanRightSpeed2 = 1044, kPanLeftSpeed2 = 1045,
    kReset = 1123,
};

constexpr ControlSpec kControls[] = {
    {0, K::GroupBox, "Texture One", {7, 3, 167, 170}},
    {kOpen1, K::PushButton, "Open Texture", {14, 14, 62, 13}},
    {kTint1, K::PushButton, "Tint Texture", {90, 14, 62, 13}},
    {kVisible1, K::CheckBox, "Visible", {14, 31, 50, 10}},
    {kTransparent1, K::CheckBox, "Transparent", {90, 31, 64, 10}},
    {0, K::GroupBox, "Rotate / Zoom", {11, 44, 159, 50}},
    {kLeft1, K::CheckBox, "Left", {17, 55, 38, 10}},
    {kRight1, K::CheckBox, "Right", {60, 55, 40, 10}},
    {0, K::Label, "Speed", {17, 69, 30, 8}},
    {kSpeed1, K::Slider, "", {50, 68, 112, 10}},
    {0, K::Label, "Zoom", {17, 81, 30, 8}},
    {kZoom1, K::Slider, "", {50, 80, 112, 10}},
    {0, K::GroupBox, "Pan Texture", {11, 97, 159, 73}},
    {0, K::Label, "Pan Speed", {96, 106, 40, 8}},
    {kPanUp1, K::CheckBox, "Pan Up", {17, 116, 52, 10}},
    {kPanUpSpeed1, K::Slider, "", {70, 115, 92, 10}},
    {kPanDown1, K::CheckBox, "Pan Down", {17, 129, 52, 10}},
    {kPanDownSpeed1, K::Slider, "", {70, 128, 92, 10}},
    {kPanRight1, K::CheckBox, "Pan Right", {17, 142, 52, 10}},
    {kPanRightSpeed1, K::Slider, "", {70, 141, 92, 10}},
    {kPanLeft1, K::CheckBox, "Pan Left", {17, 155, 52, 10}},
    {kPanLeftSpeed1, K::Slider, "", {70, 154, 92, 10}},
    {0, K::GroupBox, "Texture Two", {7, 176, 167, 170}},
    {kOpen2, K::PushButton, "Open Texture", {14, 187, 62, 13}},
    {kTint2, K::PushButton, "Tint Texture", {90, 187, 62, 13}},
    {kVisible2, K::CheckBox, "Visible", {14, 204, 50, 10}},
    {kTransparent2, K::CheckBox, "Transparent", {90, 204, 64, 10}},
    {0, K::GroupBox, "Rotate / Zoom", {11, 217, 159, 50}},
    {kLeft2, K::CheckBox, "Left", {17, 228, 38, 10}},
    {kRight2, K::CheckBox, "Right", {60, 228, 40, 10}},
    {0, K::Label, "Speed", {17, 242, 30, 8}},
    {kSpeed2, K::Slider, "", {50, 241, 112, 10}},
    {0, K::Label, "Zoom", {17, 254, 30, 8}},
    {kZoom2, K::Slider, "", {50, 253, 112, 10}},
    {0, K::GroupBox, "Pan Texture", {11, 270, 159, 73}},
    {0, K::Label, "Pan Speed", {96, 279, 40, 8}},
    {kPanUp2, K::CheckBox, "Pan Up", {17, 289, 52, 10}},
    {kPanUpSpeed2, K::Slider, "", {70, 288, 92, 10}},
    {kPanDown2, K::CheckBox, "Pan Down", {17, 302, 52, 10}},
    {kPanDownSpeed2, K::Slider, "", {70, 301, 92, 10}},
    {kPanRight2, K::CheckBox, "Pan Right", {17, 315, 52, 10}},
    {kPanRightSpeed2, K::Slider, "", {70, 314, 92, 10}},
    {kPanLeft2, K::CheckBox, "Pan Left", {17, 328, 52, 10}},
    {kPanLeftSpeed2, K::Slider, "", {70, 327, 92, 10}},
    {kReset, K::PushButton, "Reset", {14, 350, 40, 13}},
};

constexpr PanelTemplate kTemplate{PanelKind::Tiles, 137, "Tile Texture Controls", {90, 0, 181, 367}, kControls};

constexpr SliderMapping kSliders[] = {
    Slider(kSpeed1, &S::tile1RotSpeed, &S::tile1RotSpeedSaved),
    Slider(kSpeed2, &S::tile2RotSpeed, &S::tile2RotSpeedSaved),
    Slider(kPanUpSpeed1, &S::tile1PanUpSpeed, &S::tile1PanUpSpeedSaved),
    Slider(kPanDownSpeed1, &S::tile1PanDownSpeed, &S::tile1PanDownSpeedSaved),
    Slider(kPanRightSpeed1, &S::tile1PanRightSpeed, &S::tile1PanRightSpeedSaved),
    Slider(kPanLeftSpeed1, &S::tile1PanLeftSpeed, &S::tile1PanLeftSpeedSaved),
    Slider(kPanUpSpeed2, &S::tile2PanUpSpeed, &S::tile2PanUpSpeedSaved),
    Slider(kPanDownSpeed2, &S::tile2PanDownSpeed, &S::tile2PanDownSpeedSaved),
    Slider(kPanRightSpeed2, &S::tile2PanRightSpeed, &S::tile2PanRightSpeedSaved),
    Slider(kPanLeftSpeed2, &S::tile2PanLeftSpeed, &S::tile2PanLeftSpeedSaved),
    Slider(kZoom1, &S::tile1Zoom, &S::tile1ZoomSaved, Plus(-100)),
    Slider(kZoom2, &S::tile2Zoom, &S::tile2ZoomSaved, Plus(-100)),
};

// A box that switches a layer on at 2; its first press switches it off,
// since the layers start shown and transparent.
struct SwitchBox {
    int id;
    std::int32_t S::*live, S::*saved, S::*counter;
};
constexpr std::array<SwitchBox, 4> kSwitchBoxes = {{
    {kVisible1, &S::tile1Shown, &S::tile1ShownSaved, &S::tile1ShownPresses},
    {kTransparent1, &S::tile1Transparent, &S::tile1TransparentSaved, &S::tile1TransparentPresses},
    {kVisible2, &S::tile2Shown, &S::tile2ShownSaved, &S::tile2ShownPresses},
    {kTransparent2, &S::tile2Transparent, &S::tile2TransparentSaved, &S::tile2TransparentPresses},
}};

// A direction pair box; `saved` is the direction's copy (none for rotation),
// `drift` when the box also ends the layers' automatic drift.
struct PairBox {
    ToggleBox toggle;
    std::int32_t S::*saved;
    bool drift;
};
constexpr std::array<PairBox, 12> kPairBoxes = {{
    {{kLeft1, &S::tile1RotLeftPresses, &S::tile1RotDir, 2, kRight1, &S::tile1RotRightPresses}, nullptr, false},
    {{kRight1, &S::tile1RotRightPresses, &S::tile1RotDir, 4, kLeft1, &S::tile1RotLeftPresses}, nullptr, false},
    {{kLeft2, &S::tile2RotLeftPresses, &S::tile2RotDir, 2, kRight2, &S::tile2RotRightPresses}, nullptr, false},
    {{kRight2, &S::tile2RotRightPresses, &S::tile2RotDir, 4, kLeft2, &S::tile2RotLeftPresses}, nullptr, false},
    {{kPanUp1, &S::tile1PanUpPresses, &S::tile1PanV, 2, kPanDown1, &S::tile1PanDownPresses}, &S::tile1PanVSaved, true},
    {{kPanDown1, &S::tile1PanDownPresses, &S::tile1PanV, 4, kPanUp1, &S::tile1PanUpPresses}, &S::tile1PanVSaved, true},
    {{kPanRight1, &S::tile1PanRightPresses, &S::tile1PanU, 2, kPanLeft1, &S::tile1PanLeftPresses}, &S::tile1PanUSaved,
     true},
    {{kPanLeft1, &S::tile1PanLeftPresses, &S::tile1PanU, 4, kPanRight1, &S::tile1PanRightPresses}, &S::tile1PanUSaved,
     true},
    {{kPanUp2, &S::tile2PanUpPresses, &S::tile2PanV, 2, kPanDown2, &S::tile2PanDownPresses}, &S::tile2PanVSaved, false},
    {{kPanDown2, &S::tile2PanDownPresses, &S::tile2PanV, 4, kPanUp2, &S::tile2PanUpPresses}, &S::tile2PanVSaved, false},
    {{kPanRight2, &S::tile2PanRightPresses, &S::tile2PanU, 2, kPanLeft2, &S::tile2PanLeftPresses}, &S::tile2PanUSaved,
     false},
    {{kPanLeft2, &S::tile2PanLeftPresses, &S::tile2PanU, 4, kPanRight2, &S::tile2PanRightPresses}, &S::tile2PanUSaved,
     false},
}};

template <typename Box, std::size_t N>
const Box* FindBox(const std::array<Box, N>& boxes, int id) {
    for (const Box& box : boxes)
        if (box.id == id) return &box;
    return nullptr;
}

const PairBox* FindPair(int id) {
    for (const PairBox& box : kPairBoxes)
        if (box.toggle.id == id) return &box;
    return nullptr;
}

class TilePanel : public PanelModel {
public:
    using PanelModel::PanelModel;

protected:
    void ExchangeData(Exchange) override {
        SetUsed();
        for (const SwitchBox& box : kSwitchBoxes) {
            SetCheck(box.id, On(scene.*box.saved));
            scene.*box.live = scene.*box.saved;
        }
        for (const PairBox& box : kPairBoxes) {
            // Rotation marks follow the live directions, pan marks the copies.
            const std::int32_t direction = box.saved ? scene.*box.saved : scene.*box.toggle.flag;
            SetCheck(box.toggle.id, box.toggle.onValue == 2 ? direction == 2 : direction >= 4);
        }
        PushStored(kSliders);
        ReadBack(kSliders, Side::Live);
    }

    void OnSliderMoved() override {
        SetUsed();
        scene.tilePanOn = 2;
        ReadBack(kSliders);
    }

    void OnClick(int id) override {
        if (const SwitchBox* box = FindBox(kSwitchBoxes, id)) return PressSwitch(*box);
        if (const PairBox* box = FindPair(id)) return PressPair(*box);
        switch (id) {
            case kOpen1:
                ChooseTileTexture1();
                scene.tile1CustomTex = 2;
                scene.tile1TexFallback = 0;
                break;
            case kOpen2:
                ChooseTileTexture2();
                scene.tile2CustomTex = 2;
                scene.tile2TexFallback = 0;
                break;
            case kTint1: ChooseTint(scene.tile1TintOn, scene.tile1Tint); break;
            case kTint2: ChooseTint(scene.tile2TintOn, scene.tile2Tint); break;
            case kReset: Reset(); break;
            default: break;
        }
    }

private:
    void PressSwitch(const SwitchBox& box) {
        if (AddPress(scene.*box.counter) < 2) {
            scene.*box.live = scene.*box.saved = 0;
            SetCheck(box.id, false);
        } else {
            scene.*box.live = scene.*box.saved = 2;
            scene.*box.counter = 0;
        }
    }

    void PressPair(const PairBox& box) {
        PressToggle(box.toggle);
        if (box.saved) scene.*box.saved = scene.*box.toggle.flag;
        if (box.drift) scene.tilePanOn = 2;
    }

    static void ChooseTint(std::int32_t& tintOn, std::uint32_t& tint) {
        tintOn = 2;
        if (auto chosen = CurrentPlatform().ChooseColour(tint)) tint = *chosen;
    }

    // Both layers shown and transparent again, still, unzoomed, drifting.
    // The textures' offsets and the tints are kept.
    void Reset() {
        scene.tile1Angle = scene.tile2Angle = 0.0f;
        scene.tilePanOn = 0;
        for (const SwitchBox& box : kSwitchBoxes) {
            scene.*box.saved = scene.*box.live = 2;
            SetCheck(box.id, true);
        }
        scene.tile1RotDir = scene.tile2RotDir = 0;
        for (const PairBox& box : kPairBoxes) {
            // The live pan directions stay; without a pan they do nothing.
            if (box.saved) scene.*box.saved = 0;
            // A cleared box acts on its next press.
            scene.*box.toggle.counter = 0;
            SetCheck(box.toggle.id, false);
        }
        for (const SliderMapping& row : kSliders) row.stored.Set(scene, 0);
        scene.tile1RotSpeed = scene.tile1Zoom = 0.0f;
        PushStored(kSliders);
        ReadBack(kSliders, Side::Live);
        scene.tile1CustomTex = scene.tile2CustomTex = 0;
    }
};

}  // namespace

const PanelTemplate& TilePanelTemplate() { return kTemplate; }
std::unique_ptr<PanelModel> MakeTilePanel(int instance) { return std::make_unique<TilePanel>(kTemplate, instance); }

}  // namespace quorbel
