// The recording loop: frames handed to the encoding thread in order, the
// progress each recording reports, stopping early, failing writes, and the
// live scene recorded exactly as rendered, paused or not.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <sys/resource.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <thread>
#include <utility>

#include "support/scripted_platform.h"
#include "scene/scene_state.h"
#include "support/gl_test_env.h"
#include "support/video_probe.h"
#include "video/avi_writer.h"
#include "video/encoder_catalog.h"
#include "video/frame_pipeline.h"
#include "video/recording.h"

namespace quorbel {
namespace {

namespace fs = std::filesystem;

// A slow consumer makes the producer wait for buffers: if a buffer were
// handed out again before it was consumed, a frame would arrive overwritten.
// With no patience the ordinary-priority thread takes over at the first
// wait, part way through: the frames must still come once each, in order.
TEST(FramePipeline, FramesArriveInOrderWithTheirOwnContents) {
    constexpr std::size_t kBytes = 4096;
    for (const auto patience : {FramePipeline::kDefaultPatience, std::chrono::milliseconds(0)}) {
        std::vector<int> seen;
        bool intact = true;
        FramePipeline pipeline(
            kBytes, 3,
            [&](const std::uint8_t* frame) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                for (std::size_t i = 0; i < kBytes; ++i) intact = intact && frame[i] == frame[0];
                seen.push_back(frame[0]);
                return frame[0] != 7;
            },
            patience);
        for (int i = 0; i < 40; ++i) {
            std::memset(pipeline.Acquire(), i, kBytes);
            pipeline.Submit();
        }
        pipeline.Finish();
        std::vector<int> expected(40);
        for (int i = 0; i < 40; ++i) expected[static_cast<std::size_t>(i)] = i;
        EXPECT_EQ(seen, expected);
        EXPECT_TRUE(intact);
        EXPECT_EQ(pipeline.consumed(), 40);
        EXPECT_EQ(pipeline.failures(), 1);
        // (With patience, a busy machine may still make it take over.)
        if (patience.count() == 0) {
            EXPECT_TRUE(pipeline.handedOver());
        }
    }
}

// ----- the loop with made-up frames -------------------------------------------------

constexpr int kWidth = 720;
constexpr int kHeight = 480;

class StripeSource : public FrameSource {
public:
    int rendered = 0;
    void RenderInto(std::uint8_t* pixels, int width, int height) override {
        const std::size_t bytes = static_cast<std::size_t>(width) * height * 4;
        std::memset(pixels, 40, bytes);
        std::memset(pixels + (static_cast<std::size_t>(rendered) * 7919 % (bytes - 3000)), 250, 3000);
        ++rendered;
    }
};

class ScriptedObserver : public RecordingObserver {
public:
    std::vector<std::pair<int, int>> calls;  // (index, total) of BeforeFrame
    int stopAfter = -1;                      // frames after which StopRequested says yes
    void BeforeFrame(int index, int total) override { calls.emplace_back(index, total); }
    bool StopRequested() override { return stopAfter >= 0 && static_cast<int>(calls.size()) >= stopAfter; }
};

class RecordingLoop : public ::testing::Test {
protected:
    // A writer for `name` in the test folder, 720 x 480 at 30.
    AviWriter& NewWriter(const char* name) {
        writer_ = std::make_unique<AviWriter>();
        writer_->fileName = folder_.path() + "/" + name;
        writer_->SetBitmapInfoFromView(kWidth, kHeight);
        return *writer_;
    }
    // Answers the chooser with encoder `id`.
    void Choose(const char* id) {
        const auto offered = AvailableEncoders(kWidth, kHeight, 30);
        for (std::size_t i = 0; i < offered.size(); ++i)
            if (id == std::string(offered[i]->id)) platform_->compressorAnswers.push_back(i);
        ASSERT_FALSE(platform_->compressorAnswers.empty()) << id << " is not offered";
    }
    std::size_t FilesInFolder() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_.path()), {}));
    }

    testing::TempDirectory folder_;
    ScopedScriptedPlatform platform_;
    std::unique_ptr<AviWriter> writer_;
    StripeSource source_;
    ScriptedObserver observer_;
};

TEST_F(RecordingLoop, NoFramesAskedRecordsNothingAndAsksNothing) {
    for (int count : {0, -3}) {
        platform_->compressorAnswers = {0};
        const auto outcome = Record(NewWriter("none.avi"), count, source_, observer_);
        EXPECT_FALSE(outcome.opened);
        EXPECT_EQ(platform_->compressorAnswers.size(), 1u) << "the chooser was not shown";
    }
    EXPECT_EQ(source_.rendered, 0);
    EXPECT_TRUE(platform_->messages.empty());
    EXPECT_EQ(FilesInFolder(), 0u);
}

