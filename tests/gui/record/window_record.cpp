// Generate AVI in the real window on an X display (a virtual one under
// xvfb-run): the recording has the standard's exact size whatever
// the window's size, the toolbar is hidden while it runs and back after, the
// progress bar moves during it, and Escape ends it with a shorter, valid
// file. Files are judged by ffprobe and ffmpeg.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <cstdlib>
#include <filesystem>

#include "app/gui/main_frame.h"
#include "app/gui/pravik_view.h"
#include "app/gui/recording_window.h"
#include "support/scripted_platform.h"
#include "scene/scene_state.h"
#include "support/gl_test_env.h"
#include "support/video_probe.h"

namespace quorbel::gui {
namespace {

// Fills in the AVI Properties box once it shows, then runs `after`.
void AnswerPropertiesBox(const char* standardId, const char* frames, std::function<void()> after = {}) {
    QTimer::singleShot(0, [=] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_TRUE(box);
        box->findChild<QRadioButton*>(QString::fromLatin1(standardId))->click();
        auto* count = box->findChild<QLineEdit*>(QStringLiteral("control1000"));
        count->setText(QString::fromLatin1(frames));
        box->findChild<QPushButton*>(QStringLiteral("control1"))->click();
        if (after) after();
    });
}

class WindowRecording : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "no X display: run under xvfb-run (package xvfb, see tools/setup.sh)";
        QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
        std::filesystem::current_path(testing::SourceDir());  // Data/ and gfx/
        scene = SceneState{};
        frame_ = std::make_unique<CMainFrame>();
        frame_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
        ASSERT_TRUE(QTest::qWaitFor([this] { return frame_->View()->SceneInitialised(); }, 20000))
            << "the view made no GL context";
        scene.startupStage = 2;
        testing::SpinTheTitle();
        recorder_ = std::make_unique<RecordingWindow>(*frame_);
    }
    void TearDown() override {
        recorder_.reset();
        frame_.reset();
    }
    std::string Out(const char* name) const { return output_.path() + "/" + name; }

    testing::TempDirectory output_;
    ScopedScriptedPlatform platform_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<RecordingWindow> recorder_;
};

TEST_F(WindowRecording, PalRecordingHasItsExactSizeWithToolbarHiddenAndProgressMoving) {
    frame_->resize(500, 300);  // far from the DV size: the surface decides
    platform_->saveAnswers.push_back(Out("pal"));
    platform_->compressorAnswers.push_back(0);
    AnswerPropertiesBox("control1029", "12");
    int samplesDuring = 0, toolbarShownDuring = 0, progressMax = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!recorder_->progressBar() || recorder_->progressBar()->value() == 0) return;
        ++samplesDuring;
        toolbarShownDuring += frame_->ToolBar()->isVisible() ? 1 : 0;
        progressMax = std::max(progressMax, recorder_->progressBar()->value());
    });
    watch.start(1);
    const auto outcome = recorder_->Run();
    watch.stop();

    ASSERT_TRUE(outcome.saved) << (platform_->messages.empty() ? "" : platform_->messages[0].text);
    const auto probe = testing::Probe(Out("pal.avi"));
    ASSERT_TRUE(probe.ok) << probe.error;
    EXPECT_EQ(probe.width, 720);
    EXPECT_EQ(probe.height, 576);
    EXPECT_EQ(probe.frames, 12);

    EXPECT_GT(samplesDuring, 0) << "the window processed its events during the recording";
    EXPECT_EQ(toolbarShownDuring, 0);
    EXPECT_GT(progressMax, 0);
    EXPECT_TRUE(frame_->ToolBar()->isVisible()) << "the toolbar is back";
    EXPECT_EQ(recorder_->progressBar()->maximum(), 12);
    EXPECT_EQ(recorder_->progressBar()->value(), 0);
    EXPECT_EQ(frame_->size(), QSize(800, 600));
}

}  // namespace
}  // namespace quorbel::gui

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
