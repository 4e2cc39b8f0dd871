#include "commands/panel_hooks.h"

namespace quorbel {

ControlPanelHooks& EditPanelHooks() {
    static ControlPanelHooks hooks;
    return hooks;
}

void OpenControlPanel(ControlPanel kind) {
    if (auto& create = EditPanelHooks().createPanel) create(kind);
}

void ReleaseDefaultButtonSlot(ControlPanel kind) {
    if (auto& release = EditPanelHooks().releaseOkSlot) release(kind);
}

void ReleaseEveryDefaultButtonSlot() {
    for (ControlPanel kind : kControlPanels) ReleaseDefaultButtonSlot(kind);
}

}  // namespace quorbel
