// The window's modal boxes driven as a person drives them: the real program
// on a virtual X server, real pointer and key events (xdotool's XTest
// events), the real Qt dialogs. Where to click comes from the widget map the
// program writes when QUORBEL_WIDGET_MAP names a file; what happened is
// checked in the files written and the pixels shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/gl_test_env.h"
#include "support/process.h"
#include "support/video_probe.h"
#include "gui/x_program.h"

namespace quorbel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::RunCommand;

// One line of the widget map: a widget, menu entry or button on screen.
struct Item {
    std::string window, kind, name, text;
    int x = 0, y = 0, width = 0, height = 0;
};

std::vector<Item> ReadMap(const std::string& path) {
    std::vector<Item> items;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::stringstream split(line);
        for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
        if (fields.size() != 8) continue;
        items.push_back({fields[0], fields[1], fields[2], fields[3], std::stoi(fields[4]),
                         std::stoi(fields[5]), std::stoi(fields[6]), std::stoi(fields[7])});
    }
    return items;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::seconds limit) {
    for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
        if (done()) return true;
        std::this_thread::sleep_for(100ms);
    }
    return done();
}

class WindowDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        const char* name = std::getenv("DISPLAY");
        if (!name || !*name) GTEST_SKIP() << "no X display: run under xvfb-run (package xvfb, see tools/setup.sh)";
        if (RunCommand("command -v xdotool >/dev/null").exitCode != 0)
            GTEST_SKIP() << "xdotool is not installed (tools/setup.sh installs the Debian package xdotool)";
        display_ = XOpenDisplay(nullptr);
        if (!display_) GTEST_SKIP() << "cannot open the X display " << name;
        folder_ = std::make_unique<testing::TempDirectory>();
        PrepareProgramFolder(Folder());
        map_ = Folder() + "/widgets.tsv";
        program_ = std::make_unique<RunningProgram>(Folder(), QUORBEL_BINARY,
                                                    std::vector<std::string>{"QUORBEL_WIDGET_MAP=" + map_});
        ASSERT_NO_FATAL_FAILURE(Find("Quorbel", "window", "", "", 60s));
    }
    void TearDown() override {
        program_.reset();
        if (display_) XCloseDisplay(display_);
        folder_.reset();
    }

    std::string Folder() const { return folder_->path(); }

    // The item of `window` (any window when empty) of that kind (any when
    // empty) and name ("*" for any), with that text when `text` is given,
    // once it is on screen.
    Item Find(const std::string& window, const std::string& kind, const std::string& name,
              const std::string& text = "", std::chrono::seconds limit = 30s) {
        Item found;
        bool seen = WaitUntil(
            [&] {
                for (const Item& item : ReadMap(map_)) {
                    if ((window.empty() || item.window == window) && (kind.empty() || item.kind == kind) &&
                        (name == "*" || item.name == name) && (text.empty() || item.text == text) &&
                        item.width > 0) {
                        found = item;
                        return true;
                    }
                }
                return false;
            },
            limit);
        EXPECT_TRUE(seen) << "never on screen: " << window << " " << kind << " " << name << " " << text << "\n"
                          << program_->Log();
        return found;
    }
    bool Gone(const std::string& window) {
        const auto in = [&](const Item& item) { return item.window == window; };
        return WaitUntil([&] { return std::ranges::none_of(ReadMap(map_), in); }, 30s);
    }
    void Xdo(const std::string& arguments) {
        testing::CommandResult result = RunCommand("xdotool " + arguments + " 2>&1");
        ASSERT_EQ(result.exitCode, 0) << "xdotool " << arguments << ": " << result.out;
        std::this_thread::sleep_for(150ms);
    }
    // Radio buttons and check boxes take clicks on their mark and text only.
    void Click(const Item& item) {
        const bool marked = item.kind == "QRadioButton" || item.kind == "QCheckBox";
        Xdo("mousemove --sync " + std::to_string(item.x + (marked ? 8 : item.width / 2)) + " " +
            std::to_string(item.y + item.height / 2) + " click 1");
    }
    // Clicks a text field, selects what it holds and types over it.
    void TypeInto(const Item& field, const std::string& text) {
        Click(field);
        Xdo("key ctrl+a");
        Xdo("type --delay 30 " + testing::Quoted(text));
    }
    void Menu(const std::string& menu, const std::string& entry) {
        Click(Find("Quorbel", "action", "*", menu));
        Click(Find("", "action", "*", entry));
    }

    // Generate AVI with NTSC, `frames` frames, into "demo" (.avi added by the
    // chooser), up to the compressor chooser, which is left open.
    void GenerateUpToCompressor(int frames) {
        Menu("AVI Generation", "Generate Avi");
        Click(Find("AVI Properties", "", "control1060"));
        TypeInto(Find("AVI Properties", "", "control1000"), std::to_string(frames));
        Click(Find("AVI Properties", "", "control1"));
        TypeInto(Find("", "", "fileNameEdit"), "demo");
        Xdo("key Return");
        Click(Find("Video Compression", "", "compressors"));
        Xdo("type DV");
    }
    bool Finished() {
        for (const auto& entry : fs::directory_iterator(Folder()))
            if (entry.path().string().find(".part") != std::string::npos) return false;
        return fs::exists(Folder() + "/demo.avi");
    }
    // The colour of the view's pixel near its top left corner (0xRRGGBB).
    unsigned long ViewCorner() {
        Item view = Find("Quorbel", "QOpenGLWidget", "");
        Window window = FindWindowNamed(display_, "Quorbel");
        std::optional<Frame> frame = Grab(display_, window);
        Item frameItem = Find("Quorbel", "window", "");
        if (!frame) return 0xFFFFFFFF;
        return frame->At(view.x - frameItem.x + 10, view.y - frameItem.y + 10);
    }

    Display* display_ = nullptr;
    std::unique_ptr<testing::TempDirectory> folder_;
    std::unique_ptr<RunningProgram> program_;
    std::string map_;
};

