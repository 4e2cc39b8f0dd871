// Open and Save through the platform's choosers: what they ask, what a
// cancel does, what a loaded record brings back into effect, and that no
// failure, however it comes about, damages the files already there.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "commands/documents.h"
#include "support/scripted_platform.h"
#include "scene/scene_state.h"
#include "settings/settings_record.h"
#include "support/gl_test_env.h"
#include "support/process.h"

namespace quorbel {
namespace {

namespace fs = std::filesystem;

using testing::FileText;

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string RecordOf(const SceneState& state) {
    const SettingsBytes bytes = StoreSettingsRecord(state);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> LeftoverTemporaries() {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator("."))
        if (entry.path().filename().string().find(".saving-") != std::string::npos)
            found.push_back(entry.path().filename().string());
    return found;
}

class Documents : public ::testing::Test {
protected:
    void SetUp() override {
        ForgetSettingsBuffers();
        scene = SceneState{};
        RecreatePanelAfterOpen() = [this](UsedPanel panel, bool visible) { created_.emplace_back(panel, visible); };
    }
    void TearDown() override {
        RecreatePanelAfterOpen() = nullptr;
        scene = SceneState{};
    }
    // Opens `path` through the chooser, capturing what goes to stderr.
    std::string OpenThroughChooser(const std::string& path) {
        platform_->openAnswers.push_back(path);
        ::testing::internal::CaptureStderr();
        OpenSettings();
        return ::testing::internal::GetCapturedStderr();
    }

