// The Generate AVI command with a scripted window around it: the order of
// its steps, the size and rate each standard records at (on an offscreen
// surface of exactly that size), every way out (dialog, file chooser,
// compressor chooser, no frames, Escape) and what it leaves behind.
#include <gtest/gtest.h>

// The framebuffer calls the window makes around the surface.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <string>
#include <vector>

#include "support/scripted_platform.h"
#include "scene/gl_setup.h"
#include "scene/scene_state.h"
#include "support/gl_test_env.h"
#include "support/video_probe.h"
#include "video/container.h"
#include "video/encoder_catalog.h"
#include "video/generate_avi.h"
#include "video/recording_surface.h"

namespace quorbel {
namespace {

using Log = std::vector<std::string>;

class ScriptedWindow : public GenerateAviHost {
public:
    std::optional<AviProperties> answer;
    AviProperties shown;  // what the dialog was opened with
    Log log;
    int viewWidth = 720, viewHeight = 480;
    int stopAfter = -1;  // Escape after this many frames
    std::vector<std::pair<int, int>> progress;

    std::optional<AviProperties> AskAviProperties(const AviProperties& current) override {
        shown = current;
        log.push_back("dialog");
        return answer;
    }
    void ReleasePanelDefaultButtons() override { log.push_back("release panel buttons"); }
    void ToggleToolbar() override { log.push_back("toggle toolbar"); }
    void ResizeMainWindow(int width, int height) override {
        log.push_back("window " + std::to_string(width) + "x" + std::to_string(height));
    }
    int ViewWidth() override { return viewWidth; }
    int ViewHeight() override { return viewHeight; }
    void MakeContextCurrent() override {}
    bool BeginRecordingSurface(int width, int height) override {
        log.push_back("surface " + std::to_string(width) + "x" + std::to_string(height));
        return surface_.Begin(width, height);
    }
    void EndRecordingSurface() override {
        log.push_back("view");
        surface_.End(viewWidth, viewHeight);
    }
    void BeginProgress(int total) override { log.push_back("progress 0.." + std::to_string(total)); }
    void EndProgress() override { log.push_back("progress 0"); }
    void BeforeFrame(int index, int total) override { progress.emplace_back(index, total); }
    bool StopRequested() override { return stopAfter >= 0 && static_cast<int>(progress.size()) >= stopAfter; }

private:
    RecordingSurface surface_;
};

class GenerateAviCommand : public ::testing::Test {
protected:
    void SetUp() override {
        engine_ = testing::FreshScene();
        ASSERT_TRUE(engine_);
        scene.startupStage = 2;
        testing::SpinTheTitle();
        folder_ = std::make_unique<testing::TempDirectory>();
    }
    void TearDown() override {
        folder_.reset();
        ResizeGL(engine_->width(), engine_->height());
    }
    std::string Path(const char* name) const { return folder_->File(name); }
    // The user's answers: OK with `standard` and `frames`, file `name`, the
    // suggested encoder (or a cancelled chooser when `encoder` is empty).
    void Answer(std::int32_t standard, int frames, std::optional<std::string> name, bool chooseEncoder = true) {
        window_.answer = AviProperties{standard, frames};
        platform_->saveAnswers.push_back(std::move(name));
        platform_->compressorAnswers.push_back(chooseEncoder ? std::optional<std::size_t>(0) : std::nullopt);
    }

    HeadlessEngine* engine_ = nullptr;
    std::unique_ptr<testing::TempDirectory> folder_;
    ScopedScriptedPlatform platform_;
    ScriptedWindow window_;
    GenerateAviState state_;
};

TEST_F(GenerateAviCommand, EachStandardRecordsItsDvFrameAndRateWhateverTheView) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
    const struct {
        std::int32_t standard;
        const char* window;
        int width, height;
        const char* rate;
    } cases[] = {
        {kStandardNtsc, "window 732x564", 720, 480, "30/1"},
        {kStandardPal, "window 732x660", 720, 576, "25/1"},
        {0, nullptr, 640, 360, "30/1"},  // neither: the view as it is
    };
    window_.viewWidth = 641;  // rounded down when the view itself is recorded
    window_.viewHeight = 362;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        window_.log.clear();
        window_.progress.clear();
        scene.paused = 2;
        Answer(c.standard, 5, Path("take"));
        const auto outcome = GenerateAvi(window_, state_);
        ASSERT_TRUE(outcome.saved);
        const std::string surface = "surface " + std::to_string(c.width) + "x" + std::to_string(c.height);
        Log expected = {"release panel buttons", "toggle toolbar", "dialog"};
        if (c.window) expected.push_back(c.window);
        for (const char* step : {"progress 0..5", surface.c_str(), "view", "progress 0", "window 800x600",
                                 "toggle toolbar"})
            expected.push_back(step);
        EXPECT_EQ(window_.log, expected);
        const std::vector<std::pair<int, int>> progress = {{0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 5}};
        EXPECT_EQ(window_.progress, progress);
        EXPECT_EQ(scene.paused, 0);

