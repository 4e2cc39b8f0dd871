#include "effects/particles.h"

namespace quorbel {
ParticleSystem& TheParticleSystem() { static auto* s = new ParticleSystem(); return *s; }
ParticleEngine& TheParticleEngine() { static ParticleEngine e; return e; }
void InitParticleSystem(ParticleSystem&) {}
void DrawParticleSystem(ParticleEngine&, ParticleSystem&) {}
void UpdateParticleParameters() {}
}  // namespace quorbel
