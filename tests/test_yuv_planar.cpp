// Our conversion to planar Y'CbCr against FFmpeg's general converter set up
// the way the encoders used it before: every layout, both standards, both
// ranges, on a frame with smooth colour changes across the whole gamut, and
// with the frame's bottom-up row order.
#include <gtest/gtest.h>

extern "C" {
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "video/yuv_planar.h"

namespace quorbel {
namespace {

constexpr int kWidth = 360;
constexpr int kHeight = 240;

std::vector<std::uint8_t> SmoothFrame() {
    std::vector<std::uint8_t> frame(4 * kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            std::uint8_t* p = &frame[4 * (static_cast<std::size_t>(y) * kWidth + x)];
            p[0] = static_cast<std::uint8_t>(127.5 + 127.5 * std::sin(x * 0.05));
            p[1] = static_cast<std::uint8_t>(127.5 + 127.5 * std::cos(y * 0.03 + x * 0.01));
            p[2] = static_cast<std::uint8_t>(255 * y / (kHeight - 1));
            if (x < 8) p[0] = 255, p[1] = 0, p[2] = 0;  // pure blue: chroma at the very top
            p[3] = 0x5a;  // ignored
        }
    return frame;
}

AVFrame* Picture(AVPixelFormat format) {
    AVFrame* picture = av_frame_alloc();
    picture->format = format;
    picture->width = kWidth;
    picture->height = kHeight;
    EXPECT_EQ(av_frame_get_buffer(picture, 0), 0);
    return picture;
}

void ConvertWithLibrary(const std::vector<std::uint8_t>& frame, PlanarLayout layout, AVFrame* picture) {
    SwsContext* converter = sws_getContext(kWidth, kHeight, AV_PIX_FMT_BGR0, kWidth, kHeight,
                                           static_cast<AVPixelFormat>(picture->format), SWS_BICUBIC, nullptr,
                                           nullptr, nullptr);
    const int* weights = sws_getCoefficients(layout.bt709 ? SWS_CS_ITU709 : SWS_CS_ITU601);
    sws_setColorspaceDetails(converter, weights, 1, weights, layout.fullRange ? 1 : 0, 0, 1 << 16, 1 << 16);
    const std::uint8_t* top[1] = {frame.data() + 4L * kWidth * (kHeight - 1)};
    const int stride[1] = {-4 * kWidth};
    sws_scale(converter, top, stride, 0, kHeight, picture->data, picture->linesize);
    sws_freeContext(converter);
}

int LargestDifference(const AVFrame* a, const AVFrame* b, bool halfChromaRows) {
    int largest = 0;
    for (int plane = 0; plane < 3; ++plane) {
        const int width = plane ? kWidth / 2 : kWidth;
        const int height = plane && halfChromaRows ? kHeight / 2 : kHeight;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                largest = std::max(largest, std::abs(a->data[plane][y * a->linesize[plane] + x] -
                                                     b->data[plane][y * b->linesize[plane] + x]));
    }
    return largest;
}

TEST(PlanarYuv, MatchesTheLibraryConverterWithinOneLevel) {
    const auto frame = SmoothFrame();
    for (bool halfChromaRows : {false, true})
        for (bool fullRange : {false, true})
            for (bool bt709 : {false, true}) {
                const PlanarLayout layout{halfChromaRows, fullRange, bt709};
                const AVPixelFormat format = halfChromaRows ? AV_PIX_FMT_YUV420P : AV_PIX_FMT_YUV422P;
                AVFrame* expected = Picture(format);
                AVFrame* ours = Picture(format);
                ConvertWithLibrary(frame, layout, expected);
                BgrxToPlanarYuv(frame.data(), kWidth, kHeight, layout, ours->data, ours->linesize);
                EXPECT_LE(LargestDifference(expected, ours, halfChromaRows), 1)
                    << "4:2:" << (halfChromaRows ? 0 : 2) << (fullRange ? " full" : " studio") << " range, BT."
                    << (bt709 ? 709 : 601);
                av_frame_free(&expected);
                av_frame_free(&ours);
            }
}

TEST(PlanarYuv, FitsEvenSidesOnly) {
    EXPECT_TRUE(PlanarConversionFits(720, 480));
    EXPECT_FALSE(PlanarConversionFits(721, 480));
    EXPECT_FALSE(PlanarConversionFits(720, 481));
    EXPECT_FALSE(PlanarConversionFits(0, 0));
}

}  // namespace
}  // namespace quorbel
