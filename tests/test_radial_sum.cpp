// The radial layers summed on the processor: the same pixels as the layers
// blended one by one on the software renderer, saturation instead of
// wrap-around however many layers there are, and a refusal, not garbage,
// for coordinates it cannot follow.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "effects/radial_overlay.h"
#include "effects/radial_sum.h"
#include "scene/gl_setup.h"
#include "scene/render_path.h"
#include "support/gl_test_env.h"

namespace quorbel {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kPictureTexels = kRadialPictureSize * kRadialPictureSize;

struct Sum {
    Bytes rgba;
    bool done = false;
};

Sum SumOf(const Bytes& picture, const std::vector<RadialLayer>& layers, int width = 16, int height = 8) {
    RadialSumRequest request;
    request.picture = picture.data();
    request.layers = layers.data();
    request.layerCount = static_cast<int>(layers.size());
    request.viewWidth = request.width = width;
    request.viewHeight = request.height = height;
    Sum sum{Bytes(static_cast<std::size_t>(width) * height * 4, 0x55), false};
    RadialSummer summer;
    sum.done = summer.Sum(request, sum.rgba.data());
    return sum;
}

TEST(RadialSum, SaturatesAt255HoweverManyLayersAddUp) {
    // 258 full layers of white add 258 x 255, which wraps 16 bits to 254.
    for (int count : {1, 2, 257, 258, 1000}) {
        const Sum sum = SumOf(Bytes(kPictureTexels, 255), std::vector<RadialLayer>(count, {0.0f, 255}));
        ASSERT_TRUE(sum.done);
        EXPECT_TRUE(std::all_of(sum.rgba.begin(), sum.rgba.end(), [](std::uint8_t v) { return v == 255; })) << count;
    }
    // Half-transparent layers over mid grey: 64 each (Multiply8(128, 128)), three of them 192.
    const Sum three = SumOf(Bytes(kPictureTexels, 128), std::vector<RadialLayer>(3, {0.0f, 128}));
    ASSERT_TRUE(three.done);
    EXPECT_EQ(three.rgba[0], 192);
    EXPECT_EQ(three.rgba[3], 192) << "alpha adds alpha x alpha";
}

TEST(RadialSum, LayersThatRoundToNothingAddNothing) {
    const Sum sum = SumOf(Bytes(kPictureTexels, 255), std::vector<RadialLayer>(50, {0.1f, 0}));
    ASSERT_TRUE(sum.done);
    EXPECT_TRUE(std::all_of(sum.rgba.begin(), sum.rgba.end(), [](std::uint8_t v) { return v == 0; }));
}

TEST(RadialSum, RefusesWhatItCannotFollowAndWritesNothing) {
    const Bytes picture(kPictureTexels, 200);
    for (float inset : {1e30f, -1e9f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        const Sum sum = SumOf(picture, {{0.0f, 10}, {inset, 10}});
        EXPECT_FALSE(sum.done) << inset;
        EXPECT_TRUE(std::all_of(sum.rgba.begin(), sum.rgba.end(), [](std::uint8_t v) { return v == 0x55; }));
    }
    RadialSumRequest outside;
    outside.picture = picture.data();
    outside.viewWidth = outside.viewHeight = 8;
    outside.left = 4;
    outside.width = 5;  // one column past the view
    outside.height = 8;
    Bytes rgba(5 * 8 * 4);
    RadialSummer summer;
    EXPECT_FALSE(summer.Sum(outside, rgba.data()));
}

TEST(RadialSum, EightBitArithmeticRoundsAsTheBlenderDoes) {
    // Products of levels, and colour applied through a fraction of 255:
    // values read back from the software renderer's blending.
    EXPECT_EQ(Multiply8(255, 255), 255);
    EXPECT_EQ(Multiply8(152, 229), 136);  // 136.502 rounds down there
    EXPECT_EQ(Multiply8(128, 128), 64);
    EXPECT_EQ(Lerp8(0, 255, 128), 128);
    EXPECT_EQ(Tint(13, 0.5f), 7);   // 6.5 after the trip through 1/255
    EXPECT_EQ(Tint(5, 0.5f), 2);    // 2.5 to even
    EXPECT_EQ(UnitToByte(255.0f), 255);  // colours are clamped, as OpenGL clamps them
    EXPECT_EQ(UnitToByte(-3.0f), 0);
    EXPECT_EQ(UnitToByte(std::nanf("")), 0);
}

// ----- against the renderer ------------------------------------------------------------

class RadialOverlay : public ::testing::Test {
protected:
    void SetUp() override {
        engine_ = testing::Engine();
        ASSERT_NE(engine_, nullptr);
        DetectDriverSupport();
        if (!SumRadialLayersOnProcessor()) GTEST_SKIP() << "the layers are summed on llvmpipe only";
        std::srand(4);
        Bytes picture(kPictureTexels);
        for (auto& texel : picture) texel = static_cast<std::uint8_t>(std::rand() % 256);
        glGenTextures(1, &capture_);
        glBindTexture(GL_TEXTURE_2D, capture_);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, kRadialPictureSize, kRadialPictureSize, 0, GL_LUMINANCE,
                     GL_UNSIGNED_BYTE, picture.data());
        glViewport(0, 0, engine_->width(), engine_->height());
        for (GLenum cap : {GL_LIGHTING, GL_FOG, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_SCISSOR_TEST}) glDisable(cap);
    }
    void TearDown() override {
        if (capture_) glDeleteTextures(1, &capture_);
    }
    // The overlay's state, as the radial blur sets it up, over a grey background.
    void Begin() const {
        glClearColor(0.1f, 0.2f, 0.3f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_TEXTURE_2D);
        glDisable(GL_DEPTH_TEST);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glEnable(GL_BLEND);
        glBindTexture(GL_TEXTURE_2D, capture_);
        BeginOrthoView();
    }
    static GLubyte Level(float unit) { return static_cast<GLubyte>(std::lround(unit * 255.0f)); }
    Bytes Quads(const std::vector<RadialLayer>& layers, const float (&colour)[3]) const {
        Begin();
        glBegin(GL_QUADS);
        for (const RadialLayer& layer : layers) {
            const float s = layer.inset;
            glColor4ub(Level(colour[0]), Level(colour[1]), Level(colour[2]), layer.alpha);
            glTexCoord2f(s, 1 - s), glVertex2f(0, 0);
            glTexCoord2f(s, s), glVertex2f(0, 600);
            glTexCoord2f(1 - s, s), glVertex2f(740, 600);
            glTexCoord2f(1 - s, 1 - s), glVertex2f(740, 0);
        }
        glEnd();
        EndOrthoView();
        return engine_->ReadPixels();
    }
    Bytes Summed(const std::vector<RadialLayer>& layers, const float (&colour)[3]) const {
        Begin();
        EXPECT_TRUE(DrawSummedRadialLayers(layers.data(), static_cast<int>(layers.size()), colour));
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), capture_) << "the capture stays bound";
        EndOrthoView();
        return engine_->ReadPixels();
    }
    HeadlessEngine* engine_ = nullptr;
    GLuint capture_ = 0;
};

