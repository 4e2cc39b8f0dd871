#include "commands/edit_commands.h"

#include <cstdint>

#include "commands/command_ids.h"
#include "commands/show_hide.h"
#include "imaging/textures.h"
#include "scene/scene_state.h"

namespace quorbel {

namespace {

constexpr std::int32_t kOn = 2;
constexpr int kTextTarget = 2, kStarsTarget = 4, kParticlesTarget = 6, kFireTarget = 7;

// Every step gets whether GL may be called; only the particle step needs it.
using Step = void (*)(bool glCurrent);

void CountTextPress(bool) { CountPress(scene.textToggleCount); }
void CountParticlesPress(bool) { CountPress(scene.particlesToggleCount); }
void CountStarsPress(bool) { CountPress(scene.starsToggleCount); }
void CountTunnelPress(bool) { CountPress(scene.tunnelToggleCount); }
void CountTilesPress(bool) { CountPress(scene.tilesToggleCount); }
void AimKeysAtFire(bool) { scene.keyTarget = kFireTarget; }

void ShowText(bool) {
    scene.textHidden = 0;
    CheckShowHideItem(Effect::Text);
    scene.keyTarget = kTextTarget;
}
void ShowParticles(bool glCurrent) {
    CheckShowHideItem(Effect::Particles);
    scene.keyTarget = kParticlesTarget;
    scene.particlePanelInitDone = 0;
    if (glCurrent) LoadParticleTexture("Data/bubble.bmp");
    scene.particlesShown = kOn;
}
void PrepareStars(bool) {
    CheckShowHideItem(Effect::Stars);
    scene.keyTarget = kStarsTarget;
}
void ShowStars(bool) { scene.starsHidden = 0; }
void PrepareTunnel(bool) { CheckShowHideItem(Effect::Tunnel); }
void ShowTunnel(bool) {
    scene.tunnelRebuildPending = kOn;
    scene.tunnelShown = kOn;
}
void PrepareTiles(bool) { CheckShowHideItem(Effect::Tiles); }
void ShowTiles(bool) { scene.tilesShown = kOn; }
void ShowFire(bool) {
    scene.fireShown = kOn;
    scene.fireToggleCount = 1;
    CheckShowHideItem(Effect::Fire);
}
void ForgetTextPresses(bool) { scene.textToggleCount = 0; }

struct EditRow {
    ControlPanel kind;
    int command;
    std::int32_t SceneState::*openMark;
    std::int32_t SceneState::*presses;
    Step everyPress;     // runs first, on every press
    Step beforeCreate;   // opening steps before the panel is created
    Step afterCreate;    // opening steps after it
    Step onSecondPress;  // extras when the second press forgets the panel
};

constexpr EditRow kRows[] = {
    {ControlPanel::Text, command::kEditText, &SceneState::textPanelOpen, &SceneState::textPanelPresses,
     CountTextPress, ShowText, nullptr, ForgetTextPresses},
    {ControlPanel::Particles, command::kEditParticles, &SceneState::particlePanelOpen,
     &SceneState::particlePanelPresses, CountParticlesPress, ShowParticles, nullptr, nullptr},
    {ControlPanel::Stars, command::kEditStars, &SceneState::starPanelOpen, &SceneState::starPanelPresses,
     CountStarsPress, PrepareStars, ShowStars, nullptr},
    {ControlPanel::Tunnel, command::kEditTunnel, &SceneState::tunnelPanelOpen, &SceneState::tunnelPanelPresses,
     CountTunnelPress, PrepareTunnel, ShowTunnel, nullptr},
    {ControlPanel::Tiles, command::kEditTiles, &SceneState::tilePanelOpen, &SceneState::tilePanelPresses,
     CountTilesPress, PrepareTiles, ShowTiles, nullptr},
    {ControlPanel::Fire, command::kEditFire, &SceneState::firePanelOpen, &SceneState::firePanelPresses,
     AimKeysAtFire, ShowFire, nullptr, nullptr},
    {ControlPanel::Blur, command::kEditBlur, &SceneState::blurPanelOpen, &SceneState::blurPanelPresses, nullptr,
     nullptr, nullptr, nullptr},
};

const EditRow* RowOf(ControlPanel kind) {
    for (const EditRow& row : kRows)
        if (row.kind == kind) return &row;
    return nullptr;
}

void Run(Step step, bool glCurrent) {
    if (step) step(glCurrent);
}

}  // namespace

int EditCommand(ControlPanel kind) {
    const EditRow* row = RowOf(kind);
    return row ? row->command : 0;
}

void RunEditCommand(ControlPanel kind, bool glCurrent) {
    const EditRow* row = RowOf(kind);
    if (!row) return;
    Run(row->everyPress, glCurrent);
    if (!On(scene.*row->openMark)) {
        Run(row->beforeCreate, glCurrent);
        OpenControlPanel(kind);
        Run(row->afterCreate, glCurrent);
        scene.*row->openMark = kOn;
    }
    std::int32_t& presses = scene.*row->presses;
    CountPress(presses);
    if (presses < 2) return;
    scene.*row->openMark = 0;
    ReleaseDefaultButtonSlot(kind);
    presses = 0;
    Run(row->onSecondPress, glCurrent);
}

}  // namespace quorbel
