#include "support/hostile_scene.h"

#include <cmath>
#include <cstdlib>
#include <utility>

#include "effects/fire.h"
#include "effects/particles.h"
#include "effects/stars.h"
#include "effects/tunnel.h"
#include "settings/settings_record.h"

namespace quorbel::testing {

namespace {

std::string NonFinite(const char* what, float value) {
    return std::isfinite(value) ? std::string() : std::string(what) + " = " + std::to_string(value);
}

std::string ScenePosition() {
    const std::pair<const char*, float> positions[] = {
        {"textPosX", scene.textPosX},       {"textPosY", scene.textPosY},       {"textPosZ", scene.textPosZ},
        {"textAngleX", scene.textAngleX},   {"textAngleY", scene.textAngleY},   {"textAngleZ", scene.textAngleZ},
        {"particleX", scene.particleX},     {"particleY", scene.particleY},     {"starFieldX", scene.starFieldX},
        {"starFieldY", scene.starFieldY},   {"starFieldZ", scene.starFieldZ},   {"starFieldTilt", scene.starFieldTilt},
        {"starRoll", scene.starRoll},       {"fireX", scene.fireX},             {"fireY", scene.fireY},
        {"fireEmitX", scene.fireEmitX},     {"fireEmitY", scene.fireEmitY},     {"tile1U", scene.tile1U},
        {"tile1V", scene.tile1V},           {"tile2U", scene.tile2U},           {"tile2V", scene.tile2V},
        {"tile1Angle", scene.tile1Angle},   {"tile2Angle", scene.tile2Angle},   {"tunnelDepth", scene.tunnelDepth},
        {"tunnelPhase", scene.tunnelPhase}, {"blurSeparation", scene.blurSeparation},
    };
    for (const auto& [name, value] : positions)
        if (auto problem = NonFinite(name, value); !problem.empty()) return problem;
    return {};
}

std::string ParticlePosition() {
    const ParticleSystem& system = TheParticleSystem();
    if (auto p = NonFinite("particle radius", system.radius); !p.empty()) return p;
    if (auto p = NonFinite("particle zoom", system.zoom); !p.empty()) return p;
    for (const Particle& particle : system.particles)
        for (float axis : particle.position)
            if (auto p = NonFinite("particle position", axis); !p.empty()) return p;
    return {};
}

std::string StarAndFirePosition() {
    for (const Star& star : stars) {
        if (auto p = NonFinite("star distance", star.dist); !p.empty()) return p;
        if (auto p = NonFinite("star angle", star.angle); !p.empty()) return p;
    }
    if (const FireSystem* fire = TheFireSystem())
        for (std::int32_t i = 0; i < fire->particleTotal; ++i) {
            const Vector3& at = fire->particleList[i].position;
            for (float axis : {at.x, at.y, at.z})
                if (auto p = NonFinite("fire position", axis); !p.empty()) return p;
        }
    return {};
}

std::string TunnelCoordinate() {
    for (int s = 0; s <= 32; ++s)
        for (int t = 0; t <= 32; ++t) {
            const TunnelTexCoord tex = TunnelTexCoordAt(s, t);
            if (auto p = NonFinite("tunnel texture u", tex.u); !p.empty()) return p;
            if (auto p = NonFinite("tunnel texture v", tex.v); !p.empty()) return p;
        }
    return {};
}

}  // namespace

void RestartEffects(const SceneState& baseline, bool particles) {
    // The program makes the motion texture once per run; starting over must
    // not make one more each time (thousands of starts would fill memory).
    const std::int32_t motionTextureMade = scene.motionTextureMade;
    const std::uint32_t motionBlurTexture = scene.motionBlurTexture;
    scene = baseline;
    if (motionBlurTexture != 0) {
        scene.motionTextureMade = motionTextureMade;
        scene.motionBlurTexture = motionBlurTexture;
    }
    std::srand(1);
    ForgetSettingsBuffers();
    if (particles) InitParticleSystem(TheParticleSystem());
    InitStars();
    if (FireSystem* fire = TheFireSystem()) fire->KillAll();
}

void ShowEveryEffect() {
    scene.tunnelShown = scene.tunnelRebuildPending = 2;
    scene.starsHidden = scene.textHidden = 0;
    scene.particlesShown = scene.tilesShown = scene.fireShown = 2;
}

std::string NonFinitePosition() {
    for (auto check : {ScenePosition, ParticlePosition, StarAndFirePosition, TunnelCoordinate})
        if (auto problem = check(); !problem.empty()) return problem;
    return {};
}

}  // namespace quorbel::testing
