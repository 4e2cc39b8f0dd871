// The picture at HD sizes looks like the 720 x 480 one, only sharper: the
// title keeps its height in the view and its shape, and each effect covers
// the same part of the view (measured in view heights, since a 16:9 view
// shows more at the sides than a 3:2 one); the fixed-size textures of the
// blurs follow the view. Rendered by the program, read back from PNG.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include <GL/gl.h>

#include "effects/blur.h"
#include "scene/frame_driver.h"
#include "scene/gl_setup.h"
#include "scene/scene_state.h"
#include "scene/view_scale.h"
#include "support/gl_test_env.h"
#include "support/process.h"

namespace quorbel {
namespace {

// What is lit in a picture, in units of the view's height, from its centre,
// within the middle of the view that both 3:2 and 16:9 views show (the
// radial blur repeats its picture one view width to each side, so near the
// edges a wider view shows other parts of those repeats).
constexpr double kSharedHalfWidth = 0.6;
struct Coverage {
    double left = 0, right = 0, bottom = 0, top = 0;  // bounding box of the lit pixels
    double area = 0;                                  // lit pixels / height^2
    int lit = 0;
};

Coverage Measure(const std::vector<std::uint8_t>& rgb, int width, int height, int threshold) {
    Coverage c;
    int minX = width, maxX = -1, minY = height, maxY = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (std::abs(x + 0.5 - width / 2.0) > kSharedHalfWidth * height) continue;
            const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            if (std::max({p[0], p[1], p[2]}) <= threshold) continue;
            ++c.lit;
            minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
    const double h = height;
    c.left = (minX - width / 2.0) / h, c.right = (maxX + 1 - width / 2.0) / h;
    c.top = (minY - height / 2.0) / h, c.bottom = (maxY + 1 - height / 2.0) / h;
    c.area = c.lit / (h * h);
    return c;
}

class ViewSizes : public ::testing::Test {
protected:
    // Runs in the scratch folder with the program's pictures linked in, away
    // from the start-up scene the source folder holds.
    void SetUp() override { testing::LinkDefaultPictures(); }
    Coverage Render(const std::string& options, int width, int height, int threshold = 40) {
        const std::string path = output_.path() + "/shot.png";
        const auto run = testing::RunQuorbel("--snapshot " + path + " --size " + std::to_string(width) + "x" +
                                             std::to_string(height) + " --seed 7 " + options);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        int w = 0, h = 0;
        std::vector<std::uint8_t> rgb;
        EXPECT_TRUE(testing::ReadPng(path, w, h, rgb)) << path;
        if (w != width || h != height) return {};
        return Measure(rgb, w, h, threshold);
    }
    testing::TempDirectory output_;
};

TEST(ViewScale, OneAtBothDvSizesAndTheFittedDesignElsewhere) {
    const struct {
        int width, height;
        float scale;
        int capture, feedback;  // the 128 and 512 pixel textures
    } cases[] = {
        {720, 480, 1.0f, 128, 512},   {720, 576, 1.0f, 128, 512},    {1280, 720, 1.5f, 192, 768},
        {1920, 1080, 2.25f, 288, 1152}, {3840, 2160, 4.5f, 576, 2304}, {2160, 3840, 3.0f, 384, 1536},
        {360, 240, 0.5f, 64, 256},    {4, 4, 4.0f / 720, 1, 3},      {0, 0, 1.0f, 128, 512},
    };
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(ViewScale(c.width, c.height), c.scale) << c.width << "x" << c.height;
        EXPECT_EQ(ScaledPixels(128, c.width, c.height), c.capture) << c.width << "x" << c.height;
        EXPECT_EQ(ScaledPixels(512, c.width, c.height), c.feedback) << c.width << "x" << c.height;
    }
}

TEST_F(ViewSizes, TitleKeepsItsHeightInTheViewAndItsShape) {
    const Coverage design = Render("--frames 2", 720, 480);
    ASSERT_GT(design.lit, 500);
    const double designHeight = design.bottom - design.top, designWidth = design.right - design.left;
    for (const auto& [width, height] : {std::pair{1280, 720}, std::pair{1920, 1080}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const Coverage hd = Render("--frames 2", width, height);
        EXPECT_NEAR((hd.bottom - hd.top) / designHeight, 1.0, 0.03) << "height, as a fraction of the view's";
        EXPECT_NEAR((hd.right - hd.left) / designWidth, 1.0, 0.03) << "width, in view heights";
        EXPECT_NEAR(hd.left / design.left, 1.0, 0.03) << "where it starts";
        EXPECT_NEAR(hd.top / design.top, 1.0, 0.03);
    }
}

GLint TextureWidth(GLuint name) {
    GLint width = 0;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    return width;
}

// The blurs' textures follow the view: made at its size, made again when
// the view (a window) changes size, and the scene goes on drawing.
TEST(ViewSizeTextures, BlurTexturesFollowTheView) {
    ASSERT_TRUE(testing::Engine(1280, 720));
    HeadlessEngine* engine = testing::FreshScene();
    ASSERT_EQ(engine->width(), 1280) << "this test needs the process's engine at 1280x720";
    scene.radialBlurOn = scene.blurActive = scene.radialText = 2;
    RenderFrame();
    EXPECT_EQ(TextureWidth(0), 192) << "the radial capture, 128 at 720x480";
    scene.radialBlurOn = 0;
    scene.motionBlurOn = scene.motionText = 2;
    RenderFrame();
    EXPECT_EQ(TextureWidth(scene.motionBlurTexture), 768) << "the motion texture, 512 at 720x480";
    ResizeGL(640, 360);
    RenderFrame();
    EXPECT_EQ(TextureWidth(scene.motionBlurTexture), 384);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    ResizeGL(1280, 720);
}

struct EffectScene {
    const char* name;
    std::string options;
};

TEST_F(ViewSizes, EachEffectIsVisibleAndCoversWhatItCoversAtTheDesignSize) {
    const EffectScene scenes[] = {
        {"particles", "--frames 30 --set textHidden=2 --set particlesShown=2"},
        {"fire", "--frames 30 --set textHidden=2 --set fireShown=2"},
        {"stars", "--frames 30 --set textHidden=2 --set starsHidden=0 --set starsToggleCount=1"},
        {"tiles", "--frames 10 --set textHidden=2 --set tilesShown=2 --set tile1TintOn=2 --set tile1Tint=3302600 "
                  "--set fireShown=2"},
        {"tunnel", "--frames 10 --set textHidden=2 --set tunnelShown=2 --set tunnelRebuildPending=2 "
                   "--set tunnelColourOn=2 --set tunnelColour=16777215"},
        {"radial blur", "--frames 20 --set radialBlurOn=2 --set blurActive=2 --set radialText=2 "
                        "--set blurFadeAlpha=100 --set blurLayerRed=1 --set blurLayerGreen=1 --set blurLayerBlue=1 "
                        "--set blurSeparation=20"},
        // A capture rate far above the frame rate captures on every frame;
        // the shift is in pixels of the design view and must grow with it.
        {"motion blur", "--frames 8 --set motionBlurOn=2 --set blurActive=2 --set motionText=2 --set blurRate=-100000 "
                        "--set extrudeDown=6 --set extrudeRight=12 --set textSpinY=2 --set textSpinSpeedY=20"},
    };
    for (const EffectScene& s : scenes) {
        SCOPED_TRACE(s.name);
        const Coverage design = Render(s.options, 720, 480, 24);
        ASSERT_GT(design.lit, 300) << "the effect shows at 720x480";
        const Coverage hd = Render(s.options, 1920, 1080, 24);
        EXPECT_GT(hd.lit, 300 * 2.25 * 2.25);
        // The same place and size in view heights.
        EXPECT_NEAR(hd.area / design.area, 1.0, 0.12);
        EXPECT_NEAR(hd.bottom - hd.top, design.bottom - design.top, 0.04);
        EXPECT_NEAR(hd.right - hd.left, design.right - design.left, 0.04);
        EXPECT_NEAR(hd.left, design.left, 0.04);
        EXPECT_NEAR(hd.top, design.top, 0.04);
    }
}

}  // namespace
}  // namespace quorbel
