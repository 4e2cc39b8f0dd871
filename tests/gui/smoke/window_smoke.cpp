// Starts the real program on an X display (a virtual one under xvfb-run),
// finds the title's pixels in its view, then sends a real Ctrl-drag and real
// arrow key presses through the XTest extension and sees the title move.
#include <gtest/gtest.h>

#ifndef QUORBEL_HAVE_XTEST

TEST(WindowSmoke, DrawsTheTitleAndMovesItForADragAndAKey) {
    GTEST_SKIP() << "built without the X11 and XTest headers (libx11-dev, libxtst-dev; tools/setup.sh installs them)";
}

#else

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "support/gl_test_env.h"
#include "gui/x_program.h"

namespace quorbel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Centroid {
    double x = 0, y = 0;
    int pixels = 0;
};

// The view is the dark band between the light bars: its rows are those
// whose left edge is dark (black in the built-in scene, deep blue in the
// shipped one). The title is what is bright inside it.
Centroid FindTitle(const Frame& frame, int& viewTop, int& viewBottom) {
    viewTop = -1;
    viewBottom = -1;
    for (int y = 0; y < frame.height; ++y) {
        if (Brightness(frame.At(4, y)) < 200) {
            if (viewTop < 0) viewTop = y;
            viewBottom = y;
        }
    }
    Centroid title;
    if (viewTop < 0) return title;
    for (int y = viewTop; y <= viewBottom; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            if (Brightness(frame.At(x, y)) < 300) continue;
            title.x += x;
            title.y += y;
            ++title.pixels;
        }
    }
    if (title.pixels) {
        title.x /= title.pixels;
        title.y /= title.pixels;
    }
    return title;
}

class WindowSmoke : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("QUORBEL_SMOKE_WITHOUT_XVFB"))
            GTEST_SKIP() << "xvfb-run is missing (package xvfb; tools/setup.sh installs it), and the real desktop "
                            "is not used";
        const char* name = std::getenv("DISPLAY");
        if (!name || !*name) GTEST_SKIP() << "no X display: run under xvfb-run (package xvfb, see tools/setup.sh)";
        display = XOpenDisplay(nullptr);
        if (!display) GTEST_SKIP() << "cannot open the X display " << name;
        int event = 0, error = 0, major = 0, minor = 0;
        if (!XTestQueryExtension(display, &event, &error, &major, &minor))
            GTEST_SKIP() << "the X server has no XTest extension";
        folder = std::make_unique<testing::TempDirectory>();
        PrepareProgramFolder(folder->path());
    }
    void TearDown() override {
        if (display) XCloseDisplay(display);
        folder.reset();
    }

    // Waits for the window and the title in it, lets it draw a second.
    void WaitForTitle(const RunningProgram& program, Window& window, Centroid& title) {
        for (auto deadline = std::chrono::steady_clock::now() + 60s; std::chrono::steady_clock::now() < deadline;) {
            ASSERT_TRUE(program.Running()) << "the program ended early:\n" << program.Log();
            window = FindWindowNamed(display, "Quorbel");
            if (window) title = TitleNow(window);
            if (title.pixels > 500) break;
            std::this_thread::sleep_for(200ms);
        }
        ASSERT_TRUE(window) << "no window captioned Quorbel appeared:\n" << program.Log();
        ASSERT_GT(title.pixels, 500) << "the title never showed in the view:\n" << program.Log();
        std::this_thread::sleep_for(1s);
        title = TitleNow(window);
        ASSERT_GT(title.pixels, 500);
    }

    Centroid TitleNow(Window window) {
        std::optional<Frame> frame = Grab(display, window);
        if (!frame) return {};
        return FindTitle(*frame, viewTop, viewBottom);
    }

    void Settle() {
        XSync(display, False);
        std::this_thread::sleep_for(700ms);
    }

    Display* display = nullptr;
    std::unique_ptr<testing::TempDirectory> folder;
    int viewTop = -1, viewBottom = -1;
};

