// Keeps one window per panel the core makes. The shell's platform hands its
// panel calls (made, shown or hidden, changed) to a host.
#pragma once

#include <map>
#include <utility>

#include "app/panels/panel_view.h"
#include "platform/platform.h"

class QWidget;

namespace quorbel {

class PanelHost {
public:
    // `owner` (the main window, or null) owns the windows.
    explicit PanelHost(QWidget* owner, PanelEventRunner runner = {});
    ~PanelHost();
    PanelHost(const PanelHost&) = delete;
    PanelHost& operator=(const PanelHost&) = delete;

    void Created(const PanelHandle& panel);
    void Shown(const PanelHandle& panel, bool visible);
    void Changed(const PanelHandle& panel);

    // The window of a panel, or null when there is none (yet).
    PanelView* ViewOf(const PanelHandle& panel) const;

private:
    QWidget* owner_;
    PanelEventRunner runner_;
    std::map<std::pair<int, int>, PanelView*> views_;
};

}  // namespace quorbel