    testing::TempDirectory folder_;
    ScopedScriptedPlatform platform_;
    std::vector<std::pair<UsedPanel, bool>> created_;
};

TEST_F(Documents, CancelledChoosersReadAndWriteNothing) {
    WriteFile("Text.TXT", "Title");
    scene.particleCount = 123;
    scene.titleText.Assign("Mine");
    platform_->openAnswers.push_back(std::nullopt);
    platform_->openAnswers.push_back(std::string());
    platform_->saveAnswers.push_back(std::nullopt);
    platform_->saveAnswers.push_back(std::string());
    OpenSettings();
    OpenSettings();
    SaveSettings();
    SaveSettings();
    EXPECT_EQ(scene.particleCount, 123);
    EXPECT_EQ(scene.titleText.view(), "Mine");
    EXPECT_TRUE(created_.empty());
    EXPECT_TRUE(platform_->messages.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1) << "only Text.TXT";
    EXPECT_EQ(FileText("Text.TXT"), "Title");
}

TEST_F(Documents, SaveThenOpenBringsTheSceneAndTitleBack) {
    scene.titleText.Assign("Round Trip");
    scene.particleCount = 4321;
    scene.clearBlue = 0.25f;
    scene.textPosZ = -12.5f;
    platform_->saveAnswers.push_back("scene");  // no extension: ".qrl" is added
    SaveSettings();
    EXPECT_EQ(platform_->fileRequests.at(0).defaultExtension, "qrl");
    ASSERT_TRUE(fs::exists("scene.qrl"));
    EXPECT_EQ(fs::file_size("scene.qrl"), 1728u);
    EXPECT_EQ(FileText("Text.TXT"), "Round Trip");
    EXPECT_TRUE(LeftoverTemporaries().empty());
    platform_->saveAnswers.push_back("named.qrl");  // a name with an extension is kept
    SaveSettings();
    EXPECT_TRUE(fs::exists("named.qrl"));

    scene = SceneState{};
    EXPECT_EQ(OpenThroughChooser("scene.qrl"), "");
    EXPECT_EQ(scene.titleText.view(), "Round Trip");
    EXPECT_EQ(scene.particleCount, 4321);
    EXPECT_EQ(scene.clearBlue, 0.25f);
    EXPECT_EQ(scene.textPosZ, -12.0f);
    EXPECT_TRUE(platform_->messages.empty());
}

TEST_F(Documents, OpenRecreatesThePanelsOfTheUsedMarksInOrder) {
    WriteFile("Text.TXT", "T");
    SceneState saved;
    saved.particlesUsed = saved.textUsed = saved.starsUsed = saved.tunnelUsed = 2;
    saved.tilesUsed = saved.fireUsed = saved.blurUsed = 2;
    WriteFile("all.qrl", RecordOf(saved));
    scene.textPanelOpen = scene.particlePanelOpen = scene.starPanelOpen = scene.blurPanelOpen = 2;
    scene.fireToggleCount = 0;
    OpenThroughChooser("all.qrl");
    const std::vector<std::pair<UsedPanel, bool>> expected = {
        {UsedPanel::Particles, false}, {UsedPanel::Text, false},  {UsedPanel::Stars, false},
        {UsedPanel::Tunnel, false},    {UsedPanel::Tiles, false}, {UsedPanel::Fire, true},
        {UsedPanel::Blur, true},
    };
    EXPECT_EQ(created_, expected);
    EXPECT_EQ(scene.keyTarget, 4);
    EXPECT_EQ(scene.fireToggleCount, 1);
    EXPECT_EQ(scene.tunnelRebuildPending, 2);
    EXPECT_EQ(scene.particlePanelOpen, 0);

    // Marks below 2 are not "used": nothing of theirs is touched.
    SceneState textOnly;
    textOnly.textUsed = 2;
    textOnly.fireUsed = 1;
    WriteFile("text-only.qrl", RecordOf(textOnly));
    scene = SceneState{};
    created_.clear();
    OpenThroughChooser("text-only.qrl");
    EXPECT_EQ(created_, (std::vector<std::pair<UsedPanel, bool>>{{UsedPanel::Text, false}}));
    EXPECT_EQ(scene.fireShown, 0);
    EXPECT_EQ(scene.keyTarget, 0);
}

TEST_F(Documents, OpenFailuresChangeNothingAndSaySo) {
    WriteFile("good.qrl", RecordOf(SceneState{}));
    fs::create_directory("folder.qrl");
    struct Case {
        const char* what;
        std::function<void()> arrange;
        const char* chosen;
        const char* messageNames;
    };
    const Case cases[] = {
        {"missing settings file", [] { WriteFile("Text.TXT", "T"); }, "missing.qrl", "missing.qrl"},
        {"settings file is a folder", [] { WriteFile("Text.TXT", "T"); }, "folder.qrl", "folder.qrl"},
        {"settings file is a pipe (reading it would wait for ever)",
         [] {
             WriteFile("Text.TXT", "T");
             mkfifo("pipe.qrl", 0644);
         },
         "pipe.qrl", "not a regular file"},
        {"missing title file", [] { fs::remove("Text.TXT"); }, "good.qrl", "Text.TXT"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        scene = SceneState{};
        scene.particleCount = 55;
        scene.titleText.Assign("Kept");
        platform_->messages.clear();
        const std::string errors = OpenThroughChooser(c.chosen);
        EXPECT_NE(errors.find("\nOpen failed! "), std::string::npos) << errors;
        ASSERT_EQ(platform_->messages.size(), 1u);
        EXPECT_NE(platform_->messages[0].text.find(c.messageNames), std::string::npos) << platform_->messages[0].text;
        EXPECT_EQ(scene.particleCount, 55);
        EXPECT_EQ(scene.titleText.view(), "Kept");
        EXPECT_TRUE(created_.empty());
    }
}

TEST_F(Documents, FailedSaveLeavesThePreviousFilesByteIdentical) {
    // Each case starts from a folder and files that anyone may write, then
    // takes away exactly one thing.
    struct Case {
        const char* what;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {"read-only folder", [] { chmod(".", 0555); }},
        {"title file cannot be created",
         [] {
             fs::remove("Text.TXT");
             fs::create_directory("Text.TXT");
         }},
        {"settings file is a folder the user may write",
         [] {
             fs::remove("scene.qrl");
             fs::create_directory("scene.qrl");
             chmod("scene.qrl", 0777);
         }},
        {"settings file is read-only", [] { chmod("scene.qrl", 0444); }},
    };
    SceneState old;
    old.particleCount = 999;
    const std::string oldRecord = RecordOf(old);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile("scene.qrl", oldRecord);
        WriteFile("Text.TXT", "Old title");
        chmod(".", 0777);
        chmod("scene.qrl", 0666);
        chmod("Text.TXT", 0666);
        const std::string before = FileText("scene.qrl");
        c.arrange();
        scene.particleCount = 1;
        scene.titleText.Assign("New title");
        const std::string trouble = testing::InUnprivilegedChild([this]() -> std::string {
            ::testing::internal::CaptureStderr();
            const bool saved = SaveSettingsFile("scene.qrl");
            const std::string errors = ::testing::internal::GetCapturedStderr();
            if (saved) return "reported success";
            if (errors.find("\nOpen failed! ") == std::string::npos) return "nothing on stderr";
            if (platform_->messages.size() != 1 ||
                platform_->messages[0].text.find("previous files are unchanged") == std::string::npos)
                return "no message";
            return "";
        });
        chmod(".", 0755);
        EXPECT_EQ(trouble, "");
        if (fs::is_regular_file("scene.qrl")) {
            EXPECT_TRUE(FileText("scene.qrl") == before) << "the settings file changed";
        }
        if (fs::is_regular_file("Text.TXT")) {
            EXPECT_EQ(FileText("Text.TXT"), "Old title");
        }
        EXPECT_TRUE(LeftoverTemporaries().empty());
        fs::remove_all("scene.qrl");
        fs::remove_all("Text.TXT");
    }
}

TEST_F(Documents, SaveReplacesThroughALinkAndNeverUnderTheTitlesName) {
    fs::create_directory("real");
    WriteFile("real/target.qrl", "old");
    fs::create_symlink("real/target.qrl", "link.qrl");
    ASSERT_TRUE(SaveSettingsFile("link.qrl"));
    EXPECT_TRUE(fs::is_symlink("link.qrl"));
    EXPECT_EQ(fs::file_size("real/target.qrl"), 1728u);

    WriteFile("Text.TXT", "Title");
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveSettingsFile("Text.TXT"));
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(FileText("Text.TXT"), "Title");
    EXPECT_EQ(platform_->messages.size(), 1u);
}

}  // namespace
}  // namespace quorbel
