// "Tunnel Controls": texture and tint, flow speed, zoom, twist and warp of
// the tunnel.
#include "effects/tunnel.h"
#include "imaging/textures.h"
#include "panels/panel_kinds.h"

namespace quorbel {

namespace {

using S = SceneState;
using K = ControlKind;

enum Id {
    kLoadTexture = 1010, kColourTint = 1078, kSpeed = 1076, kDepth = 1107, kZoomIn = 1106, kZoomOut = 1009,
    kZoomSpeed = 1077, kTwist = 1037, kWarp = 1079, kResetDefaults = 1080,
};

constexpr ControlSpec kControls[] = {
    {0, K::GroupBox, "Texture / Colour", {7, 4, 167, 30}},
    {kLoadTexture, K::PushButton, "Load Texture", {14, 15, 62, 13}},
    {kColourTint, K::PushButton, "Colour Tint", {90, 15, 62, 13}},
    {0, K::GroupBox, "Tunnel Speed", {7, 38, 167, 44}},
    {0, K::Label, "Reverse", {14, 50, 30, 8}},
    {kSpeed, K::Slider, "", {46, 49, 86, 10}},
    {0, K::Label, "Forward", {134, 50, 34, 8}},
    {0, K::Label, "Zoom", {14, 66, 30, 8}},
    {kDepth, K::Slider, "", {46, 65, 86, 10}},
    {0, K::GroupBox, "Zoom", {7, 86, 167, 44}},
    {kZoomIn, K::CheckBox, "Zoom In", {14, 98, 50, 10}},
    {kZoomOut, K::CheckBox, "Zoom Out", {80, 98, 54, 10}},
    {0, K::Label, "Zoom Speed:", {14, 114, 44, 8}},
    {kZoomSpeed, K::Slider, "", {60, 113, 102, 10}},
    {0, K::GroupBox, "Twist", {7, 134, 167, 28}},
    {kTwist, K::Slider, "", {14, 146, 148, 10}},
    {0, K::GroupBox, "Warp", {7, 166, 167, 28}},
    {kWarp, K::Slider, "", {14, 178, 148, 10}},
    {0, K::GroupBox, "Reset", {7, 198, 167, 30}},
    {kResetDefaults, K::PushButton, "Reset Defaults", {14, 209, 64, 13}},
};

constexpr PanelTemplate kTemplate{PanelKind::Tunnel, 132, "Tunnel Controls", {80, 0, 181, 300}, kControls};

bool ZoomStopped(const S& s) { return s.tunnelZoomDir < 2; }

constexpr SliderMapping kSliders[] = {
    Slider(kTwist, &S::tunnelTwist, &S::tunnelTwistPos),
    Slider(kSpeed, &S::tunnelSpeed, &S::tunnelSpeedPos, Plus(-50)),
    Slider(kZoomSpeed, &S::tunnelZoomSpeed, &S::tunnelZoomSpeedPos),
    // While the tunnel zooms by itself the depth is its own.
    When(ZoomStopped, Slider(kDepth, &S::tunnelDepth, {}, Plus(-50))),
};
// The warp slider drives one of two warps, by texture mode.
constexpr Linear kWarpAMap = Plus(-35);
constexpr Linear kWarpBMap = Plus(-50);

constexpr ToggleBox kZoomInBox{kZoomIn, &S::tunnelZoomInPresses, &S::tunnelZoomDir, 2, kZoomOut,
                               &S::tunnelZoomOutPresses};
constexpr ToggleBox kZoomOutBox{kZoomOut, &S::tunnelZoomOutPresses, &S::tunnelZoomDir, 4, kZoomIn,
                                &S::tunnelZoomInPresses};

bool SecondTextureMode() { return scene.tunnelTexMode >= 2; }

class TunnelPanel : public PanelModel {
public:
    using PanelModel::PanelModel;

protected:
    void ExchangeData(Exchange) override {
        SetUsed();
        if (On(scene.tunnelPanelRestore)) RestoreLiveValues();
        scene.tunnelPanelRestore = 0;
        PushStored(kSliders);
        SetSlider(kDepth, Plus(-50).Position(scene.tunnelDepthPos));
        // The warp slider shows the saved warp plus 50 in either mode; read
        // back in the first mode (less 35) a warp grows by 15 per panel made.
        SetSlider(kWarp, Plus(-50).Position(SecondTextureMode() ? scene.tunnelWarpBPos : scene.tunnelWarpAPos));
        SetCheck(kZoomIn, scene.tunnelZoomDirSaved == 1 || scene.tunnelZoomDirSaved == 2);
        SetCheck(kZoomOut, scene.tunnelZoomDirSaved >= 4);
        // The speed slider is set but not read back.
        for (int id : {kTwist, kZoomSpeed, kDepth}) ReadBack(kSliders, id);
        ReadDepthAndWarp();
    }

