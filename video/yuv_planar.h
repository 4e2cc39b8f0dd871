// The program's frames (bottom-up rows of blue, green, red and an ignored
// byte) as planar Y'CbCr: chroma halved across (4:2:2) or across and down
// (4:2:0), BT.601 or BT.709 weights, full or studio range. The video
// library's general converter takes two to three times as long for these
// layouts, and on a machine with few processors the encoder's time is taken
// from the renderer.
#pragma once

#include <cstdint>

namespace quorbel {

struct PlanarLayout {
    bool halfChromaRows = false;  // 4:2:0 rather than 4:2:2
    bool fullRange = false;       // 0..255 rather than 16..235 (chroma 16..240)
    bool bt709 = false;           // the HD weights rather than the SD ones
};

// Whether the conversion handles a frame of this size: even sides.
bool PlanarConversionFits(int width, int height);

// Converts one frame; `planes` and `strides` are the Y, Cb and Cr planes.
// Each chroma sample is the mean of the two (4:2:2) or four (4:2:0) pixels
// it covers, as the library's converter makes it.
void BgrxToPlanarYuv(const std::uint8_t* bottomUp, int width, int height, PlanarLayout layout,
                     std::uint8_t* const planes[3], const int strides[3]);

}  // namespace quorbel
