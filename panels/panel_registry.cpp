#include "panels/panel_registry.h"

#include <array>
#include <memory>
#include <vector>

#include "panels/panel_kinds.h"

namespace quorbel {

namespace {

struct KindEntry {
    const PanelTemplate& (*layout)();
    std::unique_ptr<PanelModel> (*make)(int instance);
    PanelMarks marks;
};

// In PanelKind order.
const std::array<KindEntry, kPanelKindCount> kKinds = {{
    {TextPanelTemplate, MakeTextPanel, {&SceneState::textPanelOpen, &SceneState::textPanelPresses, &SceneState::textUsed}},
    {ParticlePanelTemplate, MakeParticlePanel,
     {&SceneState::particlePanelOpen, &SceneState::particlePanelPresses, &SceneState::particlesUsed}},
    {StarPanelTemplate, MakeStarPanel, {&SceneState::starPanelOpen, &SceneState::starPanelPresses, &SceneState::starsUsed}},
    {TunnelPanelTemplate, MakeTunnelPanel,
     {&SceneState::tunnelPanelOpen, &SceneState::tunnelPanelPresses, &SceneState::tunnelUsed}},
    {TilePanelTemplate, MakeTilePanel, {&SceneState::tilePanelOpen, &SceneState::tilePanelPresses, &SceneState::tilesUsed}},
    {FirePanelTemplate, MakeFirePanel, {&SceneState::firePanelOpen, &SceneState::firePanelPresses, &SceneState::fireUsed}},
    {BlurPanelTemplate, MakeBlurPanel, {&SceneState::blurPanelOpen, &SceneState::blurPanelPresses, &SceneState::blurUsed}},
}};

const KindEntry& EntryOf(PanelKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }

std::array<std::vector<std::unique_ptr<PanelModel>>, kPanelKindCount>& Instances() {
    static std::array<std::vector<std::unique_ptr<PanelModel>>, kPanelKindCount> instances;
    return instances;
}

std::vector<std::unique_ptr<PanelModel>>& InstancesOf(PanelKind kind) {
    return Instances()[static_cast<std::size_t>(kind)];
}

}  // namespace

PanelMarks MarksOf(PanelKind kind) { return EntryOf(kind).marks; }

const PanelTemplate& TemplateOf(PanelKind kind) { return EntryOf(kind).layout(); }

const PanelTemplate* FindTemplate(int templateId) {
    for (const KindEntry& entry : kKinds)
        if (entry.layout().templateId == templateId) return &entry.layout();
    return nullptr;
}

PanelModel& CreatePanel(PanelKind kind, bool shown) {
    auto& instances = InstancesOf(kind);
    instances.push_back(EntryOf(kind).make(static_cast<int>(instances.size())));
    PanelModel& panel = *instances.back();
    // The window is made after the first exchange, so it opens showing the
    // values, and hidden from the start when asked (no flash on screen).
    panel.Initialise(shown);
    CurrentPlatform().PanelCreated(panel.Handle());
    return panel;
}

PanelModel* FindPanel(const PanelHandle& handle) {
    const PanelTemplate* layout = FindTemplate(handle.templateId);
    if (!layout || handle.instance < 0) return nullptr;
    auto& instances = InstancesOf(layout->kind);
    if (static_cast<std::size_t>(handle.instance) >= instances.size()) return nullptr;
    return instances[static_cast<std::size_t>(handle.instance)].get();
}

std::size_t PanelCount(PanelKind kind) { return InstancesOf(kind).size(); }

PanelModel* LatestPanel(PanelKind kind) {
    auto& instances = InstancesOf(kind);
    return instances.empty() ? nullptr : instances.back().get();
}

void DiscardAllPanels() {
    for (auto& instances : Instances()) instances.clear();
}

}  // namespace quorbel
