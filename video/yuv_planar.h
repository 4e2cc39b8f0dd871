// The program's frames (bottom-up rows of blue, green, red and a fourth
// byte) as planar Y'CbCr: chroma halved across (4:2:2), across and down
// (4:2:0) or kept for every pixel (4:4:4), BT.601 or BT.709 weights, full
// or studio range, 8-bit samples or 10-bit ones in 16-bit words, and the
// fourth byte as an alpha plane where asked. The video library's general
// converter takes two to five times as long for these layouts, and on a
// machine with few processors the encoder's time is taken from the
// renderer.
#pragma once

#include <cstdint>

namespace quorbel {

struct PlanarLayout {
    bool halfChromaRows = false;  // 4:2:0 rather than 4:2:2
    bool fullRange = false;       // 0..255 rather than 16..235 (chroma 16..240), and so for 10 bits
    bool bt709 = false;           // the HD weights rather than the SD ones
    bool tenBits = false;         // samples of 0..1023 in 16-bit words of the machine's byte order
    bool fullChroma = false;      // 4:4:4: chroma for every pixel (then rows are never halved)
    bool alpha = false;           // a fourth plane from the fourth byte (4:4:4 only)
};

// Whether the conversion handles a frame of this size: even sides.
bool PlanarConversionFits(int width, int height);

// Converts one frame; `planes` and `strides` are the Y, Cb and Cr planes,
// and the alpha plane when the layout has one. Each chroma sample of 4:2:2
// and 4:2:0 is the mean of the two or four pixels it covers, as the
// library's converter makes it.
void BgrxToPlanarYuv(const std::uint8_t* bottomUp, int width, int height, PlanarLayout layout,
                     std::uint8_t* const* planes, const int* strides);

}  // namespace quorbel
