// A settings file is untrusted: any 32-bit value in any field is accepted,
// and whatever the effects then do with it must stay in bounds, finish, and
// keep every position finite. Each record here is loaded through Open and
// followed by frames with every effect shown on a small surface. The same
// values reach the effects' live parameters by name too, as the panels will
// hand them on. ./test.sh runs this file again under the sanitizers.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "commands/documents.h"
#include "effects/fire.h"
#include "effects/particles.h"
#include "effects/stars.h"
#include "effects/tunnel.h"
#include "platform/scripted_platform.h"
#include "scene/frame_driver.h"
#include "scene/scene_state.h"
#include "settings/settings_record.h"
#include "support/gl_test_env.h"

namespace quorbel {
namespace {

constexpr int kSide = 48;
constexpr int kFramesPerRecord = 3;
constexpr int kRandomRecords = 300;
const std::int32_t kExtremes[] = {INT32_MIN, -1, 0, 1, 2, 30001, INT32_MAX};

// ----- what must stay finite ---------------------------------------------

std::string NonFinite(const char* what, float value) {
    return std::isfinite(value) ? std::string() : std::string(what) + " = " + std::to_string(value);
}

std::string SceneProblem() {
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

std::string EffectProblem() {
    const ParticleSystem& system = TheParticleSystem();
    if (auto p = NonFinite("particle radius", system.radius); !p.empty()) return p;
    if (auto p = NonFinite("particle zoom", system.zoom); !p.empty()) return p;
    for (const Particle& particle : system.particles)
        for (float axis : particle.position)
            if (auto p = NonFinite("particle position", axis); !p.empty()) return p;
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
    for (int s = 0; s <= 32; ++s)
        for (int t = 0; t <= 32; ++t) {
            const TunnelTexCoord tex = TunnelTexCoordAt(s, t);
            if (auto p = NonFinite("tunnel texture u", tex.u); !p.empty()) return p;
            if (auto p = NonFinite("tunnel texture v", tex.v); !p.empty()) return p;
        }
    return {};
}

std::string Problem() {
    std::string problem = SceneProblem();
    return problem.empty() ? EffectProblem() : problem;
}

// ----- the run ------------------------------------------------------------

class HostileSettings : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(testing::Engine(kSide, kSide));
        ASSERT_TRUE(testing::FreshScene());
        scene.startupStage = 2;  // the start-up read is not what is tested
        baseline_ = new SceneState(scene);
    }
    static void TearDownTestSuite() {
        delete baseline_;
        baseline_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(baseline_);
        std::ofstream("Text.TXT") << "Hostile";
    }

    // Every effect back to where a run starts, then shown.
    static void StartScenario() {
        scene = *baseline_;
        std::srand(1);
        ForgetSettingsBuffers();
        InitParticleSystem(TheParticleSystem());
        InitStars();
        if (FireSystem* fire = TheFireSystem()) fire->KillAll();
    }
    static void ShowEverything() {
        scene.tunnelShown = scene.tunnelRebuildPending = 2;
        scene.starsHidden = scene.textHidden = 0;
        scene.particlesShown = scene.tilesShown = scene.fireShown = 2;
    }
    void OpenRecord(const std::vector<std::uint8_t>& record) {
        std::ofstream("hostile.qrl", std::ios::binary)
            .write(reinterpret_cast<const char*>(record.data()), static_cast<std::streamsize>(record.size()));
        platform_->openAnswers.push_back("hostile.qrl");
        OpenSettings();
        ASSERT_TRUE(platform_->messages.empty()) << platform_->messages.front().text;
    }
    // Empty when the frames ran with every position finite.
    static std::string RenderAndCheck(int frames) {
        ShowEverything();
        for (int i = 0; i < frames; ++i) {
            RenderFrame();
            if (auto problem = Problem(); !problem.empty())
                return problem + " after frame " + std::to_string(i + 1);
        }
        return {};
    }

    testing::TempDirectory folder_;
    ScopedScriptedPlatform platform_;
    static SceneState* baseline_;
};

SceneState* HostileSettings::baseline_ = nullptr;

std::vector<std::uint8_t> RecordWithField(std::size_t index, std::int32_t value) {
    std::vector<std::uint8_t> record(kSettingsFileSize, 0);
    for (int i = 0; i < 4; ++i) record[8 * index + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
    return record;
}

TEST_F(HostileSettings, EveryFieldAtEveryExtremeValue) {
    for (const SettingsField& field : SettingsFields()) {
        for (std::int32_t value : kExtremes) {
            StartScenario();
            OpenRecord(RecordWithField(field.index, value));
            const std::string problem = RenderAndCheck(kFramesPerRecord);
            ASSERT_EQ(problem, "") << field.name << " (field " << field.index << ") = " << value;
        }
    }
}

TEST_F(HostileSettings, RandomRecords) {
    std::mt19937 random(20240611);
    std::vector<std::uint8_t> record(kSettingsFileSize);
    for (int n = 0; n < kRandomRecords; ++n) {
        for (auto& byte : record) byte = static_cast<std::uint8_t>(random());
        StartScenario();
        OpenRecord(record);
        const std::string problem = RenderAndCheck(kFramesPerRecord);
        ASSERT_EQ(problem, "") << "random record " << n;
    }
}

// The fields of the record are swept above; texture and list names, the
// view size and the start-up stage are the program's own bookkeeping, which
// no file or panel sets.
bool SweptAlready(const FieldInfo& info) {
    for (const SettingsField& field : SettingsFields())
        if (std::string_view(field.name) == info.name) return true;
    return false;
}
bool IsBookkeeping(const FieldInfo& info) {
    static const std::set<std::string> names = {"viewWidth", "viewHeight", "startupStage", "textListBase"};
    const std::string name = info.name;
    return names.count(name) || name.ends_with("Texture");
}

TEST_F(HostileSettings, EveryLiveParameterAtEveryExtremeValue) {
    for (const FieldInfo& info : SceneFieldTable()) {
        if (info.kind == FieldKind::Text || IsBookkeeping(info) || SweptAlready(info)) continue;
        for (std::int32_t value : kExtremes) {
            if (info.kind == FieldKind::UInt32 && value < 0) continue;
            StartScenario();
            ASSERT_FALSE(SetSceneField(scene, info.name, std::to_string(value))) << info.name;
            const std::string problem = RenderAndCheck(2);
            ASSERT_EQ(problem, "") << info.name << " = " << value;
        }
    }
}

}  // namespace
}  // namespace quorbel
