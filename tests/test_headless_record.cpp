// Recording from the command line, without a display: the defaults, DV's
// rate, the demo scenes, every container and encoder this FFmpeg offers at
// HD sizes and exact rates, with and without transparency, transparent
// recordings laid over black and grey by FFmpeg's overlay filter, and picture
// sequences. The files are judged by ffprobe and ffmpeg.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "support/bmp_oracle.h"
#include "support/gl_test_env.h"
#include "support/process.h"
#include "support/video_probe.h"
#include "video/container.h"
#include "video/encoder_catalog.h"

namespace quorbel {
namespace {

namespace fs = std::filesystem;
using testing::Quoted;
using testing::kMovingScene;
using testing::RunQuorbel;

// The codec name ffprobe reports for each encoder.
std::string ProbedCodec(const std::string& encoder) {
    if (encoder.rfind("prores", 0) == 0) return "prores";
    if (encoder == "libx264") return "h264";
    if (encoder == "libvpx-vp9") return "vp9";
    return encoder;
}

bool HasAlphaChannel(const std::string& pixelFormat) {
    return pixelFormat.find("yuva") == 0 || pixelFormat.find("rgba") != std::string::npos ||
           pixelFormat.find("argb") != std::string::npos || pixelFormat.find("bgra") != std::string::npos;
}

class HeadlessRecord : public ::testing::Test {
protected:
    // Runs in the scratch folder with the program's pictures linked in, away
    // from the start-up scene the source folder holds.
    void SetUp() override { testing::LinkDefaultPictures(); }
    std::string Out(const std::string& name) const { return output_.File(name); }
    testing::TempDirectory output_;
};

// DV keeps its television system's rate: 525-line DV is 30000/1001 even when
// the recording is asked at 30.
TEST_F(HeadlessRecord, NtscDvKeepsItsTelevisionRate) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
    const std::string path = Out("ntsc-dv.avi");
    const auto run = RunQuorbel("--record " + path + " --frames 6 --standard ntsc --codec dvvideo" + kMovingScene);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto probe = testing::Probe(path);
    ASSERT_TRUE(probe.ok) << probe.error;
    EXPECT_EQ(probe.codec, "dvvideo");
    EXPECT_EQ(probe.width, 720);
    EXPECT_EQ(probe.height, 480);
    EXPECT_EQ(probe.frameRate, "30000/1001");
    EXPECT_EQ(probe.frames, 6);
    EXPECT_EQ(testing::DecodeErrors(path), "");
    const auto frames = testing::DecodeRgbFrames(path, 720, 480);
    ASSERT_EQ(frames.size(), 6u);
    for (std::size_t i = 1; i < frames.size(); ++i)
        EXPECT_GT(testing::CountChangedPixels(frames[i - 1], frames[i]), 50) << "frame " << i;
}

// The demo scenes under examples/ still open and move: a change to the
// settings format or a panel would otherwise leave them quietly broken.
TEST_F(HeadlessRecord, EveryDemoSceneRecordsMovingFrames) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
    std::filesystem::current_path(testing::SourceDir());  // the title of the scenes is its Text.TXT
    int scenes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(testing::SourceDir() + "/examples")) {
        if (entry.path().extension() != ".qrl") continue;
        ++scenes;
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        const std::string path = Out(name + ".avi");
        const auto run = RunQuorbel("--record " + path + " --settings " + testing::Quoted(entry.path().string()) +
                                    " --frames 16 --codec ffv1 --seed 1");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const auto frames = testing::DecodeRgbFrames(path, 720, 480);
        ASSERT_EQ(frames.size(), 16u);
        EXPECT_GT(testing::CountLitPixels(frames[15]), 2000);
        // The particles of one scene take a few frames to come out.
        EXPECT_GT(testing::CountChangedPixels(frames[0], frames[15]), 200);
    }
    EXPECT_GE(scenes, 4);
}