        const auto probe = testing::Probe(Path("take.avi"));
        ASSERT_TRUE(probe.ok) << probe.error;
        EXPECT_EQ(probe.width, c.width);
        EXPECT_EQ(probe.height, c.height);
        EXPECT_EQ(probe.frameRate, c.rate);
        EXPECT_EQ(probe.frames, 5);

        EXPECT_EQ(state_.recordStandard, c.standard) << "kept for the next recording";
        EXPECT_EQ(state_.recordFrameCount, 0);
        EXPECT_EQ(state_.recordCancelled, 0);
    }
    EXPECT_EQ(window_.shown.standard, kStandardPal) << "the last dialog showed the standard chosen before";
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 641) << "the view's projection is back";
    EXPECT_TRUE(platform_->messages.empty());
}

TEST_F(GenerateAviCommand, EveryWayOutLeavesNoFileAndTheToolbarAsItWas) {
    const struct {
        const char* way;
        bool dialogOk;
        int frames;
        bool fileChosen;
        bool encoderChosen;
        Log expected;
    } cases[] = {
        {"dialog cancelled", false, 5, true, true,
         {"release panel buttons", "toggle toolbar", "dialog", "toggle toolbar"}},
        {"no frames", true, 0, true, true,
         {"release panel buttons", "toggle toolbar", "dialog", "window 732x564", "window 800x600", "toggle toolbar"}},
        {"file chooser cancelled", true, 5, false, true,
         {"release panel buttons", "toggle toolbar", "dialog", "window 732x564", "window 800x600", "toggle toolbar"}},
        {"compressor chooser cancelled", true, 5, true, false,
         {"release panel buttons", "toggle toolbar", "dialog", "window 732x564", "progress 0..5", "surface 720x480",
          "view", "progress 0", "window 800x600", "toggle toolbar"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.way);
        window_.log.clear();
        window_.progress.clear();
        platform_->saveAnswers.clear();
        platform_->compressorAnswers.clear();
        Answer(kStandardNtsc, c.frames, c.fileChosen ? std::optional<std::string>(Path("take.avi")) : std::nullopt,
               c.encoderChosen);
        if (!c.dialogOk) window_.answer = std::nullopt;
        const auto outcome = GenerateAvi(window_, state_);
        EXPECT_FALSE(outcome.saved);
        EXPECT_EQ(window_.log, c.expected);
        EXPECT_TRUE(window_.progress.empty()) << "no frame was rendered";
        EXPECT_EQ(state_.recordFrameCount, 0);
        EXPECT_EQ(state_.recordCancelled, 0);
    }
    EXPECT_EQ(platform_->fileRequests.size(), 2u) << "asked for a file only where there was something to record";
    EXPECT_TRUE(platform_->messages.empty());
    EXPECT_TRUE(folder_->Names().empty());
}

// (The file a stopped recording leaves is decoded by the recording loop's
// and the real window's tests.)
TEST_F(GenerateAviCommand, EscapeEndsTheRecordingWithAShorterFileAndABlankTextureBound) {
    Answer(kStandardNtsc, 300, Path("stopped.avi"));
    window_.stopAfter = 4;
    const auto outcome = GenerateAvi(window_, state_);
    EXPECT_TRUE(outcome.saved && outcome.stoppedEarly);
    EXPECT_EQ(outcome.framesRecorded, 4);

    GLint bound = 0, width = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_NE(bound, 0);
    EXPECT_EQ(width, 128);
}

// The custom choice: the size and rate asked for, on a surface of that size
// with the window left alone; the editors' formats offered; a transparent
// recording named without an extension goes into a movie that keeps it.
TEST_F(GenerateAviCommand, CustomRecordsItsSizeAndRateAndKeepsTransparency) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
    if (AvailableEncoders({&ContainerForName("t.mov"), 1280, 720, {60000, 1001}, true}).empty())
        GTEST_SKIP() << "this FFmpeg has neither ProRes nor QuickTime Animation (qtrle)";
    Answer(kStandardCustom, 4, Path("title"));
    window_.answer->custom = {1282, 720, {60000, 1001}, true};
    const auto outcome = GenerateAvi(window_, state_);
    ASSERT_TRUE(outcome.saved);
    const Log expected = {"release panel buttons", "toggle toolbar", "dialog", "progress 0..4", "surface 1280x720",
                          "view", "progress 0", "window 800x600", "toggle toolbar"};
    EXPECT_EQ(window_.log, expected);
    const auto probe = testing::Probe(Path("title.mov"));
    ASSERT_TRUE(probe.ok) << probe.error;
    EXPECT_EQ(probe.width, 1280);
    EXPECT_EQ(probe.height, 720);
    EXPECT_EQ(probe.frameRate, "60000/1001");
    EXPECT_EQ(probe.frames, 4);
    EXPECT_NE(probe.pixelFormat.find('a'), std::string::npos) << probe.pixelFormat;
    ASSERT_EQ(platform_->fileRequests.size(), 1u);
    EXPECT_EQ(platform_->fileRequests[0].defaultExtension, "mov");
    EXPECT_EQ(state_.recordStandard, kStandardCustom);
    EXPECT_EQ(state_.custom.width, 1282) << "kept for the next recording";
    EXPECT_TRUE(platform_->messages.empty());
}

