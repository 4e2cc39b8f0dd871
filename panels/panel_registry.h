// Every panel made in this run. Panels are never destroyed: closing one
// hides it, and each new one made from a template is another instance that
// edits the same scene values.
#pragma once

#include <cstddef>

#include "panels/panel_model.h"

namespace quorbel {

// Makes a new panel of `kind`, runs its first data exchange (which brings the
// scene's stored values into its controls and into effect) and tells the
// shell, which makes its window shown or hidden as asked.
PanelModel& CreatePanel(PanelKind kind, bool shown = true);

// The panel a handle names, or null.
PanelModel* FindPanel(const PanelHandle& handle);
std::size_t PanelCount(PanelKind kind);
// The most recently made panel of `kind`, or null.
PanelModel* LatestPanel(PanelKind kind);

// Tests only: forgets every panel, as if the program had just started.
void DiscardAllPanels();

}  // namespace quorbel