TEST_F(HeadlessRecord, DefaultIsTenSecondsOfNtscInTheSuggestedEncoderWithProgress) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
    const std::string path = Out("demo.avi");
    const auto run = RunQuorbel("--record " + path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto probe = testing::Probe(path);
    ASSERT_TRUE(probe.ok) << probe.error;
    EXPECT_EQ(probe.codec, "mjpeg");
    EXPECT_EQ(probe.frameRate, "30/1");
    EXPECT_EQ(probe.frames, 300);
    EXPECT_EQ(probe.width, 720);
    EXPECT_EQ(probe.height, 480);
    EXPECT_NE(run.err.find("recorded 150 of 300 frames\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("wrote " + path + ": 300 frames, 10.00 s of video"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(" MB; recorded in "), std::string::npos) << run.err;
}

struct Rate {
    const char* asked;
    const char* probed;
};

TEST_F(HeadlessRecord, EveryOfferedFormatGivesTheSizeRateCodecPixelsAndFramesAsked) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
    const Rate rates[] = {{"60", "60/1"}, {"30000/1001", "30000/1001"}, {"25", "25/1"}, {"50", "50/1"}, {"24", "24/1"}};
    constexpr int kFrames = 4, kWidth = 1280, kHeight = 720;
    int recordings = 0;
    std::vector<std::string> missing;
    for (const ContainerSpec& container : ContainerCatalog()) {
        if (container.kind == ContainerKind::Avi) continue;  // the AVI tests cover it
        for (const EncoderSpec& spec : EncoderCatalog()) {
            if (!ContainerHolds(container, spec)) continue;
            if (!EncoderPresent(spec)) {
                missing.push_back(spec.id);
                continue;
            }
            for (const bool alpha : {false, true}) {
                if (alpha && !CarriesAlpha(spec)) continue;
                const Rate& rate = rates[recordings++ % std::size(rates)];
                const std::string name = std::string(spec.id) + (alpha ? "-alpha" : "") + container.extension;
                SCOPED_TRACE(name + " at " + rate.asked);
                const std::string path = Out(name);
                const auto run =
                    RunQuorbel("--record " + Quoted(path) + " --codec " + spec.id + " --size 1280x720 --fps " +
                               rate.asked + " --frames " + std::to_string(kFrames) + (alpha ? " --alpha" : "") +
                               kMovingScene);
                ASSERT_EQ(run.exitCode, 0) << run.err;
                const std::string probed = container.pictureSequence ? SequencePattern(path) : path;
                const auto probe = testing::Probe(probed);
                ASSERT_TRUE(probe.ok) << probe.error;
                EXPECT_EQ(probe.videoStreams, 1);
                EXPECT_EQ(probe.otherStreams, 0);
                EXPECT_EQ(probe.codec, ProbedCodec(spec.id));
                EXPECT_EQ(probe.width, kWidth);
                EXPECT_EQ(probe.height, kHeight);
                if (!container.pictureSequence) {
                    EXPECT_EQ(probe.frameRate, rate.probed);  // pictures carry no rate
                }
                EXPECT_EQ(probe.frames, kFrames);
                EXPECT_EQ(testing::DecodeErrors(probed), "");
                // VP9 keeps its transparency beside the picture, marked in the
                // file; only the libvpx decoder brings it back.
                const bool besideThePicture = spec.id == std::string("libvpx-vp9");
                if (besideThePicture) {
                    EXPECT_EQ(probe.alphaMode, alpha);
                } else {
                    EXPECT_EQ(HasAlphaChannel(probe.pixelFormat), alpha) << probe.pixelFormat;
                }
                if (!alpha) continue;
                const auto frames =
                    testing::DecodeRgbaFrames(probed, kWidth, kHeight, besideThePicture ? "-c:v libvpx-vp9" : "");
                ASSERT_EQ(frames.size(), static_cast<std::size_t>(kFrames));
                const auto& rgba = frames.back();
                int clear = 0, opaque = 0;
                for (std::size_t i = 3; i < rgba.size(); i += 4) clear += rgba[i] == 0, opaque += rgba[i] == 255;
                EXPECT_GT(clear, kWidth * kHeight / 2) << "most of the view is background";
                EXPECT_GT(opaque, 1000) << "the title's faces are opaque";
            }
        }
    }
    EXPECT_GE(recordings, 5);
    if (!missing.empty()) {
        std::string names;
        for (const auto& name : missing) names += " " + name;
        GTEST_SKIP() << "this FFmpeg lacks the encoders" << names << "; the others were checked";
    }
}

// ----- laid over other pictures by FFmpeg's overlay filter ---------------------------

class Overlay : public HeadlessRecord {
protected:
    static constexpr int kWidth = 720, kHeight = 480, kFrames = 8;
    static constexpr std::size_t kFrameBytes = static_cast<std::size_t>(kWidth) * kHeight * 3;

    // The scene recorded plainly (losslessly) and with transparency.
    void Record(const std::string& scene, const std::string& transparentName, const std::string& codec) {
        const std::string common = " --frames " + std::to_string(kFrames) + " --seed 4" + scene;
        const auto plain = RunQuorbel("--record " + Quoted(Out("plain.avi")) + " --codec rawvideo" + common);
        ASSERT_EQ(plain.exitCode, 0) << plain.err;
        const auto transparent =
            RunQuorbel("--record " + Quoted(Out(transparentName)) + " --alpha --codec " + codec + common);
        ASSERT_EQ(transparent.exitCode, 0) << transparent.err;
        plain_ = testing::DecodeRgbFrames(Out("plain.avi"), kWidth, kHeight);
        ASSERT_EQ(plain_.size(), static_cast<std::size_t>(kFrames));
    }
    // The transparent recording over a plain colour, in RGB throughout so
    // that nothing but the overlay itself changes a pixel.
    std::vector<std::vector<std::uint8_t>> Over(const std::string& colour, const std::string& transparentName) const {
        std::string input = "-i " + Quoted(Out(transparentName));
        // Pictures carry no rate: read them at the recording's.
        if (ContainerForName(transparentName).pictureSequence)
            input = "-framerate 30 -i " + Quoted(SequencePattern(Out(transparentName)));
        return testing::FfmpegFrames("-f lavfi -i color=" + colour + ":s=720x480:r=30 " + input +
                                         " -filter_complex '[0][1]overlay=format=rgb:shortest=1' -f rawvideo "
                                         "-pix_fmt rgb24 -",
                                     kFrameBytes);
    }
    std::vector<std::vector<std::uint8_t>> plain_;
};

int Brightest(const std::vector<std::uint8_t>& rgb, std::size_t pixel) {
    return std::max({rgb[pixel * 3], rgb[pixel * 3 + 1], rgb[pixel * 3 + 2]});
}

// The lossless formats with transparency: laid over black they are the
// plain render; over grey the title's faces keep their colour and the
// background is the grey, untouched.
TEST_F(Overlay, TitleOverBlackIsThePlainRenderAndOverGreyKeepsItsFaces) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
    for (const char* name : {"title.mov", "title.png"}) {
        SCOPED_TRACE(name);
        Record(kMovingScene, name, std::string(name).ends_with(".mov") ? "qtrle" : "png");
        const auto overBlack = Over("black", name);
        ASSERT_EQ(overBlack.size(), plain_.size());
        for (std::size_t f = 0; f < plain_.size(); ++f)
            EXPECT_LE(testing::MaxChannelDifference(overBlack[f], plain_[f]), 2);
        const auto overGrey = Over("0x808080", name);
        ASSERT_EQ(overGrey.size(), plain_.size());
        const auto& grey = overGrey.back();
        const auto& plain = plain_.back();
        int faces = 0, background = 0;
        for (std::size_t p = 0; p < plain.size() / 3; ++p) {
            const int brightness = Brightest(plain, p);
            for (int c = 0; c < 3; ++c) {
                if (brightness > 60) {
                    EXPECT_NEAR(grey[p * 3 + c], plain[p * 3 + c], 2) << "face pixel " << p;
                }
                if (brightness == 0) {
                    EXPECT_NEAR(grey[p * 3 + c], 128, 1) << "background pixel " << p;
                }
            }
            faces += brightness > 60;
            background += brightness == 0;
            if (::testing::Test::HasFailure()) return;
        }
        EXPECT_GT(faces, 2000);
        EXPECT_GT(background, kWidth * kHeight / 2);
    }
}

