#include "app/panels/panel_host.h"

#include "panels/panel_registry.h"

namespace quorbel {

namespace {
std::pair<int, int> Key(const PanelHandle& panel) { return {panel.templateId, panel.instance}; }
}  // namespace

PanelHost::PanelHost(QWidget* owner, PanelEventRunner runner) : owner_(owner), runner_(std::move(runner)) {}

// Windows without an owner are the host's to delete; owned ones go with
// their owner.
PanelHost::~PanelHost() {
    if (owner_) return;
    for (auto& [key, view] : views_) delete view;
}

void PanelHost::Created(const PanelHandle& panel) {
    PanelModel* model = FindPanel(panel);
    if (!model || views_.count(Key(panel))) return;
    auto* view = new PanelView(*model, owner_, runner_);
    views_[Key(panel)] = view;
    if (model->Visible()) view->show();
}

void PanelHost::Shown(const PanelHandle& panel, bool visible) {
    PanelView* view = ViewOf(panel);
    if (!view) return;
    if (visible) view->show();
    else view->hide();
}

void PanelHost::Changed(const PanelHandle& panel) {
    if (PanelView* view = ViewOf(panel)) view->Sync();
}

PanelView* PanelHost::ViewOf(const PanelHandle& panel) const {
    auto found = views_.find(Key(panel));
    return found == views_.end() ? nullptr : found->second;
}

}  // namespace quorbel
