// Shared pieces of the effect tests: a fixture with a fresh scene past the
// start-up and without the text, plain textures so that pixels depend on the
// effect rather than on a picture, and a way to leave an error pending as a
// rejected upload would.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "scene/scene_composition.h"
#include "scene/scene_state.h"
#include "support/gl_test_env.h"

namespace quorbel::testing {

// A 4 x 4 texture of one colour; needs the context current.
inline GLuint MakeSolidTexture(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < 16; ++i) pixels.insert(pixels.end(), {red, green, blue});
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return name;
}

inline GLuint BoundTexture() {
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return static_cast<GLuint>(name);
}

inline void DrainGlErrors() {
    while (glGetError() != GL_NO_ERROR) {
    }
}

// GL_TEXTURE_BINDING_2D is a query, not a capability: enabling it is an
// invalid enum, which leaves an error pending.
inline void RaiseGlError() { glEnable(GL_TEXTURE_BINDING_2D); }

// Each channel of `pixel` within `tolerance` of red, green, blue.
inline ::testing::AssertionResult RgbNear(Rgb pixel, int red, int green, int blue, int tolerance = 2) {
    if (std::abs(pixel.r - red) <= tolerance && std::abs(pixel.g - green) <= tolerance &&
        std::abs(pixel.b - blue) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << pixel.r << ", " << pixel.g << ", " << pixel.b << " instead of "
                                         << red << ", " << green << ", " << blue;
}

class EffectTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine_ = FreshScene();
        ASSERT_TRUE(engine_);
        ASSERT_TRUE(glIsTexture(scene.baseTextures[2])) << "the default pictures in Data/ and gfx/ are missing";
        scene.startupStage = 2;
        scene.textHidden = 2;
        DrainGlErrors();
    }
    static void Frames(int count) {
        for (int i = 0; i < count; ++i) RenderScene();
    }
    // Draws `frames` more frames and keeps the last one for Pixel and Lit;
    // y counts from the bottom.
    const std::vector<std::uint8_t>& Capture(int frames = 0) {
        Frames(frames);
        frame_ = engine_->ReadPixels();
        return frame_;
    }
    Rgb Pixel(int x, int y) const { return PixelAt(frame_, engine_->width(), x, y); }
    int Lit(int threshold = 16) const { return CountLitPixels(frame_, threshold); }
    int Width() const { return engine_->width(); }
    int Height() const { return engine_->height(); }

    HeadlessEngine* engine_ = nullptr;
    std::vector<std::uint8_t> frame_;
};

}  // namespace quorbel::testing
