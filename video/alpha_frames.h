// Frames with a transparent background. The scene is rendered as usual over
// black; each pixel's opacity then comes from what drew it:
//   - a solid layer (the title's faces, the tunnel, the tiles: marked in the
//     stencil buffer while the frame renders) makes it opaque;
//   - otherwise its brightest channel does, so a glow (particles, fire,
//     stars, blurs) is as opaque as it is bright and nothing drawn is fully
//     transparent, while a pixel nothing lit stays fully transparent.
// The colour is then stored as straight (not premultiplied) alpha, which is
// what every format offered with transparency expects: QuickTime Animation,
// ProRes 4444, PNG and VP9. Laid over black such a frame gives back exactly
// the normal render; laid over footage, solid faces hide it and glows
// brighten it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "video/recording.h"

namespace quorbel {

// Sets the alpha of `pixels` BGRA pixels from the marks (one byte a pixel,
// non-zero where a solid layer drew) and the colours, and turns the colours
// into straight alpha. Ignores whatever alpha the pixels held.
void ApplyCoverageAlpha(std::uint8_t* bgra, const std::uint8_t* marks, std::size_t pixels);

// The frame driver with coverage marking on, then the frame read back as
// BGRA with the alpha above: width x height rows, bottom row first. The GL
// context must be current and its surface must have a stencil buffer.
class AlphaSceneFrameSource : public FrameSource {
public:
    // Allocates the marks for a width x height frame and turns marking on
    // (off again when the source goes).
    AlphaSceneFrameSource(int width, int height);
    ~AlphaSceneFrameSource() override;
    AlphaSceneFrameSource(const AlphaSceneFrameSource&) = delete;
    AlphaSceneFrameSource& operator=(const AlphaSceneFrameSource&) = delete;

    void RenderInto(std::uint8_t* pixels, int width, int height) override;

private:
    std::vector<std::uint8_t> marks_;
};

// Reads back the current frame (already rendered with marking on) into
// `bgra` with the alpha above; `marks` holds width x height bytes.
void ReadFrameWithAlpha(std::uint8_t* bgra, std::uint8_t* marks, int width, int height);

}  // namespace quorbel
