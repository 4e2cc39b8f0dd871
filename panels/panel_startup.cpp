#include "panels/panel_startup.h"

#include "panels/panel_registry.h"
#include "scene/scene_state.h"

namespace quorbel {

void CreateStartupPanels() {
    scene.textUsed = 2;
    CreatePanel(PanelKind::Text, false);
    scene.textPanelOpen = 0;
    scene.blurUsed = 2;
    CreatePanel(PanelKind::Blur, true);
    // The first Edit Blur makes a second panel rather than toggling this one.
    scene.blurPanelOpen = 0;
    scene.textUsed = 0;
    scene.blurUsed = 0;
}

}  // namespace quorbel
