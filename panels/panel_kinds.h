// Each panel kind's template and model maker, defined in the kind's own file.
#pragma once

#include <memory>

#include "panels/panel_model.h"

namespace quorbel {

const PanelTemplate& TextPanelTemplate();
const PanelTemplate& ParticlePanelTemplate();
const PanelTemplate& StarPanelTemplate();
const PanelTemplate& TunnelPanelTemplate();
const PanelTemplate& TilePanelTemplate();
const PanelTemplate& FirePanelTemplate();
const PanelTemplate& BlurPanelTemplate();

std::unique_ptr<PanelModel> MakeTextPanel(int instance);
std::unique_ptr<PanelModel> MakeParticlePanel(int instance);
std::unique_ptr<PanelModel> MakeStarPanel(int instance);
std::unique_ptr<PanelModel> MakeTunnelPanel(int instance);
std::unique_ptr<PanelModel> MakeTilePanel(int instance);
std::unique_ptr<PanelModel> MakeFirePanel(int instance);
std::unique_ptr<PanelModel> MakeBlurPanel(int instance);

}  // namespace quorbel
