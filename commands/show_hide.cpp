#include "commands/show_hide.h"

#include <cstdint>
#include <limits>

#include "commands/command_ids.h"
#include "platform/platform.h"
#include "scene/scene_state.h"

namespace quorbel {

namespace {

constexpr std::int32_t kOn = 2;
constexpr std::int32_t kOff = 0;

// The tunnel rebuilds its geometry on every press, even a hiding one.
void BeforeTunnelPress() {
    scene.tunnelRebuildPending = kOn;
    scene.tunnelShown = kOn;
}
void BeforeParticlesPress() { scene.particlesShown = kOn; }

// A hidden title cannot stay the source of a blur.
void AfterTextHidden() {
    scene.radialBlurOn = kOff;
    scene.motionBlurOn = kOff;
    scene.radialText = kOff;
    scene.motionText = kOff;
}
void AfterStarsHidden() { scene.motionStar = kOff; }
void AfterFireHidden() { scene.radialFire = kOff; }

struct ShowHideRow {
    Effect effect;
    int command;
    std::int32_t SceneState::*visibility;
    bool inverted;  // the field holds 2 for hidden
    std::int32_t SceneState::*counter;
    void (*beforePress)();
    void (*afterHidden)();
};

constexpr ShowHideRow kRows[] = {
    {Effect::Tunnel, command::kShowHideTunnel, &SceneState::tunnelShown, false, &SceneState::tunnelToggleCount,
     BeforeTunnelPress, nullptr},
    {Effect::Stars, command::kShowHideStars, &SceneState::starsHidden, true, &SceneState::starsToggleCount,
     nullptr, AfterStarsHidden},
    {Effect::Particles, command::kShowHideParticles, &SceneState::particlesShown, false,
     &SceneState::particlesToggleCount, BeforeParticlesPress, nullptr},
    {Effect::Text, command::kShowHideText, &SceneState::textHidden, true, &SceneState::textToggleCount, nullptr,
     AfterTextHidden},
    {Effect::Tiles, command::kShowHideTiles, &SceneState::tilesShown, false, &SceneState::tilesToggleCount,
     nullptr, nullptr},
    {Effect::Fire, command::kShowHideFire, &SceneState::fireShown, false, &SceneState::fireToggleCount, nullptr,
     AfterFireHidden},
};

}  // namespace

void CountPress(std::int32_t& counter) {
    // A counter read from a settings file may hold anything; never overflow.
    if (counter < std::numeric_limits<std::int32_t>::max()) counter += 1;
}

namespace {

const ShowHideRow& RowOf(Effect effect) { return kRows[static_cast<int>(effect)]; }

void SetVisible(const ShowHideRow& row, bool visible) {
    scene.*row.visibility = (visible != row.inverted) ? kOn : kOff;
}

}  // namespace

int ShowHideCommand(Effect effect) { return RowOf(effect).command; }

void CheckShowHideItem(Effect effect) { CurrentPlatform().SetMenuCheck(ShowHideCommand(effect), true); }

void ToggleEffect(Effect effect) {
    const ShowHideRow& row = RowOf(effect);
    if (row.beforePress) row.beforePress();
    std::int32_t& counter = scene.*row.counter;
    CountPress(counter);
    if (counter < 2) {
        CurrentPlatform().SetMenuCheck(row.command, true);
        SetVisible(row, true);
        return;
    }
    CurrentPlatform().SetMenuCheck(row.command, false);
    SetVisible(row, false);
    counter = 0;
    if (row.afterHidden) row.afterHidden();
}

}  // namespace quorbel
