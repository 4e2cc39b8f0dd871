// The tunnel: a textured cone of 32 strips that the camera looks into,
// faded to black by linear fog, its texture flowing along it.
#pragma once

namespace quorbel {

// Fills the 33 x 33 vertex grid. Run on request (tunnelRebuildPending).
void BuildTunnelGeometry();
// The tint step before the tunnel's blur passes: while the colour switch is
// on, converts tunnelColour into tunnelRed/Green/Blue and sets it current.
void ApplyTunnelColour();
// Everything after the blur passes: state, texture coordinates, the animation
// step (only while playing), fog on, the 32 strips. Leaves fog enabled,
// blending enabled, depth testing disabled and the tunnel texture bound.
//
// A warp divisor of 0 has no flow to give: its term of v counts as 0, so the
// texture coordinates stay finite (v = t / 16 in the first mode).
void DrawTunnel();
// Back to the start values (Reset Defaults, settings reset). Binds the first
// base texture and leaves it bound; tunnelSpeed becomes 56, which the panel's
// Reset Defaults then overrides.
void ResetTunnel();

// Read access for tests: vertex (s, t) and texture coordinate (s, t),
// s and t in 0..32; outside that range both give zeros.
struct TunnelVertex { float x, y, z; };
struct TunnelTexCoord { float u, v; };
TunnelVertex TunnelVertexAt(int s, int t);
TunnelTexCoord TunnelTexCoordAt(int s, int t);

}  // namespace quorbel