// Glows are not solid: over black they are exactly the plain render, and
// over grey each brightens it in its own colour. (Straight alpha cannot add
// light outright: a glow's dimmer channels tint what lies behind towards
// the glow's colour, the least they can while black stays exact.)
TEST_F(Overlay, GlowsBrightenGreyInTheirOwnColour) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
    Record(" --set textHidden=2 --set particlesShown=2 --set fireShown=2", "glow.mov", "qtrle");
    const auto overBlack = Over("black", "glow.mov");
    ASSERT_EQ(overBlack.size(), plain_.size());
    EXPECT_LE(testing::MaxChannelDifference(overBlack.back(), plain_.back()), 2);
    const auto overGrey = Over("0x808080", "glow.mov");
    ASSERT_EQ(overGrey.size(), plain_.size());
    const auto& grey = overGrey.back();
    const auto& plain = plain_.back();
    int glowing = 0;
    for (std::size_t p = 0; p < plain.size() / 3; ++p) {
        const int brightest = Brightest(plain, p);
        if (brightest < 24) continue;
        ++glowing;
        int channel = 0;
        while (plain[p * 3 + channel] != brightest) ++channel;
        EXPECT_GE(grey[p * 3 + channel] + 1, std::max(128, brightest)) << "pixel " << p;
        if (::testing::Test::HasFailure()) return;
    }
    EXPECT_GT(glowing, 200) << "the fire and the particles drew";
}

