#include "effects/tunnel.h"

namespace quorbel {
void BuildTunnelGeometry() {}
void ApplyTunnelColour() {}
void DrawTunnel() {}
void ResetTunnel() {}
TunnelVertex TunnelVertexAt(int, int) { return {}; }
TunnelTexCoord TunnelTexCoordAt(int, int) { return {}; }
}  // namespace quorbel
