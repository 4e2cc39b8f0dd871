#include "commands/panel_hooks.h"

namespace quorbel {

PanelHooks& CommandPanelHooks() {
    static PanelHooks hooks;
    return hooks;
}

void CreatePanel(PanelKind kind) {
    if (auto& create = CommandPanelHooks().createPanel) create(kind);
}

void ReleaseOkSlot(PanelKind kind) {
    if (auto& release = CommandPanelHooks().releaseOkSlot) release(kind);
}

}  // namespace quorbel
