// The recording loop: frames handed to the encoding thread in order,
// stopping before the first frame, failing writes, and the live scene
// recorded exactly as rendered, paused or not.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>
#include <utility>

#include "support/scripted_platform.h"
#include "scene/scene_state.h"
#include "support/gl_test_env.h"
#include "support/process.h"
#include "support/video_probe.h"
#include "video/avi_writer.h"
#include "video/container.h"
#include "video/encoder_catalog.h"
#include "video/frame_pipeline.h"
#include "video/recording.h"

namespace quorbel {
namespace {

namespace fs = std::filesystem;

// A slow encoder makes the producer wait for buffers: if a buffer were
// handed out again before its frame was written, a frame would arrive
// overwritten. Lanes encode side by side, at uneven speeds, yet must write
// in order. With no patience the ordinary-priority threads take over at the
// first wait, part way through: the frames must still come once each, in
// order.
TEST(FramePipeline, FramesArriveInOrderWithTheirOwnContents) {
    constexpr std::size_t kBytes = 4096;
    const struct {
        std::chrono::milliseconds patience;
        int lanes;
    } cases[] = {{FramePipeline::kDefaultPatience, 1}, {std::chrono::milliseconds(0), 1},
                 {FramePipeline::kDefaultPatience, 3}, {std::chrono::milliseconds(0), 3}};
    for (const auto& c : cases) {
        std::vector<int> seen;
        int encoded[3] = {};
        std::atomic<bool> intact = true;
        FramePipeline::Stages stages{[&](int lane, const std::uint8_t* frame, std::int64_t number) {
                                         std::this_thread::sleep_for(std::chrono::milliseconds(1 + number % 3));
                                         for (std::size_t i = 0; i < kBytes; ++i)
                                             if (frame[i] != frame[0] || frame[0] != number) intact = false;
                                         encoded[lane] = frame[0];
                                         return frame[0] != 7;
                                     },
                                     [&](int lane) {
                                         seen.push_back(encoded[lane]);
                                         return true;
                                     }};
        FramePipeline pipeline(kBytes, c.lanes + 2, c.lanes, stages, c.patience);
        for (int i = 0; i < 40; ++i) {
            std::memset(pipeline.Acquire(), i, kBytes);
            pipeline.Submit();
        }
        pipeline.Finish();
        std::vector<int> expected;
        for (int i = 0; i < 40; ++i)
            if (i != 7) expected.push_back(i);  // a frame that failed to encode is not written
        EXPECT_EQ(seen, expected) << c.lanes << " lanes";
        EXPECT_TRUE(intact);
        EXPECT_EQ(pipeline.consumed(), 40);
        EXPECT_EQ(pipeline.failures(), 1);
        // (With patience, a busy machine may still make it take over.)
        if (c.patience.count() == 0) {
            EXPECT_TRUE(pipeline.handedOver());
        }
    }
}

// ----- the loop with made-up frames -------------------------------------------------

constexpr int kWidth = 720;
constexpr int kHeight = 480;

// Each frame's grey says which frame it is; a stripe moves across them.
class StripeSource : public FrameSource {
public:
    static int Grey(int frame) { return 40 + 9 * (frame % 20); }
    int rendered = 0;
    void RenderInto(std::uint8_t* pixels, int width, int height) override {
        const std::size_t bytes = static_cast<std::size_t>(width) * height * 4;
        std::memset(pixels, Grey(rendered), bytes);
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
    // Answers the chooser with encoder `id` for a file called `name`.
    void Choose(const char* id, const char* name = "any.avi") {
        const auto offered = AvailableEncoders({&ContainerForName(name), kWidth, kHeight, {30, 1}, false});
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

// Several encoder lanes (more than this machine may have processors), one
// for the encoders that need the frames before: either way the file holds
// every frame handed over, in order, and nothing after the stop.
TEST_F(RecordingLoop, StoppingEarlyKeepsACompleteShorterFileInOrder) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
    const struct {
        const char* codec;
        const char* name;
    } cases[] = {{"mjpeg", "short.avi"}, {"ffv1", "short.avi"}, {"prores_aw", "short.mov"},
                 {"prores_ks", "short.mov"}, {"png", "short.png"}};
    for (const auto& c : cases) {
        source_.rendered = 0;
        observer_.calls.clear();
        Choose(c.codec, c.name);
        observer_.stopAfter = 9;
        AviWriter& writer = NewWriter(c.name);
        writer.lanes = 3;
        const auto outcome = Record(writer, 20, source_, observer_);
        EXPECT_TRUE(outcome.saved && outcome.stoppedEarly) << c.codec;
        EXPECT_EQ(outcome.framesRecorded, 9) << c.codec;
        EXPECT_EQ(source_.rendered, 9) << c.codec;
        const bool sequence = writer.container().pictureSequence;
        const std::string first = sequence ? SequenceFrameName(writer.fileName, 1) : writer.fileName;
        EXPECT_TRUE(sequence || testing::DecodeErrors(first).empty()) << c.codec;
        const std::string input = sequence ? SequencePattern(writer.fileName) : first;
        const auto decoded = testing::DecodeRgbFrames(input, kWidth, kHeight);
        ASSERT_EQ(decoded.size(), 9u) << c.codec;
        for (std::size_t i = 0; i < decoded.size(); ++i)
            EXPECT_NEAR(decoded[i][0], StripeSource::Grey(static_cast<int>(i)), 3) << c.codec << " frame " << i;
        for (const auto& entry : fs::directory_iterator(folder_.path())) fs::remove(entry.path());
    }
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

// A file-size limit stands in for a full disk.
TEST_F(RecordingLoop, FailedWriteStopsTheRecordingWithOneMessageAndNoFile) {
    Choose("rawvideo");
    RecordingOutcome outcome;
    testing::WithFileSizeLimit(3'000'000, [&] { outcome = Record(NewWriter("full.avi"), 60, source_, observer_); });

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
    testing::SpinTheTitle();
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