TEST_F(GenerateAviCommand, CustomBeyondUhdOrIntoAviWithTransparencyIsRefusedWithAMessage) {
    Answer(kStandardCustom, 4, Path("huge.mov"));
    window_.answer->custom = {3840, 3840, {30, 1}, false};
    EXPECT_FALSE(GenerateAvi(window_, state_).opened);
    EXPECT_TRUE(platform_->fileRequests.empty()) << "nothing to ask a file for";
    platform_->saveAnswers.clear();
    platform_->compressorAnswers.clear();
    Answer(kStandardCustom, 4, Path("keyed.avi"));
    window_.answer->custom = {640, 360, {25, 1}, true};
    EXPECT_FALSE(GenerateAvi(window_, state_).opened);
    ASSERT_EQ(platform_->messages.size(), 2u);
    EXPECT_NE(platform_->messages[0].text.find("up to 3840 x 2160"), std::string::npos) << platform_->messages[0].text;
    EXPECT_NE(platform_->messages[1].text.find(".mov, .webm and .png files keep transparency"), std::string::npos)
        << platform_->messages[1].text;
    EXPECT_TRUE(folder_->Names().empty());
}

// The surface the window records on: bound again after the window bound its
// own framebuffer, shown in the window at the frame's shape, gone after End.
TEST(RecordingSurfaceInAWindow, RebindsShowsItsFrameInTheMiddleAndHandsBack) {
    HeadlessEngine* engine = testing::Engine();
    ASSERT_TRUE(engine);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glDrawBuffer(GL_BACK);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    RecordingSurface surface;
    ASSERT_TRUE(surface.Begin(720, 576));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);  // as a window repainting itself would
    surface.Bind();
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    std::vector<std::uint8_t> rgb(720 * 576 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 720, 576, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    EXPECT_EQ(testing::PixelAt(rgb, 720, 700, 560).r, 255) << "the clear reached the surface";

    surface.CopyTo(0, 720, 480);  // 720 x 576 shown 600 x 480, from x 60
    surface.End(720, 480);
    const std::vector<std::uint8_t> window = engine->ReadPixels();
    EXPECT_EQ(testing::PixelAt(window, 720, 30, 240).r, 0) << "left of the shown frame";
    EXPECT_EQ(testing::PixelAt(window, 720, 65, 240).r, 255);
    EXPECT_EQ(testing::PixelAt(window, 720, 654, 10).r, 255);
    EXPECT_EQ(testing::PixelAt(window, 720, 690, 240).r, 0) << "right of the shown frame";
    GLint bound = -1, viewport[4] = {};
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(bound, 0);
    EXPECT_EQ(viewport[2], 720);
    EXPECT_EQ(viewport[3], 480);
}

}  // namespace
}  // namespace quorbel