TEST_F(RadialOverlay, SumsToThePixelsOfTheBlendedLayers) {
    // Spreads that magnify, shrink to the centre, mirror and repeat the capture.
    std::vector<RadialLayer> layers;
    for (int i = 0; i < 60; ++i) layers.push_back({-0.3f + 0.037f * static_cast<float>(i), static_cast<std::uint8_t>(90 - i)});
    // Colours that are whole levels, so the quads' glColor4ub carries them exactly.
    const float colours[][3] = {{1, 1, 1}, {51 / 255.0f, 128 / 255.0f, 1}};
    for (const auto& colour : colours) {
        const Bytes quads = Quads(layers, colour), summed = Summed(layers, colour);
        ASSERT_EQ(quads.size(), summed.size());
        std::size_t off = 0;
        int largest = 0;
        for (std::size_t i = 0; i < quads.size(); ++i) {
            const int difference = std::abs(quads[i] - summed[i]);
            off += difference != 0;
            largest = std::max(largest, difference);
        }
        EXPECT_LE(largest, 1) << "colour " << colour[0];
        EXPECT_LE(off, quads.size() / 1000) << "colour " << colour[0];
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RadialOverlay, LeavesTheLayersToTheQuadsWhereTheStateIsNotPlain) {
    const std::vector<RadialLayer> layers(5, {0.0f, 100});
    const float white[3] = {1, 1, 1};
    for (GLenum cap : {GL_LIGHTING, GL_FOG, GL_TEXTURE_GEN_S, GL_ALPHA_TEST}) {
        Begin();
        glEnable(cap);
        EXPECT_FALSE(DrawSummedRadialLayers(layers.data(), 5, white)) << cap;
        glDisable(cap);
        EndOrthoView();
    }
    Begin();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    EXPECT_FALSE(DrawSummedRadialLayers(layers.data(), 5, white)) << "another filter";
    EndOrthoView();
    EXPECT_EQ(testing::CountLitPixels(engine_->ReadPixels(), 80), 0) << "nothing drawn when refused";
}

}  // namespace
}  // namespace quorbel
