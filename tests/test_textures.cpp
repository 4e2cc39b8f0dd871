// The scene set-up's texture sets and the user's texture slots.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "effects/fire.h"
#include "effects/stars.h"
#include "imaging/textures.h"
#include "support/scripted_platform.h"
#include "scene/gl_setup.h"
#include "scene/scene_state.h"
#include "support/gl_test_env.h"

namespace quorbel {
namespace {

namespace fs = std::filesystem;

// A copy of the program's pictures in a temporary folder, which becomes the
// current directory, so single pictures can be taken away.
class PictureFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testing::Engine());
        for (const char* folder : {"Data", "gfx"}) {
            fs::path source = fs::path(testing::SourceDir()) / folder;
            if (!fs::exists(source / "bubble.bmp") && !fs::exists(source / "lines.bmp"))
                GTEST_SKIP() << "the default pictures are not generated yet";
            fs::copy(source, fs::path(folder_.path()) / folder, fs::copy_options::recursive);
        }
        scene = SceneState{};
    }
    testing::TempDirectory folder_;
};

TEST_F(PictureFolder, MissingLinesPictureStopsBeforeTheFireStarsAndParticles) {
    fs::remove("gfx/lines.bmp");
    CreateFireSystem(0);  // as if no earlier set-up ran in this process
    stars = {};
    EXPECT_FALSE(InitScene());
    EXPECT_EQ(TheFireSystem(), nullptr);
    EXPECT_EQ(scene.starsHidden, 0);
    EXPECT_EQ(scene.particleCount, 0);
    EXPECT_EQ(stars[10].dist, 0.0f) << "stars not initialised";
    EXPECT_EQ(scene.tileTexturesA[0], 0u);
}

TEST_F(PictureFolder, MissingPlasmaMakesNoLaterSet) {
    fs::remove("Data/plasma.bmp");
    EXPECT_FALSE(InitScene());
    EXPECT_EQ(scene.baseTextures[0], 0u);
    EXPECT_EQ(scene.tileTexturesA[0], 0u);
    EXPECT_EQ(scene.tileTexturesB[0], 0u);
}

TEST_F(PictureFolder, ParticleSetNeedsOnlyOneOfItsPictures) {
    fs::remove("Data/bubble.bmp");
    fs::remove("Data/p2.bmp");
    EXPECT_TRUE(InitScene());
    fs::remove("Data/P3.bmp");
    scene = SceneState{};
    EXPECT_FALSE(InitScene());
}

TEST_F(PictureFolder, ReplacingASlotMakesANewTextureAndDropsTheOld) {
    ASSERT_TRUE(InitScene());
    ASSERT_EQ(LoadTunnelTexture("gfx/weave.bmp"), 1);
    std::uint32_t first = scene.tunnelTexture;
    ASSERT_EQ(LoadTunnelTexture("Gfx\\WEAVE.bmp"), 1) << "Windows-style names resolve";
    EXPECT_NE(scene.tunnelTexture, first);
    EXPECT_TRUE(glIsTexture(scene.tunnelTexture));
    EXPECT_FALSE(glIsTexture(first));
    EXPECT_EQ(LoadTunnelTexture("gfx/none.bmp"), 0);
    EXPECT_TRUE(glIsTexture(scene.tunnelTexture)) << "a failed load leaves the slot as it was";
}

TEST_F(PictureFolder, TileChooserReportsAnUnreadablePictureEachTimeItIsChosen) {
    ASSERT_TRUE(InitScene());
    std::ofstream("broken.bmp") << "not a picture";
    ScopedScriptedPlatform platform;
    const std::string chosen = fs::absolute("broken.bmp").string();
    platform->openAnswers = {chosen, chosen};
    std::uint32_t before = scene.tileTexture1();
    EXPECT_EQ(ChooseTileTexture1(), 1);
    EXPECT_EQ(ChooseTileTexture1(), 1);
    EXPECT_EQ(scene.tileTexture1(), before);
    ASSERT_EQ(platform->messages.size(), 4u) << "the loader's message, then the chooser's, twice";
    EXPECT_EQ(platform->messages[0].text, "Unknown DIB file format.\nFile: " + chosen);
    EXPECT_EQ(platform->messages[1].text, kUnableToLoadTextureMessage);
    EXPECT_EQ(platform->messages[2].text, platform->messages[0].text);
    EXPECT_EQ(platform->fileRequests.at(0).title, "Gfx");
}

// Live texture objects, found by asking GL about every name it could have given.
int LiveTextures() {
    int live = 0;
    for (GLuint name = 1; name < 4096; ++name) live += glIsTexture(name) ? 1 : 0;
    return live;
}

TEST_F(PictureFolder, ReloadedSetsAndSlotsReplaceTheirTextures) {
    ASSERT_TRUE(InitScene());
    ASSERT_EQ(LoadTextTexture("Data/Reflectings.bmp"), 1);
    const int before = LiveTextures();
    for (int i = 0; i < 3; ++i) {  // as switching text styles does
        ASSERT_TRUE(LoadBaseTextures());
        ASSERT_EQ(LoadTextTexture("Data/plasma.bmp"), 1);
        ASSERT_TRUE(LoadParticleTextureSet());
    }
    EXPECT_EQ(LiveTextures(), before);
}

TEST_F(PictureFolder, CancelledChooserSwitchesTheSlotsOff) {
    ASSERT_TRUE(InitScene());
    scene.starCustomTex = scene.tile1CustomTex = scene.tile2CustomTex = scene.fireCustomTex = 2;
    scene.tile2TexFallback = 2;
    ScopedScriptedPlatform platform;  // answers cancel
    EXPECT_EQ(ChooseFireTexture(), 0);
    EXPECT_EQ(scene.starCustomTex, 0);
    EXPECT_EQ(scene.tile1CustomTex, 0);
    EXPECT_EQ(scene.tile2CustomTex, 0);
    EXPECT_EQ(scene.tile2TexFallback, 0);
    EXPECT_EQ(scene.fireCustomTex, 0);
    EXPECT_EQ(scene.tunnelTexFallback, 2);
    EXPECT_TRUE(platform->messages.empty());
}

TEST_F(PictureFolder, ChosenPictureFillsTheSlot) {
    ASSERT_TRUE(InitScene());
    ScopedScriptedPlatform platform;
    platform->openAnswers.push_back(fs::absolute("Data/plasma.bmp").string());
    EXPECT_EQ(ChooseStarTexture(), 1);
    EXPECT_TRUE(glIsTexture(scene.starTexture));
    GLint width = 0;
    glBindTexture(GL_TEXTURE_2D, scene.starTexture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 256);
}

}  // namespace
}  // namespace quorbel
