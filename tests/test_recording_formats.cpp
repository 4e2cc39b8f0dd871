// What a recording's file name, rate and transparency turn into, without
// rendering anything: the container chosen by the extension, the names of a
// picture sequence, frame rates as typed, the encoder table checked against
// FFmpeg's own muxers, and the straight alpha made from coverage.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
}

#include "video/alpha_frames.h"
#include "video/avi_writer.h"
#include "video/container.h"
#include "video/custom_recording.h"
#include "video/encoder_catalog.h"
#include "video/frame_rate.h"

namespace quorbel {
namespace {

TEST(RecordingNames, ExtensionChoosesTheContainerAndOtherNamesStayAvi) {
    const struct {
        const char* given;
        const char* kept;  // after EnsureAviExtension
        ContainerKind kind;
    } cases[] = {
        {"title.mov", "title.mov", ContainerKind::QuickTime},
        {"title.MOV", "title.MOV", ContainerKind::QuickTime},
        {"share.mp4", "share.mp4", ContainerKind::Mp4},
        {"web.WebM", "web.WebM", ContainerKind::WebM},
        {"/out/frames.png", "/out/frames.png", ContainerKind::PngSequence},
        {"clip.AVI", "clip.AVI.avi", ContainerKind::Avi},  // the program's own rule for AVI names is kept
        {"clip.mov.bak", "clip.mov.bak.avi", ContainerKind::Avi},
        {"/films.mp4/clip", "/films.mp4/clip.avi", ContainerKind::Avi},  // a folder's name does not count
        {"mov", "mov.avi", ContainerKind::Avi},
        {"clip", "clip.avi", ContainerKind::Avi},
        {"myavi", "myavi", ContainerKind::Avi},  // "avi" anywhere in the file's own name keeps it
        {"/home/david/clip", "/home/david/clip.avi", ContainerKind::Avi},
        {"", ".avi", ContainerKind::Avi},
    };
    for (const auto& c : cases) {
        AviWriter writer;
        writer.fileName = c.given;
        writer.EnsureAviExtension();
        EXPECT_EQ(writer.fileName, c.kept) << c.given;
        EXPECT_EQ(writer.container().kind, c.kind) << c.given;
    }
}

TEST(RecordingNames, PictureSequenceNamesAreNumberedAndPercentSignsStayLiteral) {
    EXPECT_EQ(SequenceFrameName("/out/title.png", 1), "/out/title_00001.png");
    EXPECT_EQ(SequenceFrameName("/out/title.png", 123456), "/out/title_123456.png");
    EXPECT_EQ(SequenceFrameName("/a.b/title", 2), "/a.b/title_00002");
    EXPECT_EQ(SequencePattern("/out/title.png"), "/out/title_%05d.png");
    // FFmpeg would read "%d" in a name as the place of the number.
    EXPECT_EQ(SequencePattern("/x%d/100%.png"), "/x%%d/100%%_%05d.png");
}

TEST(RecordingSizes, FromFourPixelsToUhdEitherWayRound) {
    for (auto [width, height] : {std::pair{4, 4}, {3840, 2160}, {2160, 3840}})
        EXPECT_FALSE(CheckRecordingSize(width, height)) << width << "x" << height;
    for (auto [width, height] : {std::pair{3, 4}, {4, 3}, {3841, 100}, {3840, 2161}})
        EXPECT_TRUE(CheckRecordingSize(width, height)) << width << "x" << height;
}

TEST(RecordingRates, WholeFractionalAndTelevisionRates) {
    const struct {
        const char* text;
        int frames, seconds;  // 0: refused
    } cases[] = {
        {"24", 24, 1},          {"25", 25, 1},       {"60", 60, 1},      {"30000/1001", 30000, 1001},
        {"29.97", 30000, 1001}, {"23.976", 24000, 1001}, {"59.94", 60000, 1001}, {"50/2", 25, 1},
        {"240", 240, 1},        {"241", 0, 0},       {"0", 0, 0},        {"-25", 0, 0},
        {"30.5", 0, 0},         {"1/0", 0, 0},       {"", 0, 0},         {"25fps", 0, 0},
        {"99999999999", 0, 0},  {"30/", 0, 0},       {"/30", 0, 0},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto rate = ParseFrameRate(c.text, error);
        if (c.frames == 0) {
            EXPECT_FALSE(rate) << c.text;
            EXPECT_FALSE(error.empty()) << c.text;
            continue;
        }
        ASSERT_TRUE(rate) << c.text << ": " << error;
        EXPECT_EQ(*rate, (FrameRate{c.frames, c.seconds})) << c.text;
    }
    EXPECT_EQ(FrameRateText({30000, 1001}), "30000/1001");
    EXPECT_EQ(FrameRateText({25, 1}), "25");
}

// Our table says which container holds which encoder; FFmpeg's muxers must
// agree, or a recording would fail (or write a file nothing reads) after
// the user chose it.
TEST(RecordingCatalog, EveryContainerHoldsWhatTheTableOffersAndAlphaFormatsHaveAlpha) {
    int pairs = 0;
    for (const ContainerSpec& container : ContainerCatalog()) {
        const AVOutputFormat* muxer = av_guess_format(container.muxer, nullptr, nullptr);
        ASSERT_TRUE(muxer) << container.muxer;
        for (const EncoderSpec& spec : EncoderCatalog()) {
            if (!ContainerHolds(container, spec)) continue;
            const AVCodec* codec = avcodec_find_encoder_by_name(spec.id);
            if (!codec) continue;  // not in this FFmpeg: never offered
            ++pairs;
            const int answer = avformat_query_codec(muxer, codec->id, FF_COMPLIANCE_NORMAL);
            EXPECT_TRUE(answer == 1 || (answer == AVERROR_PATCHWELCOME && container.pictureSequence))
                << spec.id << " in " << container.extension << ": " << answer;
        }
    }
    EXPECT_GE(pairs, 6);
    for (const EncoderSpec& spec : EncoderCatalog()) {
        if (!CarriesAlpha(spec)) continue;
        const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(spec.alphaFormat);
        ASSERT_TRUE(descriptor) << spec.id;
        EXPECT_TRUE(descriptor->flags & AV_PIX_FMT_FLAG_ALPHA) << spec.id << ": " << descriptor->name;
        EXPECT_FALSE(ContainerHolds(AviContainer(), spec)) << "AVI recordings stay as they were";
    }
}

TEST(RecordingCatalog, ContainerRateAndTransparencyDecideWhatIsOffered) {
    const ContainerSpec& mov = ContainerForName("a.mov");
    const ContainerSpec& mp4 = ContainerForName("a.mp4");
    auto ids = [](const RecordingFormat& format) {
        std::vector<std::string> names;
        for (const EncoderSpec* spec : AvailableEncoders(format)) names.push_back(spec->id);
        return names;
    };
    // The AVI list is what it always was for the DV sizes.
    const auto ntsc = ids({&AviContainer(), 720, 480, {30, 1}, false});
    EXPECT_EQ(ntsc, ids({nullptr, 720, 480, {30, 1}, false}));
    EXPECT_NE(std::find(ntsc.begin(), ntsc.end(), "dvvideo"), ntsc.end());
    // DV at 525 lines also when asked at its true rate, never at 60.
    const auto exact = ids({&AviContainer(), 720, 480, {30000, 1001}, false});
    EXPECT_NE(std::find(exact.begin(), exact.end(), "dvvideo"), exact.end());
    const auto fast = ids({&AviContainer(), 720, 480, {60, 1}, false});
    EXPECT_EQ(std::find(fast.begin(), fast.end(), "dvvideo"), fast.end());
    // Nothing in AVI or MPEG-4 keeps transparency; everything offered with it does.
    EXPECT_TRUE(ids({&AviContainer(), 1920, 1080, {60, 1}, true}).empty());
    EXPECT_TRUE(ids({&mp4, 1920, 1080, {60, 1}, true}).empty());
    for (const EncoderSpec* spec : AvailableEncoders({&mov, 1920, 1080, {60, 1}, true})) {
        const auto format = FormatFor(*spec, {&mov, 1920, 1080, {60, 1}, true});
        ASSERT_TRUE(format);
        EXPECT_EQ(format->pixelFormat, spec->alphaFormat);
        EXPECT_EQ(format->timeBase.num, 1);
        EXPECT_EQ(format->timeBase.den, 60);
    }
}

// ----- straight alpha from coverage ----------------------------------------------

TEST(CoverageAlpha, SolidIsOpaqueGlowIsAsOpaqueAsItIsBrightNothingIsClear) {
    const struct {
        std::uint8_t b, g, r, mark;
        std::uint8_t wantB, wantG, wantR, wantA;
    } cases[] = {
        {10, 20, 30, 1, 10, 20, 30, 255},      // solid face, dark: kept, opaque
        {0, 0, 0, 1, 0, 0, 0, 255},            // solid and black (a tile over black) stays opaque
        {0, 0, 0, 0, 0, 0, 0, 0},              // nothing drawn
        {0, 50, 100, 0, 0, 128, 255, 100},     // orange glow: its brightest channel is its opacity
        {255, 255, 255, 0, 255, 255, 255, 255},  // a white-hot glow hides what is behind
        {1, 0, 0, 0, 255, 0, 0, 1},            // the faintest glow is still not fully clear
    };
    for (const auto& c : cases) {
        std::uint8_t pixel[4] = {c.b, c.g, c.r, 77};
        ApplyCoverageAlpha(pixel, &c.mark, 1);
        EXPECT_EQ(pixel[0], c.wantB);
        EXPECT_EQ(pixel[1], c.wantG);
        EXPECT_EQ(pixel[2], c.wantR);
        EXPECT_EQ(pixel[3], c.wantA) << int(c.b) << "," << int(c.g) << "," << int(c.r);
    }
}

// Laid over black, a straight-alpha pixel is colour x alpha: for every glow
// colour that must give back the rendered colour, to the nearest level.
TEST(CoverageAlpha, OverBlackEveryGlowGivesBackTheRenderedColour) {
    const std::uint8_t unmarked = 0;
    int worst = 0;
    for (int alpha = 1; alpha < 256; ++alpha) {
        for (int channel = 0; channel <= alpha; ++channel) {
            std::uint8_t pixel[4] = {static_cast<std::uint8_t>(channel), static_cast<std::uint8_t>(alpha), 0, 0};
            ApplyCoverageAlpha(pixel, &unmarked, 1);
            ASSERT_EQ(pixel[3], alpha);
            const double overBlack = pixel[0] * pixel[3] / 255.0;
            worst = std::max(worst, static_cast<int>(std::lround(std::abs(overBlack - channel) * 100)));
        }
    }
    EXPECT_LE(worst, 50) << "hundredths of a level";
}

}  // namespace
}  // namespace quorbel
