// Our conversion to planar Y'CbCr against FFmpeg's general converter set up
// the way the encoders used it before: every 8-bit layout, both standards,
// both ranges, and the 10-bit ones ProRes takes (alpha included), on a frame
// with smooth colour changes across the whole gamut, and with the frame's
// bottom-up row order.
#include <gtest/gtest.h>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>
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
            p[3] = static_cast<std::uint8_t>(x * 255 / (kWidth - 1));  // alpha, where kept
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
    SwsContext* converter = sws_getContext(kWidth, kHeight, layout.alpha ? AV_PIX_FMT_BGRA : AV_PIX_FMT_BGR0, kWidth, kHeight,
                                           static_cast<AVPixelFormat>(picture->format), SWS_BICUBIC, nullptr,
                                           nullptr, nullptr);
    const int* weights = sws_getCoefficients(layout.bt709 ? SWS_CS_ITU709 : SWS_CS_ITU601);
    sws_setColorspaceDetails(converter, weights, 1, weights, layout.fullRange ? 1 : 0, 0, 1 << 16, 1 << 16);
    const std::uint8_t* top[1] = {frame.data() + 4L * kWidth * (kHeight - 1)};
    const int stride[1] = {-4 * kWidth};
    sws_scale(converter, top, stride, 0, kHeight, picture->data, picture->linesize);
    sws_freeContext(converter);
}

int LargestDifference(const AVFrame* a, const AVFrame* b, PlanarLayout layout) {
    int largest = 0;
    const int bytes = layout.tenBits ? 2 : 1;
    for (int plane = 0; plane < (layout.alpha ? 4 : 3); ++plane) {
        const int width = plane && !layout.fullChroma ? kWidth / 2 : kWidth;
        const int height = plane && layout.halfChromaRows ? kHeight / 2 : kHeight;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const auto sample = [&](const AVFrame* f) {
                    const std::uint8_t* at = f->data[plane] + y * f->linesize[plane] + x * bytes;
                    return bytes == 2 ? at[0] | at[1] << 8 : at[0];
                };
                largest = std::max(largest, std::abs(sample(a) - sample(b)));
            }
    }
    return largest;
}

TEST(PlanarYuv, MatchesTheLibraryConverterWithinOneLevel) {
    const auto frame = SmoothFrame();
    std::vector<std::pair<PlanarLayout, AVPixelFormat>> cases;
    for (bool halfChromaRows : {false, true})
        for (bool fullRange : {false, true})
            for (bool bt709 : {false, true})
                cases.push_back({{halfChromaRows, fullRange, bt709},
                                 halfChromaRows ? AV_PIX_FMT_YUV420P : AV_PIX_FMT_YUV422P});
    for (bool bt709 : {false, true}) {
        cases.push_back({{.bt709 = bt709, .tenBits = true}, AV_PIX_FMT_YUV422P10LE});
        cases.push_back({{.bt709 = bt709, .tenBits = true, .fullChroma = true, .alpha = true}, AV_PIX_FMT_YUVA444P10LE});
    }
    for (const auto& [layout, format] : cases) {
        AVFrame* expected = Picture(format);
        AVFrame* ours = Picture(format);
        ConvertWithLibrary(frame, layout, expected);
        BgrxToPlanarYuv(frame.data(), kWidth, kHeight, layout, ours->data, ours->linesize);
        EXPECT_LE(LargestDifference(expected, ours, layout), 1)
            << av_get_pix_fmt_name(format) << (layout.fullRange ? " full" : " studio") << " range, BT."
            << (layout.bt709 ? 709 : 601);
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