TEST_F(RecordingLoop, StoppingEarlyKeepsACompleteShorterFile) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
    Choose("mjpeg");
    observer_.stopAfter = 5;
    const auto outcome = Record(NewWriter("short.avi"), 20, source_, observer_);
    EXPECT_TRUE(outcome.saved);
    EXPECT_TRUE(outcome.stoppedEarly);
    EXPECT_EQ(outcome.framesRecorded, 5);
    EXPECT_EQ(source_.rendered, 5);
    const auto probe = testing::Probe(writer_->fileName);
    ASSERT_TRUE(probe.ok) << probe.error;
    EXPECT_EQ(probe.frames, 5);
    EXPECT_EQ(testing::DecodeErrors(writer_->fileName), "");
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(RecordingLoop, StoppedBeforeTheFirstFrameLeavesNoFile) {
    Choose("mjpeg");
    observer_.stopAfter = 0;
    const auto outcome = Record(NewWriter("never.avi"), 20, source_, observer_);
    EXPECT_TRUE(outcome.opened);
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(source_.rendered, 0);
    EXPECT_TRUE(platform_->messages.empty());
    EXPECT_EQ(FilesInFolder(), 0u);
}

TEST_F(RecordingLoop, EachRecordingReportsProgressOverItsOwnFrames) {
    for (int count : {3, 5}) {
        Choose("mjpeg");
        EXPECT_TRUE(Record(NewWriter("take.avi"), count, source_, observer_).saved);
    }
    const std::vector<std::pair<int, int>> expected = {{0, 3}, {1, 3}, {2, 3}, {0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 5}};
    EXPECT_EQ(observer_.calls, expected);
}

// A file-size limit stands in for a full disk.
TEST_F(RecordingLoop, FailedWriteStopsTheRecordingWithOneMessageAndNoFile) {
    Choose("rawvideo");
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = previous;
    limited.rlim_cur = 3'000'000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const auto outcome = Record(NewWriter("full.avi"), 60, source_, observer_);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(outcome.writeFailed);
    EXPECT_FALSE(outcome.saved);
    EXPECT_LT(source_.rendered, 60) << "the frames after a failed write are not rendered for nothing";
    ASSERT_EQ(platform_->messages.size(), 2u);
    EXPECT_EQ(platform_->messages[0].text, "Unable to write data to stream.");
    EXPECT_EQ(platform_->messages[1].text.rfind("The AVI file ", 0), 0u) << platform_->messages[1].text;
    EXPECT_EQ(FilesInFolder(), 0u);
}

// ----- the live scene -----------------------------------------------------------------

// The scene's frames as read back, kept beside the recording to compare.
class KeepingSceneSource : public SceneFrameSource {
public:
    std::vector<std::vector<std::uint8_t>> kept;
    void RenderInto(std::uint8_t* pixels, int width, int height) override {
        SceneFrameSource::RenderInto(pixels, width, height);
        kept.emplace_back(pixels, pixels + static_cast<std::size_t>(width) * height * 4);
    }
};

// Bottom-up BGRx as top-down RGB, the way the decoder gives frames back.
std::vector<std::uint8_t> AsDecoded(const std::vector<std::uint8_t>& bgrx, int width, int height) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* from = &bgrx[(static_cast<std::size_t>(height - 1 - y) * width + x) * 4];
            std::uint8_t* to = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            to[0] = from[2], to[1] = from[1], to[2] = from[0];
        }
    return rgb;
}

TEST_F(RecordingLoop, PausedSceneIsRecordedMovingAndExactlyAsRendered) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
    HeadlessEngine* engine = testing::FreshScene();
    ASSERT_TRUE(engine);
    ASSERT_EQ(engine->width(), kWidth);
    scene.startupStage = 2;
    scene.textSpinY = 2;
    scene.textSpinSpeedY = 20;
    scene.paused = 2;
    glReadBuffer(GL_BACK);
    Choose("ffv1");  // lossless: the file must hold the very pixels read back
    KeepingSceneSource source;
    const auto outcome = Record(NewWriter("scene.avi"), 4, source, observer_);
    ASSERT_TRUE(outcome.saved);
    EXPECT_EQ(scene.paused, 0);
    const auto decoded = testing::DecodeRgbFrames(writer_->fileName, kWidth, kHeight);
    ASSERT_EQ(decoded.size(), 4u);
    ASSERT_EQ(source.kept.size(), 4u);
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        EXPECT_TRUE(decoded[i] == AsDecoded(source.kept[i], kWidth, kHeight)) << "frame " << i;
        if (i > 0) {
            EXPECT_GT(testing::CountChangedPixels(decoded[i - 1], decoded[i]), 50) << "frame " << i;
        }
    }
}

}  // namespace
}  // namespace quorbel