    void OnSliderMoved() override {
        SetUsed();
        ReadBack(kSliders);
        ReadDepthAndWarp();
    }

    void OnClick(int id) override {
        switch (id) {
            case kZoomIn:
            case kZoomOut:
                PressToggle(id == kZoomIn ? kZoomInBox : kZoomOutBox);
                scene.tunnelZoomDirSaved = scene.tunnelZoomDir;
                break;
            case kLoadTexture: LoadTexture(); break;
            case kColourTint: ChooseTint(); break;
            case kResetDefaults: ResetDefaults(); break;
            default: break;
        }
    }

private:
    void RestoreLiveValues() {
        S& s = scene;
        s.tunnelZoomSpeed = s.tunnelZoomSpeedPos;
        s.tunnelWarpA = static_cast<float>(s.tunnelWarpAPos);
        s.tunnelWarpB = static_cast<float>(s.tunnelWarpBPos);
        s.tunnelDepth = static_cast<float>(s.tunnelDepthPos);
        s.tunnelSpeed = static_cast<float>(s.tunnelSpeedPos);
        s.tunnelTwist = static_cast<float>(s.tunnelTwistPos);
    }

    // The depth's copy follows the depth even while it zooms by itself.
    void ReadDepthAndWarp() {
        scene.tunnelDepthPos = WholePart(scene.tunnelDepth);
        if (SecondTextureMode()) scene.tunnelWarpB = static_cast<float>(kWarpBMap.Value(Slider(kWarp)));
        else scene.tunnelWarpA = static_cast<float>(kWarpAMap.Value(Slider(kWarp)));
        scene.tunnelWarpAPos = WholePart(scene.tunnelWarpA);
        scene.tunnelWarpBPos = WholePart(scene.tunnelWarpB);
    }

    void LoadTexture() {
        const bool wasCustom = scene.tunnelCustomTex == 2;
        ChooseTunnelTexture();
        // A texture already in use stays in use when the chooser is cancelled.
        if (wasCustom && scene.tunnelTexFallback >= 1) scene.tunnelTexFallback = 0;
        scene.tunnelCustomTex = 2;
    }

    // The tint stays on when the chooser is cancelled.
    void ChooseTint() {
        scene.tunnelColourOn = 2;
        if (auto chosen = CurrentPlatform().ChooseColour(scene.tunnelColour)) scene.tunnelColour = *chosen;
    }

    // The tunnel is left flowing forward slowly although its slider shows
    // the stop position; the Zoom slider stays where it was.
    void ResetDefaults() {
        S& s = scene;
        ResetTunnel();
        s.tunnelColourOn = s.tunnelZoomDirSaved = 0;
        s.tunnelSpeed = 0.0f;
        s.tunnelWarpBPos = s.tunnelWarpAPos = s.tunnelSpeedPos = s.tunnelTwistPos = 0;
        s.tunnelZoomInPresses = s.tunnelZoomOutPresses = 0;
        s.tunnelZoomSpeedPos = s.tunnelZoomSpeed = 0.0f;
        SetCheck(kZoomIn, false);
        SetCheck(kZoomOut, false);
        SetSlider(kTwist, 0);
        SetSlider(kSpeed, 50);
        SetSlider(kZoomSpeed, 0);
        SetSlider(kWarp, 50);
        s.tunnelSpeed = 1.0f;
    }
};

}  // namespace

const PanelTemplate& TunnelPanelTemplate() { return kTemplate; }
std::unique_ptr<PanelModel> MakeTunnelPanel(int instance) {
    return std::make_unique<TunnelPanel>(kTemplate, instance);
}

}  // namespace quorbel
