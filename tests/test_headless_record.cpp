// Recording from the command line, without a display: every standard with
// every encoder this FFmpeg offers, the defaults, and clear failures. The
// files are judged by ffprobe and ffmpeg.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/gl_test_env.h"
#include "support/process.h"
#include "support/video_probe.h"
#include "video/encoder_catalog.h"

namespace quorbel {
namespace {

using testing::RunQuorbel;

// Spinning title text: every frame differs from the one before.
constexpr const char* kMovingScene = " --set textSpinY=2 --set textSpinSpeedY=20 --seed 1";

class HeadlessRecord : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::current_path(testing::SourceDir()); }
    std::string Out(const std::string& name) const { return output_.File(name); }
    testing::TempDirectory output_;  // made before SetUp moves back to the sources
};

TEST_F(HeadlessRecord, EveryStandardWithEveryOfferedEncoderGivesTheFramesAsked) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
    const struct {
        const char* standard;
        int width, height, rate;
        const char* frameRate;
    } standards[] = {{"ntsc", 720, 480, 30, "30/1"}, {"pal", 720, 576, 25, "25/1"}};
    constexpr int kFrames = 6;
    for (const auto& standard : standards) {
        const auto offered = AvailableEncoders(standard.width, standard.height, standard.rate);
        EXPECT_GE(offered.size(), 6u) << "Motion JPEG, MPEG-4, DV, FFV1, HuffYUV and uncompressed";
        for (const EncoderSpec* encoder : offered) {
            const std::string id = encoder->id;
            SCOPED_TRACE(std::string(standard.standard) + " " + id);
            const std::string path = Out(standard.standard + ("-" + id + ".avi"));
            const auto run = RunQuorbel("--record " + path + " --frames " + std::to_string(kFrames) + " --standard " +
                                        standard.standard + " --codec " + id + kMovingScene);
            ASSERT_EQ(run.exitCode, 0) << run.err;
            const auto probe = testing::Probe(path);
            ASSERT_TRUE(probe.ok) << probe.error;
            EXPECT_EQ(probe.videoStreams, 1);
            EXPECT_EQ(probe.otherStreams, 0);
            EXPECT_EQ(probe.codec, id);
            EXPECT_EQ(probe.width, standard.width);
            EXPECT_EQ(probe.height, standard.height);
            // DV keeps its television system's rate: 525-line DV is 30000/1001.
            const bool ntscDv = id == "dvvideo" && standard.rate == 30;
            EXPECT_EQ(probe.frameRate, ntscDv ? "30000/1001" : standard.frameRate);
            EXPECT_EQ(probe.frames, kFrames);
            EXPECT_EQ(testing::DecodeErrors(path), "");
            const auto frames = testing::DecodeRgbFrames(path, standard.width, standard.height);
            ASSERT_EQ(frames.size(), static_cast<std::size_t>(kFrames));
            for (std::size_t i = 1; i < frames.size(); ++i)
                EXPECT_GT(testing::CountChangedPixels(frames[i - 1], frames[i]), 50) << "frame " << i;
        }
    }
}

// The demo scenes under examples/ still open and move: a change to the
// settings format or a panel would otherwise leave them quietly broken.
TEST_F(HeadlessRecord, EveryDemoSceneRecordsMovingFrames) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
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

TEST_F(HeadlessRecord, SizeWithoutAStandardIsRoundedDownAndRecordedAtThirty) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
    const std::string path = Out("odd");
    const auto run = RunQuorbel("--record " + path + " --size 722x481 --frames 2 --codec ffv1");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto probe = testing::Probe(path + ".avi");
    ASSERT_TRUE(probe.ok) << probe.error;
    EXPECT_EQ(probe.width, 720);
    EXPECT_EQ(probe.height, 480);
    EXPECT_EQ(probe.frameRate, "30/1");
    EXPECT_EQ(probe.frames, 2);
}

TEST_F(HeadlessRecord, CodecListShowsWhatThisSizeCanUseSuggestedFirst) {
    auto ntsc = RunQuorbel("--codec list");
    ASSERT_EQ(ntsc.exitCode, 0) << ntsc.err;
    EXPECT_NE(ntsc.out.find("720x480 at 30"), std::string::npos) << ntsc.out;
    EXPECT_NE(ntsc.out.find("\n  mjpeg "), std::string::npos) << ntsc.out;
    EXPECT_LT(ntsc.out.find("mjpeg"), ntsc.out.find("rawvideo"));
    EXPECT_NE(ntsc.out.find("dvvideo"), std::string::npos);
    auto other = RunQuorbel("--codec list --size 640x480");
    ASSERT_EQ(other.exitCode, 0) << other.err;
    EXPECT_EQ(other.out.find("dvvideo"), std::string::npos) << "no DV system is 640 x 480";
}

TEST_F(HeadlessRecord, NothingAskedOrNothingPossibleWritesNoFile) {
    const struct {
        std::string arguments;
        int exitCode;
        std::string says;
    } cases[] = {
        {"--record " + Out("zero.avi") + " --frames 0", 0, "nothing recorded"},
        {"--record " + Out("missing/take.avi") + " --frames 3", 1,
         "AVI Engine failed to initialize. Check filename " + Out("missing/take.avi") +
             ".A disk error occurred while opening the file."},
        {"--record " + Out("a.avi") + " --standard secam", 2, "--standard"},
        {"--record " + Out("a.avi") + " --codec cinepak", 2, "--codec list"},
        {"--record " + Out("a.avi") + " --quality 0", 2, "--quality"},
        {"--record " + Out("a.avi") + " --quality 101", 2, "--quality"},
        {"--record ''", 2, "--record"},
        {"--record " + Out("a.avi") + " --snapshot " + Out("a.png"), 2, "cannot be combined"},
        {"--record " + Out("a.avi") + " --codec dvvideo --size 640x480", 2, "offered: mjpeg"},
        {"--record " + Out("a.avi") + " --size 2x2", 2, "at least 4 pixels"},
        {"--snapshot " + Out("a.png") + " --frames 0", 2, "--frames"},
    };
    for (const auto& c : cases) {
        const auto run = RunQuorbel(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.arguments << "\n" << run.err;
    }
    EXPECT_TRUE(output_.Names().empty());
}

}  // namespace
}  // namespace quorbel
