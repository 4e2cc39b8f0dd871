#include "effects/fire.h"

namespace quorbel {
EmitterBase::EmitterBase(std::int32_t total) : particleList(new FireParticle[total]), particleTotal(total) {}
EmitterBase::~EmitterBase() { delete[] particleList; }
void EmitterBase::KillAll() { for (int i = 0; i < particleTotal; ++i) particleList[i].alive = false; }
void FireSystem::UpdateFire(std::int32_t) {}
void FireSystem::InitFireParticle(std::int32_t) {}
void FireSystem::RenderFire() {}
namespace { std::unique_ptr<FireSystem> fire; }
FireSystem* TheFireSystem() { return fire.get(); }
void CreateFireSystem() { fire = std::make_unique<FireSystem>(kFireParticles); fire->KillAll(); }
bool LoadFireTextures() { return true; }
void DrawFire() {}
}  // namespace quorbel