TEST_F(WindowDialogs, GenerateAviRecordsTheDvFileChosenWithTheMouse) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
    ASSERT_NO_FATAL_FAILURE(GenerateUpToCompressor(60));
    Click(Find("Video Compression", "QPushButton", "", "OK"));
    ASSERT_TRUE(WaitUntil([&] { return Finished(); }, 120s)) << program_->Log();
    testing::VideoProbe probe = testing::Probe(Folder() + "/demo.avi");
    ASSERT_TRUE(probe.ok) << probe.error;
    EXPECT_EQ(probe.codec, "dvvideo");
    EXPECT_EQ(probe.width, 720);
    EXPECT_EQ(probe.height, 480);
    EXPECT_EQ(probe.frameRate, "30000/1001");
    EXPECT_EQ(probe.frames, 60);
}

TEST_F(WindowDialogs, EscapeEndsTheRecordingWithAShorterCompleteFile) {
    QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS();
    constexpr int kAsked = 3000;
    ASSERT_NO_FATAL_FAILURE(GenerateUpToCompressor(kAsked));
    Click(Find("Video Compression", "QPushButton", "", "OK"));
    // Some frames in, press Escape with the pointer over the window.
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (const auto& entry : fs::directory_iterator(Folder()))
                if (entry.path().string().find(".part") != std::string::npos && fs::file_size(entry) > 2000000)
                    return true;
            return false;
        },
        60s))
        << program_->Log();
    Xdo("key Escape");
    ASSERT_TRUE(WaitUntil([&] { return Finished(); }, 60s)) << program_->Log();
    testing::VideoProbe probe = testing::Probe(Folder() + "/demo.avi");
    ASSERT_TRUE(probe.ok) << probe.error;
    EXPECT_GT(probe.frames, 0);
    EXPECT_LT(probe.frames, kAsked);
    EXPECT_EQ(testing::DecodeErrors(Folder() + "/demo.avi"), "");
}

TEST_F(WindowDialogs, CancellingTheCompressorChooserWritesNothing) {
    ASSERT_NO_FATAL_FAILURE(GenerateUpToCompressor(60));
    Click(Find("Video Compression", "QPushButton", "", "Cancel"));
    ASSERT_TRUE(Gone("Video Compression"));
    // The window answers again: a menu opens on a click.
    Click(Find("Quorbel", "action", "*", "Help"));
    Find("", "action", "*", "About Quorbel", 10s);
    for (const auto& entry : fs::directory_iterator(Folder()))
        EXPECT_EQ(entry.path().filename().string().find("demo"), std::string::npos) << entry.path();
}

// Every other modal box once: opened from the window, answered with the
// pointer and the keys, and what it did seen.
TEST_F(WindowDialogs, EveryModalBoxTakesRealInput) {
    // About: opened from the Help menu, closed with its OK.
    Menu("Help", "About Quorbel");
    Click(Find("About Quorbel", "QPushButton", "", "OK"));
    EXPECT_TRUE(Gone("About Quorbel"));

    // Tip of the Day: Next Tip changes the tip shown, Close closes it.
    Menu("Help", "Tip of the Day...");
    Click(Find("Tip of the Day", "", "control1002"));
    Click(Find("Tip of the Day", "", "control1"));
    EXPECT_TRUE(Gone("Tip of the Day"));

    // The colour chooser: a colour typed into its HTML field becomes the
    // background.
    const auto pickBackground = [&](const char* html, unsigned long rgb) {
        Click(Find("Quorbel", "QToolButton", "*", "Background Colour"));
        TypeInto(Find("Select Color", "QLineEdit", ""), html);
        Click(Find("Select Color", "QPushButton", "", "OK"));
        ASSERT_TRUE(Gone("Select Color"));
        ASSERT_TRUE(WaitUntil([&] { return ViewCorner() == rgb; }, 10s)) << std::hex << ViewCorner();
    };
    ASSERT_NO_FATAL_FAILURE(pickBackground("#ff8000", 0xFF8000));

    // Save through the real file chooser, change the background, then Open
    // the saved file: the orange background is back.
    Click(Find("Quorbel", "QToolButton", "*", "Save"));
    TypeInto(Find("", "", "fileNameEdit"), "scene.qrl");
    Xdo("key Return");
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(Folder() + "/scene.qrl"); }, 10s)) << program_->Log();
    ASSERT_NO_FATAL_FAILURE(pickBackground("#0040ff", 0x0040FF));
    Click(Find("Quorbel", "QToolButton", "*", "Open"));
    TypeInto(Find("", "", "fileNameEdit"), "scene.qrl");
    Xdo("key Return");
    EXPECT_TRUE(WaitUntil([&] { return ViewCorner() == 0xFF8000; }, 10s)) << std::hex << ViewCorner();
}

}  // namespace
}  // namespace quorbel