TEST_F(WindowSmoke, DrawsTheTitleAndMovesItForADragAndAKey) {
    RunningProgram program(folder->path());
    Window window = 0;
    Centroid start;
    ASSERT_NO_FATAL_FAILURE(WaitForTitle(program, window, start));
    const int viewMiddle = (viewTop + viewBottom) / 2;

    // A Ctrl-drag 40 pixels to the right moves the title with the mouse.
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    Window child = 0;
    int rootX = 0, rootY = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 60, viewMiddle + 150, &rootX, &rootY, &child);
    const KeyCode control = XKeysymToKeycode(display, XK_Control_L);
    XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
    XTestFakeKeyEvent(display, control, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    for (int step = 1; step <= 8; ++step) {
        XSync(display, False);
        std::this_thread::sleep_for(30ms);
        XTestFakeMotionEvent(display, -1, rootX + step * 5, rootY, CurrentTime);
    }
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XTestFakeKeyEvent(display, control, False, CurrentTime);
    Settle();
    Centroid dragged = TitleNow(window);
    ASSERT_GT(dragged.pixels, 500);
    EXPECT_GT(dragged.x - start.x, 40.0) << "a 40-pixel Ctrl-drag moves the title two scene units to the right";
    EXPECT_NEAR(dragged.y, start.y, 10.0);

    // The click gave the view the keyboard: Up moves the title up.
    const KeyCode up = XKeysymToKeycode(display, XK_Up);
    for (int press = 0; press < 4; ++press) {
        XTestFakeKeyEvent(display, up, True, CurrentTime);
        XTestFakeKeyEvent(display, up, False, CurrentTime);
        XSync(display, False);
        std::this_thread::sleep_for(30ms);
    }
    Settle();
    Centroid keyed = TitleNow(window);
    EXPECT_LT(keyed.y - dragged.y, -10.0) << "four Up presses move the title 0.4 scene units up";
    EXPECT_NEAR(keyed.x, dragged.x, 10.0);
    std::printf("title centre: start (%.1f, %.1f), after the drag (%.1f, %.1f), after the keys (%.1f, %.1f)\n",
                start.x, start.y, dragged.x, dragged.y, keyed.x, keyed.y);
    EXPECT_TRUE(program.Running()) << program.Log();
}

// Frames follow each other as fast as the machine allows while the window
// can be seen, and stop when it cannot (unmapped, as when minimised).
TEST_F(WindowSmoke, RestsWhileItsWindowCannotBeSeen) {
    RunningProgram program(folder->path());
    Window window = 0;
    Centroid title;
    ASSERT_NO_FATAL_FAILURE(WaitForTitle(program, window, title));
    XUnmapWindow(display, window);
    XSync(display, False);
    std::this_thread::sleep_for(500ms);
    double before = program.CpuSeconds();
    std::this_thread::sleep_for(2s);
    double hiddenUse = program.CpuSeconds() - before;
    EXPECT_LT(hiddenUse, 0.3) << "processor seconds used in 2 s while the window was unmapped";

    XMapWindow(display, window);
    XSync(display, False);
    std::this_thread::sleep_for(500ms);
    before = program.CpuSeconds();
    std::this_thread::sleep_for(1s);
    EXPECT_GT(program.CpuSeconds() - before, 0.1) << "drawing resumes when the window is back";
    EXPECT_GT(TitleNow(window).pixels, 500);
    std::printf("processor seconds: %.2f in 2 s unmapped\n", hiddenUse);
}

// Installed and started as the desktop menu starts it - the entry's command
// in the home folder - the program works in its per-user folder, which it
// fills with the pictures and tips, and draws the title from there.
TEST_F(WindowSmoke, InstalledProgramStartsFromItsMenuEntry) {
    const std::string prefix = folder->path() + "/prefix", home = folder->path() + "/home";
    testing::CommandResult install =
        testing::RunCommand("cmake --install '" QUORBEL_BUILD_DIR "' --prefix '" + prefix + "' 2>&1");
    ASSERT_EQ(install.exitCode, 0) << install.out;
    std::ifstream entry(prefix + "/share/applications/quorbel.desktop");
    std::string line, command;
    while (std::getline(entry, line))
        if (line.rfind("Exec=", 0) == 0) command = line.substr(5);
    ASSERT_EQ(command, prefix + "/bin/quorbel");
    EXPECT_TRUE(fs::exists(prefix + "/share/icons/hicolor/256x256/apps/quorbel.png"));

    fs::create_directories(home);
    RunningProgram program(home, command, {"HOME=" + home, "XDG_DATA_HOME="});
    Window window = 0;
    Centroid title;
    ASSERT_NO_FATAL_FAILURE(WaitForTitle(program, window, title));
    const std::string work = home + "/.local/share/quorbel";
    for (const char* file : {"Data/bubble.bmp", "gfx/matrix.bmp", "tips.txt"})
        EXPECT_TRUE(fs::exists(work + "/" + file)) << file;
    EXPECT_NE(program.Log().find("working in " + work), std::string::npos) << program.Log();
    EXPECT_EQ(program.Log().find("missing"), std::string::npos) << "every start-up picture was found:\n"
                                                                 << program.Log();
    // The shipped start-up settings bring the Blur panel up; the Text panel
    // is made too, but hidden.
    EXPECT_TRUE(FindWindowNamed(display, "Blur")) << "the start-up Blur panel is not on screen";
    EXPECT_FALSE(FindWindowNamed(display, "Text Controls"));
}

}  // namespace
}  // namespace quorbel

#endif
