#include "video/alpha_frames.h"

#include <GL/gl.h>

#include <algorithm>

#include "scene/coverage.h"
#include "scene/frame_driver.h"

namespace quorbel {

namespace {

// c / a on the 0..255 scale, rounded; c never exceeds a here.
std::uint8_t Unpremultiply(int channel, int alpha) {
    return static_cast<std::uint8_t>((channel * 255 + alpha / 2) / alpha);
}

}  // namespace

void ApplyCoverageAlpha(std::uint8_t* bgra, const std::uint8_t* marks, std::size_t pixels) {
    for (std::size_t i = 0; i < pixels; ++i, bgra += 4) {
        if (marks[i]) {
            bgra[3] = 255;
            continue;
        }
        const int alpha = std::max({bgra[0], bgra[1], bgra[2]});
        bgra[3] = static_cast<std::uint8_t>(alpha);
        if (alpha == 0 || alpha == 255) continue;
        bgra[0] = Unpremultiply(bgra[0], alpha);
        bgra[1] = Unpremultiply(bgra[1], alpha);
        bgra[2] = Unpremultiply(bgra[2], alpha);
    }
}

void ReadFrameWithAlpha(std::uint8_t* bgra, std::uint8_t* marks, int width, int height) {
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, bgra);
    glReadPixels(0, 0, width, height, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, marks);
    ApplyCoverageAlpha(bgra, marks, static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
}

AlphaSceneFrameSource::AlphaSceneFrameSource(int width, int height)
    : marks_(static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(height, 0))) {
    SetCoverageMarking(true);
}

AlphaSceneFrameSource::~AlphaSceneFrameSource() { SetCoverageMarking(false); }

void AlphaSceneFrameSource::RenderInto(std::uint8_t* pixels, int width, int height) {
    RenderFrame();
    const std::size_t pixelCount = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (marks_.size() < pixelCount) {
        std::fill(pixels, pixels + pixelCount * 4, 0);  // a frame of another size: transparent, never stale
        return;
    }
    ReadFrameWithAlpha(pixels, marks_.data(), width, height);
}

}  // namespace quorbel