// ----- picture sequences ------------------------------------------------------------

TEST_F(HeadlessRecord, PictureSequenceReplacesAnOlderLongerOneAndKeepsOtherFiles) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
    const std::string name = Out("100% title.png");
    auto first = RunQuorbel("--record " + Quoted(name) + " --frames 5 --size 64x48");
    ASSERT_EQ(first.exitCode, 0) << first.err;
    std::ofstream(Out("100% title_final.png")) << "mine";
    std::ofstream(Out("100% title_00009.png")) << "mine too";  // not part of the run
    auto second = RunQuorbel("--record " + Quoted(name) + " --frames 3 --size 64x48");
    ASSERT_EQ(second.exitCode, 0) << second.err;
    EXPECT_NE(second.err.find("import the pictures at 30 frames per second"), std::string::npos) << second.err;
    const std::vector<std::string> expected = {"100% title_00001.png", "100% title_00002.png",
                                               "100% title_00003.png", "100% title_00009.png",
                                               "100% title_final.png"};
    EXPECT_EQ(output_.Names(), expected);
    const auto probe = testing::Probe(SequencePattern(name));
    ASSERT_TRUE(probe.ok) << probe.error;
    EXPECT_EQ(probe.frames, 3);
    // A folder that does not exist: the message, and no pictures anywhere.
    const auto nowhere = RunQuorbel("--record " + Quoted(Out("missing/take.png")) + " --frames 2 --size 64x48");
    EXPECT_EQ(nowhere.exitCode, 1);
    EXPECT_NE(nowhere.err.find("Check filename " + Out("missing/take.png") + "."), std::string::npos) << nowhere.err;
    EXPECT_EQ(output_.Names(), expected);
}

}  // namespace
}  // namespace quorbel
