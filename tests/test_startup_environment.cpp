// Start-up decisions: whether there is a display for the window, and which
// folder the window works in (filled from the installed data once).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "commands/display_probe.h"
#include "commands/working_folder.h"
#include "support/gl_test_env.h"
#include "support/process.h"

namespace quorbel {
namespace {

namespace fs = std::filesystem;

TEST(DisplayProbeTest, DecidesFromTheEnvironmentAndTheServerSockets) {
    struct Row {
        std::map<std::string, std::string> environment;
        std::set<std::string> paths;
        bool available;
        const char* mentions;
    };
    const Row rows[] = {
        {{}, {}, false, "neither DISPLAY nor WAYLAND_DISPLAY"},
        {{{"DISPLAY", ":7"}}, {"/tmp/.X11-unix/X7"}, true, "X display :7"},
        {{{"DISPLAY", ":7.0"}}, {"/tmp/.X11-unix/X7"}, true, "X display :7.0"},
        {{{"DISPLAY", ":7"}}, {}, false, "/tmp/.X11-unix/X7 is missing"},
        {{{"DISPLAY", "remote:3"}}, {}, true, "X display remote:3"},
        {{{"DISPLAY", ""}}, {}, false, "neither"},
        {{{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_RUNTIME_DIR", "/run/user/5"}}, {"/run/user/5/wayland-0"}, true,
         "Wayland"},
        {{{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_RUNTIME_DIR", "/run/user/5"}}, {}, false,
         "no Wayland server at /run/user/5/wayland-0"},
        {{{"WAYLAND_DISPLAY", "wayland-0"}}, {}, false, "XDG_RUNTIME_DIR is not"},
        {{{"DISPLAY", ":9"}, {"WAYLAND_DISPLAY", "/w"}}, {"/w"}, true, "Wayland"},
        {{{"QT_QPA_PLATFORM", "offscreen"}}, {}, true, "QT_QPA_PLATFORM=offscreen"},
    };
    for (const Row& row : rows) {
        DisplayProbe probe = ProbeDisplay(
            [&](const char* name) {
                auto it = row.environment.find(name);
                return it == row.environment.end() ? nullptr : it->second.c_str();
            },
            [&](const std::string& path) { return row.paths.count(path) > 0; });
        EXPECT_EQ(probe.available, row.available) << probe.description;
        EXPECT_NE(probe.description.find(row.mentions), std::string::npos) << probe.description;
    }
}

TEST(UserDataFolderTest, FollowsTheXdgRules) {
    EXPECT_EQ(UserDataFolder("/x/data", "/home/u"), "/x/data/quorbel");
    EXPECT_EQ(UserDataFolder("relative", "/home/u"), "/home/u/.local/share/quorbel") << "relative is ignored";
    EXPECT_EQ(UserDataFolder(nullptr, "/home/u"), "/home/u/.local/share/quorbel");
    EXPECT_EQ(UserDataFolder(nullptr, nullptr), std::nullopt);
}

class WorkingFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::make_unique<testing::TempDirectory>();
        root = folder->path();
        installed = root + "/share/quorbel";
        Write(installed + "/Data/bubble.bmp", "picture");
        Write(installed + "/gfx/matrix.bmp", "matrix");
        Write(installed + "/tips.txt", "Tip\n");
        Write(installed + "/settings.qrl", "settings");
        Write(installed + "/README.md", "not program data");
        fs::create_directories(root + "/home");
    }
    static void Write(const std::string& path, const std::string& content) {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    static std::string Read(const std::string& path) { return testing::FileText(path); }
    std::unique_ptr<testing::TempDirectory> folder;
    std::string root, installed;
};

TEST_F(WorkingFolderTest, AFolderWithThePicturesIsKept) {
    Write(root + "/work/Data/x.bmp", "x");
    WorkingFolder chosen = ChooseWorkingFolder(root + "/work", installed, root + "/user");
    EXPECT_EQ(chosen.path, root + "/work");
    EXPECT_FALSE(chosen.perUser);
    EXPECT_FALSE(fs::exists(root + "/user"));
}

TEST_F(WorkingFolderTest, ElsewhereThePerUserFolderIsFilledOnceAndTheUsersFilesAreKept) {
    WorkingFolder first = ChooseWorkingFolder(root + "/home", installed, root + "/user");
    ASSERT_FALSE(first.error) << *first.error;
    EXPECT_TRUE(first.perUser);
    EXPECT_EQ(first.path, root + "/user");
    EXPECT_EQ(Read(root + "/user/Data/bubble.bmp"), "picture");
    EXPECT_EQ(Read(root + "/user/gfx/matrix.bmp"), "matrix");
    EXPECT_EQ(Read(root + "/user/settings.qrl"), "settings");
    EXPECT_FALSE(fs::exists(root + "/user/README.md")) << "only the program's own data is copied";
    EXPECT_EQ(first.copied.size(), 4u);

    Write(root + "/user/settings.qrl", "the user's own scene");
    fs::remove(root + "/user/tips.txt");
    WorkingFolder second = ChooseWorkingFolder(root + "/home", installed, root + "/user");
    EXPECT_EQ(Read(root + "/user/settings.qrl"), "the user's own scene");
    EXPECT_EQ(second.copied, std::vector<std::string>{"tips.txt"}) << "only what is missing comes back";
}

TEST_F(WorkingFolderTest, AFileInTheWayIsReportedNotOverwritten) {
    Write(root + "/user", "a file where the folder should be");
    WorkingFolder chosen = ChooseWorkingFolder(root + "/home", installed, root + "/user");
    EXPECT_FALSE(chosen.perUser);
    EXPECT_EQ(chosen.path, installed) << "the installed pictures are read where they are";
    ASSERT_TRUE(chosen.error);
    EXPECT_NE(chosen.error->find(root + "/user"), std::string::npos) << *chosen.error;
    EXPECT_EQ(Read(root + "/user"), "a file where the folder should be");
}

TEST_F(WorkingFolderTest, WithoutInstalledDataTheCurrentFolderStays) {
    WorkingFolder chosen = ChooseWorkingFolder(root + "/home", std::nullopt, root + "/user");
    EXPECT_EQ(chosen.path, root + "/home");
    EXPECT_FALSE(chosen.error);
    EXPECT_EQ(InstalledDataDir(root + "/nowhere/bin"), std::nullopt);
    fs::create_directories(root + "/bin");
    EXPECT_EQ(InstalledDataDir(root + "/bin"), fs::weakly_canonical(installed).string());
}

// Typed in a folder without the pictures, the program renders from the
// per-user folder, yet writes what it was asked for where it was started.
TEST_F(WorkingFolderTest, AHeadlessRunFromAnyFolderRendersAndWritesWhereItWasStarted) {
    using testing::Quoted;
    const auto run = testing::RunCommand("cd " + Quoted(root + "/home") + " && XDG_DATA_HOME=" + Quoted(root + "/xdg") +
                                         " " + Quoted(QUORBEL_BINARY) + " --snapshot out.png --frames 30");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("working in " + root + "/xdg/quorbel"), std::string::npos) << run.err;
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    ASSERT_TRUE(testing::ReadPng(root + "/home/out.png", width, height, rgb));
    EXPECT_GT(testing::CountLitPixels(rgb), width * height / 10) << "a black frame: the pictures were not found";
}

}  // namespace
}  // namespace quorbel
