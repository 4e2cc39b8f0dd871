#include "commands/panel_wiring.h"

#include "commands/documents.h"
#include "commands/panel_hooks.h"
#include "commands/show_hide.h"
#include "panels/panel_registry.h"
#include "panels/panel_startup.h"
#include "scene/frame_driver.h"

namespace quorbel {

namespace {

PanelKind KindOf(ControlPanel panel) {
    switch (panel) {
        case ControlPanel::Text: return PanelKind::Text;
        case ControlPanel::Particles: return PanelKind::Particles;
        case ControlPanel::Stars: return PanelKind::Stars;
        case ControlPanel::Tunnel: return PanelKind::Tunnel;
        case ControlPanel::Tiles: return PanelKind::Tiles;
        case ControlPanel::Fire: return PanelKind::Fire;
        case ControlPanel::Blur: return PanelKind::Blur;
    }
    return PanelKind::Text;
}

PanelKind KindOf(UsedPanel panel) {
    switch (panel) {
        case UsedPanel::Particles: return PanelKind::Particles;
        case UsedPanel::Text: return PanelKind::Text;
        case UsedPanel::Stars: return PanelKind::Stars;
        case UsedPanel::Tunnel: return PanelKind::Tunnel;
        case UsedPanel::Tiles: return PanelKind::Tiles;
        case UsedPanel::Fire: return PanelKind::Fire;
        case UsedPanel::Blur: return PanelKind::Blur;
    }
    return PanelKind::Text;
}

// A scene that used the particles brings them back checked in the menu.
void RecreateAfterOpen(UsedPanel panel, bool visible) {
    CreatePanel(KindOf(panel), visible);
    if (panel == UsedPanel::Particles) CheckShowHideItem(Effect::Particles);
}

}  // namespace

void InstallControlPanels() {
    EditPanelHooks().createPanel = [](ControlPanel panel) { CreatePanel(KindOf(panel)); };
    FrameDriverStartupSteps().createStartupPanels = CreateStartupPanels;
    RecreatePanelAfterOpen() = RecreateAfterOpen;
}

void RemoveControlPanels() {
    EditPanelHooks().createPanel = nullptr;
    FrameDriverStartupSteps().createStartupPanels = nullptr;
    RecreatePanelAfterOpen() = nullptr;
}

}  // namespace quorbel
